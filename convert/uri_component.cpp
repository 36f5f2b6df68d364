#include "uri_component.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace morvane {
namespace {

// Output units for an ASCII code unit: 1 when unreserved, 3 for its escape.
constexpr std::array<std::uint8_t, 128> kAsciiWidth = [] {
  std::array<std::uint8_t, 128> width{};
  width.fill(3);
  for (char c = 'A'; c <= 'Z'; ++c) width[c] = 1;
  for (char c = 'a'; c <= 'z'; ++c) width[c] = 1;
  for (char c = '0'; c <= '9'; ++c) width[c] = 1;
  for (char c : std::string_view("-_.!~*'()")) width[c] = 1;
  return width;
}();

// Value of an ASCII hex digit, or 0xFF.
constexpr std::array<std::uint8_t, 128> kHexValue = [] {
  std::array<std::uint8_t, 128> value{};
  value.fill(0xFF);
  for (int i = 0; i < 10; ++i) value['0' + i] = static_cast<std::uint8_t>(i);
  for (int i = 0; i < 6; ++i) {
    value['a' + i] = static_cast<std::uint8_t>(10 + i);
    value['A' + i] = static_cast<std::uint8_t>(10 + i);
  }
  return value;
}();

constexpr char16_t kUpperHex[] = u"0123456789ABCDEF";

inline bool is_surrogate(char16_t c) {
  return (c & 0xF800) == 0xD800;
}
inline bool is_high_surrogate(char16_t c) {
  return (c & 0xFC00) == 0xD800;
}
inline bool is_low_surrogate(char16_t c) {
  return (c & 0xFC00) == 0xDC00;
}

inline unsigned hex_value(char16_t c) {
  return c < kHexValue.size() ? kHexValue[c] : 0xFF;
}

inline char16_t* put_byte(char16_t* out, std::uint32_t byte) {
  out[0] = u'%';
  out[1] = kUpperHex[byte >> 4];
  out[2] = kUpperHex[byte & 0xF];
  return out + 3;
}

// The byte of the escape at `s[at]` == '%', or -1 when two hex digits do not
// follow.
inline int escaped_byte(const char16_t* s, std::size_t size, std::size_t at) {
  if (at + 2 >= size) return -1;
  const unsigned high = hex_value(s[at + 1]);
  const unsigned low = hex_value(s[at + 2]);
  if ((high | low) > 0xF) return -1;
  return static_cast<int>(high << 4 | low);
}

// Result units contributed by an escape whose first hex digit is `c`: a byte
// below 0x80 or a lead byte gives one, a continuation none, a four-byte lead
// two (a surrogate pair). Exact for valid input.
constexpr std::array<std::uint8_t, 16> kUnitsByHighNibble = {1, 1, 1, 1, 1, 1, 1, 1,
                                                             0, 0, 0, 0, 1, 1, 1, 2};

// The size of the decoded text if decoding succeeds. It walks escapes exactly
// as the decoder does up to the first fault and so never counts fewer units
// than the decoder writes before it stops there.
std::size_t decoded_size(const char16_t* s, std::size_t size) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < size;) {
    if (s[i] != u'%') {
      ++units;
      ++i;
      continue;
    }
    if (i + 1 < size) {
      const unsigned high = hex_value(s[i + 1]);
      if (high <= 0xF) units += kUnitsByHighNibble[high];
    }
    i += 3;
  }
  return units;
}

}  // namespace

