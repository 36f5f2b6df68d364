#include "escape_encoders.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

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

// All five decimal digits of a code unit, leading zeros included; the array
// is padded so that five units can be copied from any start.
struct FiveDigits {
  char16_t digits[10] = {};
};

inline FiveDigits five_digits(char16_t unit) {
  FiveDigits out;
  const std::uint32_t high = unit / 10000;  // 0 to 6
  const std::uint32_t low = unit % 10000;
  const std::uint32_t upper_pair = low / 100 * 2;
  const std::uint32_t lower_pair = low % 100 * 2;
  out.digits[0] = static_cast<char16_t>(u'0' + high);
  out.digits[1] = kDigitPairs[upper_pair];
  out.digits[2] = kDigitPairs[upper_pair + 1];
  out.digits[3] = kDigitPairs[lower_pair];
  out.digits[4] = kDigitPairs[lower_pair + 1];
  return out;
}

// Branch-free: CJK and ASCII alternate unpredictably in real text.
inline std::size_t decimal_width(char16_t unit) {
  return std::size_t{1} + (unit >= 10) + (unit >= 100) + (unit >= 1000) + (unit >= 10000);
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
  // Each escape writes five digits and moves on by its width; the slack takes
  // the overhang of the last one.
  constexpr std::size_t kSlack = 4;
  std::u16string out(size + kSlack, u'\0');
  char16_t* p = out.data();
  for (char16_t unit : text) {
    const std::size_t width = decimal_width(unit);
    const FiveDigits digits = five_digits(unit);
    p[0] = u'&';
    p[1] = u'#';
    std::memcpy(p + 2, digits.digits + (5 - width), 5 * sizeof(char16_t));
    p[2 + width] = u';';
    p += 3 + width;
  }
  out.resize(size);
  return out;
}

}  // namespace morvane
