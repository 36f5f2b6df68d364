// The URI component codec: ECMAScript's encodeURIComponent and
// decodeURIComponent, strict, over UTF-16.
#pragma once

#include <string_view>

#include "convert_result.h"

namespace morvane {

// Every code unit outside A-Z a-z 0-9 - _ . ! ~ * ' ( ) becomes the UTF-8
// bytes of its character as "%" and two upper-case hex digits; a surrogate
// pair is one character. Fails with lone_surrogate at a surrogate without its
// partner.
//   "中 a&b" -> "%E4%B8%AD%20a%26b"
ConvertResult encode_uri_component(std::u16string_view text);

// Every "%" and two hex digits (either case) is one UTF-8 byte; the bytes of a
// character must follow each other as escapes. Everything else, "+" included,
// is copied. Fails at the offending "%" (or where a continuation escape is
// missing) for a "%" without two hex digits, a byte that cannot lead, a
// sequence cut short, a bad continuation byte, an overlong form, an encoded
// surrogate or a code point above U+10FFFF; the last three are reported at the
// "%" that leads the sequence.
//   "%e4%b8%ad+%26" -> "中+&"    "%E4%B8" -> incomplete_utf8_sequence at 6
ConvertResult decode_uri_component(std::u16string_view text);

}  // namespace morvane
