// Slow, obviously correct references that the fuzz checks compare against.
// Written from the standards' tables, sharing no code with convert/ or host/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace morvane::fuzz {

// Maps fuzz bytes to UTF-16 so that every string is reachable while ASCII
// seeds stay readable: well-formed UTF-8 decodes as usual, three-byte forms
// of U+D800..U+DFFF give lone surrogates, and any other byte b gives the
// unit b.
std::u16string units_from_bytes(std::span<const std::uint8_t> bytes);

// The offset of the first byte that is not part of well-formed UTF-8
// (Unicode Table 3-7), or nothing.
std::optional<std::size_t> first_invalid_utf8(std::string_view bytes);

// UTF-8 to UTF-16 with one U+FFFD per maximal ill-formed subpart.
std::u16string decode_utf8_with_replacement(std::string_view bytes);

// UTF-16 to UTF-8 with each lone surrogate written as U+FFFD.
std::string encode_utf8_with_replacement(std::u16string_view text);

// Index of the first surrogate without its partner, or nothing.
std::optional<std::size_t> first_lone_surrogate(std::u16string_view text);
std::size_t count_lone_surrogates(std::u16string_view text);

// encodeURIComponent: nothing for a lone surrogate.
std::optional<std::u16string> encode_uri_component(std::u16string_view text);

// decodeURIComponent: no text where the input is not a valid encoding. Each
// run of "%XX" escapes must spell well-formed UTF-8 on its own.
struct UriDecoding {
  std::optional<std::u16string> text;
  // On failure, the earliest unit a decoder may blame: the "%" that starts the
  // malformed escape or the UTF-8 sequence that cannot be completed.
  std::size_t failure = 0;
};
UriDecoding decode_uri_component(std::u16string_view text);

// The three passes of "reconvert". `defined` turns false when a match has
// digits whose value the procedure leaves to the implementer (word characters
// that are not hexadecimal digits, decimal digits with a leading zero).
struct PassResult {
  std::u16string text;
  bool defined = true;
};
PassResult reconvert_u_escapes(std::u16string_view text);           // "\uXXXX"
PassResult reconvert_hex_references(std::u16string_view text);      // "&#xXXXX;"
PassResult reconvert_decimal_references(std::u16string_view text);  // "&#NNNNNN;"
PassResult reconvert(std::u16string_view text);                     // all three, in that order

bool is_ascii(std::u16string_view text);

// "\u4e2d"-style dump for failure messages; long texts are cut.
std::string dump(std::u16string_view text);
std::string dump_bytes(std::string_view bytes);

}  // namespace morvane::fuzz
