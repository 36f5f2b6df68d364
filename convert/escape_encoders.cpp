#include "escape_encoders.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace morvane {
namespace {

constexpr char16_t kHexDigits[] = u"0123456789abcdef";

// Writes the four lower-case hex digits of `unit` at `out`.
inline char16_t* put_hex4(char16_t* out, char16_t unit) {
  out[0] = kHexDigits[(unit >> 12) & 0xF];
  out[1] = kHexDigits[(unit >> 8) & 0xF];
  out[2] = kHexDigits[(unit >> 4) & 0xF];
  out[3] = kHexDigits[unit & 0xF];
  return out + 4;
}

// "00" to "99": two digits per division.
constexpr auto kDigitPairs = [] {
  std::array<char16_t, 200> pairs{};
  for (int i = 0; i < 100; ++i) {
    pairs[2 * i] = static_cast<char16_t>(u'0' + i / 10);
    pairs[2 * i + 1] = static_cast<char16_t>(u'0' + i % 10);
  }
  return pairs;
}();

// Writes the decimal digits of `value` so that the last one ends before `end`.
inline void put_decimal(char16_t* end, std::uint32_t value) {
  while (value >= 100) {
    const std::uint32_t pair = value % 100 * 2;
    *--end = kDigitPairs[pair + 1];
    *--end = kDigitPairs[pair];
    value /= 100;
  }
  if (value >= 10) {
    *--end = kDigitPairs[value * 2 + 1];
    *--end = kDigitPairs[value * 2];
  } else {
    *--end = static_cast<char16_t>(u'0' + value);
  }
}

inline std::size_t decimal_width(char16_t unit) {
  return unit < 10 ? 1 : unit < 100 ? 2 : unit < 1000 ? 3 : unit < 10000 ? 4 : 5;
}

// Encoders with a fixed-width escape share this: the output is sized once.
template <std::size_t kWidth, typename Put>
std::u16string encode_fixed(std::u16string_view text, Put put) {
  std::u16string out(text.size() * kWidth, u'\0');
  char16_t* p = out.data();
  for (char16_t unit : text) p = put(p, unit);
  return out;
}

}  // namespace

std::u16string encode_u_escapes(std::u16string_view text) {
  return encode_fixed<6>(text, [](char16_t* p, char16_t unit) {
    p[0] = u'\\';
    p[1] = u'u';
    return put_hex4(p + 2, unit);
  });
}

std::u16string encode_hex_references(std::u16string_view text) {
  return encode_fixed<8>(text, [](char16_t* p, char16_t unit) {
    p[0] = u'&';
    p[1] = u'#';
    p[2] = u'x';
    p = put_hex4(p + 3, unit);
    *p = u';';
    return p + 1;
  });
}

std::u16string encode_decimal_references(std::u16string_view text) {
  std::size_t size = 0;
  for (char16_t unit : text) size += 3 + decimal_width(unit);
  std::u16string out(size, u'\0');
  char16_t* p = out.data();
  for (char16_t unit : text) {
    *p++ = u'&';
    *p++ = u'#';
    const std::size_t width = decimal_width(unit);
    put_decimal(p + width, unit);
    p += width;
    *p++ = u';';
  }
  return out;
}

}  // namespace morvane
