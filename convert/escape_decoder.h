// The escape decoder: "\u" escapes, hexadecimal and decimal character
// references back to characters, in three passes over the whole text.
#pragma once

#include <string>
#include <string_view>

namespace morvane {

// Pass 1 decodes "\u" (or "\U") and one to four word characters; pass 2
// "&#x" (or "&#X"), one to four word characters and ";"; pass 3 "&#", one to
// six decimal digits and ";". Each pass runs over the whole output of the one
// before, takes the leftmost match, never rescans what it produced, and turns a
// match into one code unit (decimal values modulo 65536). A match whose word
// characters are not all hexadecimal digits stays as it stands.
//   "\u4e2d&#x6587;&#65;" -> "中文A"    "\u12345" -> U+1234 "5"    "C:\users" unchanged
std::u16string decode_escapes(std::u16string_view text);

}  // namespace morvane