ConvertResult encode_uri_component(std::u16string_view text) {
  const char16_t* s = text.data();
  const std::size_t size = text.size();

  // First walk: validate surrogates and size the result exactly.
  std::size_t length = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const char16_t c = s[i];
    if (c < 0x80) {
      length += kAsciiWidth[c];
    } else if (c < 0x800) {
      length += 6;
    } else if (!is_surrogate(c)) {
      length += 9;
    } else if (is_high_surrogate(c) && i + 1 < size && is_low_surrogate(s[i + 1])) {
      length += 12;
      ++i;
    } else {
      return ConvertResult::failure(ConvertError::lone_surrogate, i);
    }
  }

  std::u16string out(length, u'\0');
  char16_t* p = out.data();
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint32_t c = s[i];
    if (c < 0x80) {
      if (kAsciiWidth[c] == 1) {
        *p++ = static_cast<char16_t>(c);
      } else {
        p = put_byte(p, c);
      }
    } else if (c < 0x800) {
      p = put_byte(p, 0xC0 | c >> 6);
      p = put_byte(p, 0x80 | (c & 0x3F));
    } else if (!is_surrogate(static_cast<char16_t>(c))) {
      p = put_byte(p, 0xE0 | c >> 12);
      p = put_byte(p, 0x80 | (c >> 6 & 0x3F));
      p = put_byte(p, 0x80 | (c & 0x3F));
    } else {
      const std::uint32_t code_point = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00u);
      p = put_byte(p, 0xF0 | code_point >> 18);
      p = put_byte(p, 0x80 | (code_point >> 12 & 0x3F));
      p = put_byte(p, 0x80 | (code_point >> 6 & 0x3F));
      p = put_byte(p, 0x80 | (code_point & 0x3F));
    }
  }
  return ConvertResult::success(std::move(out));
}

ConvertResult decode_uri_component(std::u16string_view text) {
  const char16_t* s = text.data();
  const std::size_t size = text.size();
  if (text.find(u'%') == std::u16string_view::npos) {
    return ConvertResult::success(std::u16string(text));
  }

  std::u16string out(decoded_size(s, size), u'\0');
  char16_t* p = out.data();
  for (std::size_t i = 0; i < size;) {
    if (s[i] != u'%') {
      *p++ = s[i++];
      continue;
    }
    const int lead = escaped_byte(s, size, i);
    if (lead < 0) return ConvertResult::failure(ConvertError::malformed_percent_escape, i);
    if (lead < 0x80) {
      *p++ = static_cast<char16_t>(lead);
      i += 3;
      continue;
    }

    int continuations = 0;
    std::uint32_t code_point = 0;
    std::uint32_t smallest = 0;  // below this the form is overlong
    if (lead < 0xC0 || lead > 0xF4) {
      return ConvertResult::failure(ConvertError::invalid_utf8_lead_byte, i);
    } else if (lead < 0xE0) {
      continuations = 1;
      code_point = lead & 0x1F;
      smallest = 0x80;
    } else if (lead < 0xF0) {
      continuations = 2;
      code_point = lead & 0x0F;
      smallest = 0x800;
    } else {
      continuations = 3;
      code_point = lead & 0x07;
      smallest = 0x10000;
    }

    std::size_t at = i + 3;
    for (; continuations > 0; --continuations, at += 3) {
      if (at >= size || s[at] != u'%') {
        return ConvertResult::failure(ConvertError::incomplete_utf8_sequence, at);
      }
      const int byte = escaped_byte(s, size, at);
      if (byte < 0) return ConvertResult::failure(ConvertError::malformed_percent_escape, at);
      if ((byte & 0xC0) != 0x80) {
        return ConvertResult::failure(ConvertError::invalid_utf8_continuation, at);
      }
      code_point = code_point << 6 | (byte & 0x3F);
    }
    if (code_point < smallest) {
      return ConvertResult::failure(ConvertError::overlong_utf8_sequence, i);
    }
    if (code_point >= 0xD800 && code_point <= 0xDFFF) {
      return ConvertResult::failure(ConvertError::encoded_surrogate, i);
    }
    if (code_point > 0x10FFFF) return ConvertResult::failure(ConvertError::code_point_too_large, i);

    if (code_point < 0x10000) {
      *p++ = static_cast<char16_t>(code_point);
    } else {
      *p++ = static_cast<char16_t>(0xD7C0 + (code_point >> 10));
      *p++ = static_cast<char16_t>(0xDC00 | (code_point & 0x3FF));
    }
    i = at;
  }
  return ConvertResult::success(std::move(out));
}

}  // namespace morvane
