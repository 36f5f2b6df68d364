// The crossing between narrow text (UTF-8) and UTF-16 strings.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace morvane {

// Narrow text to UTF-16, up to the first zero byte; bytes that do not form
// UTF-8 become U+FFFD.
std::u16string convert_narrow_to_utf16(std::string_view narrow);

// UTF-16 to narrow text, ending at the first U+0000; a lone surrogate becomes
// U+FFFD.
std::string convert_utf16_to_narrow(std::u16string_view text);

// Whole-text forms for front ends that must lose nothing: U+0000 is an
// ordinary character here.
std::u16string convert_utf8_to_utf16_with_replacement(std::string_view utf8);

// Strict: nothing when `utf8` is not valid UTF-8 (find_invalid_utf8 says where).
std::optional<std::u16string> convert_utf8_to_utf16(std::string_view utf8);

struct Utf8Output {
  std::string text;
  std::size_t replacements = 0;  // lone surrogates written as U+FFFD
};
Utf8Output convert_utf16_to_utf8_with_replacement(std::u16string_view text);

// The same into a caller's buffer, for front ends that write a large text in
// slices: `out` must hold 3 bytes per unit of `text` (at most 2^28 units).
// Returns the bytes written; adds the lone surrogates replaced to `replacements`.
std::size_t convert_utf16_to_utf8_with_replacement(std::u16string_view text, std::span<char> out,
                                                   std::size_t& replacements);

// The byte offset of the first byte that does not form UTF-8, or nothing for
// valid input.
std::optional<std::size_t> find_invalid_utf8(std::string_view bytes);

}  // namespace morvane
