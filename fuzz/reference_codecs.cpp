#include "reference_codecs.h"

#include <algorithm>
#include <cstdio>
#include <utility>
#include <vector>

namespace morvane::fuzz {
namespace {

struct Utf8Step {
  std::size_t length;  // bytes taken; for an ill-formed sequence its maximal subpart
  char32_t code_point;
  bool valid;
};

// One step of UTF-8 decoding by Unicode Table 3-7. With `allow_surrogates`
// the second byte after 0xED may also be 0xA0..0xBF.
Utf8Step next_utf8(std::span<const std::uint8_t> s, std::size_t i, bool allow_surrogates) {
  const std::uint8_t lead = s[i];
  if (lead < 0x80) return {1, lead, true};
  std::size_t length = 0;
  char32_t cp = 0;
  std::uint8_t low = 0x80;
  std::uint8_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    cp = lead & 0x1Fu;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    cp = lead & 0x0Fu;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED && !allow_surrogates) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    cp = lead & 0x07u;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {1, 0, false};
  }
  for (std::size_t k = 1; k < length; ++k) {
    if (i + k >= s.size() || s[i + k] < low || s[i + k] > high) return {k, 0, false};
    cp = (cp << 6) | (s[i + k] & 0x3Fu);
    low = 0x80;
    high = 0xBF;
  }
  return {length, cp, true};
}

std::span<const std::uint8_t> as_bytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

void append_utf16(char32_t cp, std::u16string& out) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    out += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
  }
}

void append_utf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool is_high(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool is_low(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// The code point at `i` and the units it takes; a lone surrogate is returned
// as itself with length 1.
std::pair<char32_t, std::size_t> code_point_at(std::u16string_view text, std::size_t i) {
  if (is_high(text[i]) && i + 1 < text.size() && is_low(text[i + 1])) {
    return {0x10000 + ((char32_t{text[i]} - 0xD800) << 10) + (text[i + 1] - 0xDC00), 2};
  }
  return {text[i], 1};
}

bool is_word(char16_t unit) {
  return (unit >= u'0' && unit <= u'9') || (unit >= u'a' && unit <= u'z') ||
         (unit >= u'A' && unit <= u'Z') || unit == u'_';
}

bool is_digit(char16_t unit) {
  return unit >= u'0' && unit <= u'9';
}

int hex_value(char16_t unit) {
  if (unit >= u'0' && unit <= u'9') return unit - u'0';
  if (unit >= u'a' && unit <= u'f') return unit - u'a' + 10;
  if (unit >= u'A' && unit <= u'F') return unit - u'A' + 10;
  return -1;
}

bool starts_with_at(std::u16string_view text, std::size_t i, std::u16string_view prefix,
                    bool ignore_case) {
  if (text.size() - i < prefix.size()) return false;
  for (std::size_t k = 0; k < prefix.size(); ++k) {
    char16_t unit = text[i + k];
    if (ignore_case && unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit + 32);
    if (unit != prefix[k]) return false;
  }
  return true;
}

// Hexadecimal digits to a code unit; marks the result undefined for any word
// character that is not a hexadecimal digit.
char16_t hex_unit(std::u16string_view digits, PassResult& result) {
  std::uint32_t value = 0;
  for (char16_t unit : digits) {
    const int digit = hex_value(unit);
    if (digit < 0) {
      result.defined = false;
      return 0;
    }
    value = (value * 16 + static_cast<std::uint32_t>(digit)) % 65536;
  }
  return static_cast<char16_t>(value);
}

std::size_t run_length(std::u16string_view text, std::size_t i, bool (*in_run)(char16_t)) {
  std::size_t j = i;
  while (j < text.size() && in_run(text[j])) ++j;
  return j - i;
}

}  // namespace

std::u16string units_from_bytes(std::span<const std::uint8_t> bytes) {
  std::u16string out;
  for (std::size_t i = 0; i < bytes.size();) {
    const Utf8Step step = next_utf8(bytes, i, true);
    if (step.valid) {
      append_utf16(step.code_point, out);
      i += step.length;
    } else {
      out += static_cast<char16_t>(bytes[i]);
      ++i;
    }
  }
  return out;
}

std::optional<std::size_t> first_invalid_utf8(std::string_view bytes) {
  const auto s = as_bytes(bytes);
  for (std::size_t i = 0; i < s.size();) {
    const Utf8Step step = next_utf8(s, i, false);
    if (!step.valid) return i;
    i += step.length;
  }
  return std::nullopt;
}

std::u16string decode_utf8_with_replacement(std::string_view bytes) {
  const auto s = as_bytes(bytes);
  std::u16string out;
  for (std::size_t i = 0; i < s.size();) {
    const Utf8Step step = next_utf8(s, i, false);
    append_utf16(step.valid ? step.code_point : U'\uFFFD', out);
    i += step.length;
  }
  return out;
}

std::string encode_utf8_with_replacement(std::u16string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size();) {
    auto [cp, length] = code_point_at(text, i);
    if (cp >= 0xD800 && cp <= 0xDFFF) cp = 0xFFFD;
    append_utf8(cp, out);
    i += length;
  }
  return out;
}

std::optional<std::size_t> first_lone_surrogate(std::u16string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto [cp, length] = code_point_at(text, i);
    if (cp >= 0xD800 && cp <= 0xDFFF) return i;
    i += length;
  }
  return std::nullopt;
}

std::size_t count_lone_surrogates(std::u16string_view text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size();) {
    const auto [cp, length] = code_point_at(text, i);
    if (cp >= 0xD800 && cp <= 0xDFFF) ++count;
    i += length;
  }
  return count;
}

