#include "convert_result.h"

namespace morvane {

std::string_view to_string(ConvertError error) {
  switch (error) {
    case ConvertError::ok:
      return "no error";
    case ConvertError::malformed_percent_escape:
      return "'%' not followed by two hexadecimal digits";
    case ConvertError::invalid_utf8_lead_byte:
      return "invalid UTF-8 lead byte";
    case ConvertError::incomplete_utf8_sequence:
      return "incomplete UTF-8 sequence";
    case ConvertError::invalid_utf8_continuation:
      return "invalid UTF-8 continuation byte";
    case ConvertError::overlong_utf8_sequence:
      return "overlong UTF-8 sequence";
    case ConvertError::encoded_surrogate:
      return "encoded surrogate";
    case ConvertError::code_point_too_large:
      return "code point above U+10FFFF";
    case ConvertError::lone_surrogate:
      return "lone surrogate";
  }
  return "unknown error";
}

}  // namespace morvane
