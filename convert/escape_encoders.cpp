#include "escape_encoders.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace morvane {
namespace {

// The four lower-case hex digits of every code unit (512 KiB, built once on
// first use): one 8-byte copy per unit instead of four look-ups.
struct HexDigitsTable {
  char16_t digits[65536][4];

  HexDigitsTable() {
    constexpr char16_t kHexDigits[] = u"0123456789abcdef";
    for (std::uint32_t unit = 0; unit < 65536; ++unit) {
      for (int i = 0; i < 4; ++i) digits[unit][i] = kHexDigits[(unit >> (12 - 4 * i)) & 0xF];
    }
  }
};

const HexDigitsTable& hex_digits_table() {
  static const HexDigitsTable table;
  return table;
}

// Branch-free: CJK and ASCII alternate unpredictably in real text.
inline std::size_t decimal_width(char16_t unit) {
  return std::size_t{1} + (unit >= 10) + (unit >= 100) + (unit >= 1000) + (unit >= 10000);
}

// Encoders whose escape is a prefix, four hex digits and a suffix share this;
// the output is sized once. Literal arguments keep every copy a fixed size.
template <std::size_t kPrefix, std::size_t kSuffix>
std::u16string encode_hex4(std::u16string_view text, const char16_t (&prefix)[kPrefix],
                           const char16_t (&suffix)[kSuffix]) {
  constexpr std::size_t kPrefixUnits = kPrefix - 1;  // less the terminating zero
  constexpr std::size_t kSuffixUnits = kSuffix - 1;
  constexpr std::size_t kWidth = kPrefixUnits + 4 + kSuffixUnits;
  std::u16string out(text.size() * kWidth, u'\0');
  const HexDigitsTable& table = hex_digits_table();
  char16_t* p = out.data();
  for (char16_t unit : text) {
    std::memcpy(p, prefix, kPrefixUnits * sizeof(char16_t));
    std::memcpy(p + kPrefixUnits, table.digits[unit], sizeof table.digits[unit]);
    std::memcpy(p + kPrefixUnits + 4, suffix, kSuffixUnits * sizeof(char16_t));
    p += kWidth;
  }
  return out;
}

}  // namespace

std::u16string encode_u_escapes(std::u16string_view text) {
  return encode_hex4(text, u"\\u", u"");
}

std::u16string encode_hex_references(std::u16string_view text) {
  return encode_hex4(text, u"&#x", u";");
}

namespace {

// Every decimal reference, "&#0;" to "&#65535;", padded to eight units:
// one 16-byte copy per code unit instead of divisions. Built once, on first
// use (1 MiB, well under a millisecond).
struct DecimalReferenceTable {
  static constexpr std::size_t kUnits = 8;
  std::array<char16_t, kUnits> escape[65536];

  DecimalReferenceTable() {
    for (std::uint32_t unit = 0; unit < 65536; ++unit) {
      std::array<char16_t, kUnits>& e = escape[unit];
      e.fill(u'\0');
      e[0] = u'&';
      e[1] = u'#';
      const std::size_t width = decimal_width(static_cast<char16_t>(unit));
      std::uint32_t value = unit;
      for (std::size_t i = width; i-- > 0; value /= 10)
        e[2 + i] = static_cast<char16_t>(u'0' + value % 10);
      e[2 + width] = u';';
    }
  }
};

const DecimalReferenceTable& decimal_reference_table() {
  static const DecimalReferenceTable table;
  return table;
}

}  // namespace

std::u16string encode_decimal_references(std::u16string_view text) {
  std::size_t size = 0;
  for (char16_t unit : text) size += 3 + decimal_width(unit);
  const DecimalReferenceTable& table = decimal_reference_table();
  // Each escape is copied whole and the write moves on by its length; the
  // slack takes the overhang of the last one.
  constexpr std::size_t kSlack = DecimalReferenceTable::kUnits - 4;
  std::u16string out(size + kSlack, u'\0');
  char16_t* p = out.data();
  for (char16_t unit : text) {
    std::memcpy(p, table.escape[unit].data(), sizeof table.escape[unit]);
    p += 3 + decimal_width(unit);
  }
  out.resize(size);
  return out;
}

}  // namespace morvane
