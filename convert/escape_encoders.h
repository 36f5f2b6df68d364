// The three escape encoders: one escape per UTF-16 code unit, surrogates
// included, lower-case hexadecimal digits.
#pragma once

#include <string>
#include <string_view>

namespace morvane {

// "\u" + four hex digits per unit: "中A" -> "\u4e2d\u0041".
std::u16string encode_u_escapes(std::u16string_view text);

// "&#" + decimal value + ";" per unit: "中A" -> "&#20013;&#65;".
std::u16string encode_decimal_references(std::u16string_view text);

// "&#x" + four hex digits + ";" per unit: "中A" -> "&#x4e2d;&#x0041;".
std::u16string encode_hex_references(std::u16string_view text);

}  // namespace morvane
