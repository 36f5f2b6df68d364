// Results and failures shared by every conversion procedure.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace morvane {

enum class ConvertError {
  ok,                         // no failure
  malformed_percent_escape,   // "%" not followed by two hexadecimal digits
  invalid_utf8_lead_byte,     // a byte that cannot start a UTF-8 sequence
  incomplete_utf8_sequence,   // a UTF-8 sequence cut short
  invalid_utf8_continuation,  // a continuation byte outside 0x80..0xBF
  overlong_utf8_sequence,     // a code point written with more bytes than it needs
  encoded_surrogate,          // a UTF-8 sequence that encodes U+D800..U+DFFF
  code_point_too_large,       // a UTF-8 sequence above U+10FFFF
  lone_surrogate,             // a surrogate code unit without its partner
};

// A short English phrase for messages ("incomplete UTF-8 sequence").
std::string_view to_string(ConvertError error);

// The outcome of one procedure run. On failure `text` is empty and `position`
// is the index of the offending code unit in the input.
struct ConvertResult {
  std::u16string text;
  ConvertError error = ConvertError::ok;
  std::size_t position = 0;

  [[nodiscard]] bool ok() const { return error == ConvertError::ok; }

  static ConvertResult success(std::u16string text) { return {std::move(text)}; }
  static ConvertResult failure(ConvertError error, std::size_t position) {
    return {{}, error, position};
  }
};

}  // namespace morvane