std::optional<std::u16string> encode_uri_component(std::u16string_view text) {
  static constexpr std::u16string_view kMarks = u"-_.!~*'()";
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    const char16_t unit = text[i];
    const bool letter_or_digit =
        (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z') || is_digit(unit);
    if (letter_or_digit || kMarks.find(unit) != std::u16string_view::npos) {
      out += unit;
      ++i;
      continue;
    }
    const auto [cp, length] = code_point_at(text, i);
    if (cp >= 0xD800 && cp <= 0xDFFF) return std::nullopt;
    std::string bytes;
    append_utf8(cp, bytes);
    for (const char byte : bytes) {
      const auto b = static_cast<std::uint8_t>(byte);
      out += u'%';
      out += static_cast<char16_t>(kHex[b >> 4]);
      out += static_cast<char16_t>(kHex[b & 0xF]);
    }
    i += length;
  }
  return out;
}

UriDecoding decode_uri_component(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] != u'%') {
      out += text[i++];
      continue;
    }
    // Collect the whole run of escapes, then decode its bytes as UTF-8.
    const std::size_t run_start = i;
    std::vector<std::uint8_t> bytes;
    std::optional<std::size_t> malformed;
    while (i < text.size() && text[i] == u'%') {
      const int high = text.size() - i > 1 ? hex_value(text[i + 1]) : -1;
      const int low = text.size() - i > 2 ? hex_value(text[i + 2]) : -1;
      if (high < 0 || low < 0) {
        malformed = i;
        break;
      }
      bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
      i += 3;
    }
    for (std::size_t k = 0; k < bytes.size();) {
      const Utf8Step step = next_utf8(bytes, k, false);
      if (!step.valid) return {std::nullopt, run_start + 3 * k};
      append_utf16(step.code_point, out);
      k += step.length;
    }
    if (malformed) return {std::nullopt, *malformed};
  }
  return {std::move(out), 0};
}

PassResult reconvert_u_escapes(std::u16string_view text) {
  PassResult result;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t word = i + 2 <= text.size() ? i + 2 : text.size();
    if (starts_with_at(text, i, u"\\u", true) && word < text.size() && is_word(text[word])) {
      const std::size_t digits = std::min<std::size_t>(run_length(text, word, is_word), 4);
      result.text += hex_unit(text.substr(word, digits), result);
      i = word + digits;
    } else {
      result.text += text[i++];
    }
  }
  return result;
}

PassResult reconvert_hex_references(std::u16string_view text) {
  PassResult result;
  for (std::size_t i = 0; i < text.size();) {
    if (starts_with_at(text, i, u"&#x", true)) {
      const std::size_t word = i + 3;
      const std::size_t digits = run_length(text, word, is_word);
      if (digits >= 1 && digits <= 4 && word + digits < text.size() &&
          text[word + digits] == u';') {
        result.text += hex_unit(text.substr(word, digits), result);
        i = word + digits + 1;
        continue;
      }
    }
    result.text += text[i++];
  }
  return result;
}

PassResult reconvert_decimal_references(std::u16string_view text) {
  PassResult result;
  for (std::size_t i = 0; i < text.size();) {
    if (starts_with_at(text, i, u"&#", false)) {
      const std::size_t first = i + 2;
      const std::size_t digits = run_length(text, first, is_digit);
      if (digits >= 1 && digits <= 6 && first + digits < text.size() &&
          text[first + digits] == u';') {
        // A leading zero may mean octal to an old engine.
        if (digits > 1 && text[first] == u'0') result.defined = false;
        std::uint32_t value = 0;
        for (std::size_t k = first; k < first + digits; ++k) value = value * 10 + (text[k] - u'0');
        result.text += static_cast<char16_t>(value % 65536);
        i = first + digits + 1;
        continue;
      }
    }
    result.text += text[i++];
  }
  return result;
}

PassResult reconvert(std::u16string_view text) {
  const PassResult first = reconvert_u_escapes(text);
  const PassResult second = reconvert_hex_references(first.text);
  PassResult third = reconvert_decimal_references(second.text);
  third.defined = first.defined && second.defined && third.defined;
  return third;
}

bool is_ascii(std::u16string_view text) {
  for (char16_t unit : text) {
    if (unit > 0x7F) return false;
  }
  return true;
}

std::string dump(std::u16string_view text) {
  constexpr std::size_t kMax = 200;
  std::string out = "\"";
  char buffer[12];
  for (std::size_t i = 0; i < text.size() && i < kMax; ++i) {
    const char16_t unit = text[i];
    if (unit >= 0x20 && unit < 0x7F && unit != u'\\' && unit != u'"') {
      out += static_cast<char>(unit);
    } else {
      std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(unit));
      out += buffer;
    }
  }
  if (text.size() > kMax) out += "...";
  return out + "\" (" + std::to_string(text.size()) + " units)";
}

std::string dump_bytes(std::string_view bytes) {
  constexpr std::size_t kMax = 200;
  std::string out = "\"";
  char buffer[8];
  for (std::size_t i = 0; i < bytes.size() && i < kMax; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte >= 0x20 && byte < 0x7F && byte != '\\' && byte != '"') {
      out += static_cast<char>(byte);
    } else {
      std::snprintf(buffer, sizeof buffer, "\\x%02x", byte);
      out += buffer;
    }
  }
  if (bytes.size() > kMax) out += "...";
  return out + "\" (" + std::to_string(bytes.size()) + " bytes)";
}

}  // namespace morvane::fuzz
