#include "text_codec.h"

#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <stdexcept>

namespace morvane {
namespace {

constexpr UChar32 kReplacement = 0xFFFD;

// ICU takes int32_t lengths; larger inputs go through in chunks cut at
// character boundaries.
constexpr std::size_t kChunk = std::size_t{1} << 28;

// `strict`: fail on bytes that do not form UTF-8 instead of replacing them.
bool append_utf8_to_utf16(std::string_view utf8, std::u16string& out, bool strict) {
  const std::size_t base = out.size();
  // UTF-16 never needs more units than UTF-8 has bytes.
  out.resize(base + utf8.size());
  int32_t written = 0;
  UErrorCode status = U_ZERO_ERROR;
  const auto capacity = static_cast<int32_t>(utf8.size());
  if (strict) {
    u_strFromUTF8(out.data() + base, capacity, &written, utf8.data(), capacity, &status);
    if (status == U_INVALID_CHAR_FOUND) return false;
  } else {
    u_strFromUTF8WithSub(out.data() + base, capacity, &written, utf8.data(), capacity, kReplacement,
                         nullptr, &status);
  }
  if (U_FAILURE(status)) throw std::runtime_error("UTF-8 to UTF-16 conversion failed");
  out.resize(base + static_cast<std::size_t>(written));
  return true;
}

std::optional<std::u16string> convert_utf8_in_chunks(std::string_view utf8, bool strict) {
  std::u16string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    std::size_t cut = std::min(utf8.size(), kChunk);
    // Back up to a lead byte so that no character straddles two chunks; a
    // character has at most three trail bytes.
    for (int back = 0;
         back < 3 && cut < utf8.size() && U8_IS_TRAIL(static_cast<uint8_t>(utf8[cut])); ++back) {
      --cut;
    }
    if (!append_utf8_to_utf16(utf8.substr(0, cut), out, strict)) return std::nullopt;
    utf8.remove_prefix(cut);
  }
  return out;
}

std::size_t append_utf16_to_utf8(std::u16string_view text, std::string& out) {
  const std::size_t base = out.size();
  // Three bytes per unit covers every case: a pair of four bytes is two units.
  out.resize(base + text.size() * 3);
  std::size_t replacements = 0;
  const std::size_t written = convert_utf16_to_utf8_with_replacement(
      text, std::span<char>(out).subspan(base), replacements);
  out.resize(base + written);
  return replacements;
}

}  // namespace

std::size_t convert_utf16_to_utf8_with_replacement(std::u16string_view text, std::span<char> out,
                                                   std::size_t& replacements) {
  if (text.size() > kChunk || out.size() < text.size() * 3) {
    throw std::length_error("UTF-8 output buffer too small");
  }
  // An ASCII prefix is copied block by block (the escapes are all ASCII);
  // ICU transcodes whatever follows it.
  constexpr std::size_t kBlock = 16;
  std::size_t ascii = 0;
  while (ascii + kBlock <= text.size()) {
    char16_t any = 0;
    for (std::size_t i = 0; i < kBlock; ++i) any |= text[ascii + i];
    if (any >= 0x80) break;
    for (std::size_t i = 0; i < kBlock; ++i) out[ascii + i] = static_cast<char>(text[ascii + i]);
    ascii += kBlock;
  }
  const std::u16string_view rest = text.substr(ascii);
  int32_t written = 0;
  int32_t substitutions = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data() + ascii, static_cast<int32_t>(rest.size() * 3), &written,
                     rest.data(), static_cast<int32_t>(rest.size()), kReplacement, &substitutions,
                     &status);
  if (U_FAILURE(status)) throw std::runtime_error("UTF-16 to UTF-8 conversion failed");
  replacements += static_cast<std::size_t>(substitutions);
  return ascii + static_cast<std::size_t>(written);
}

std::u16string convert_utf8_to_utf16_with_replacement(std::string_view utf8) {
  return *convert_utf8_in_chunks(utf8, false);
}

std::optional<std::u16string> convert_utf8_to_utf16(std::string_view utf8) {
  return convert_utf8_in_chunks(utf8, true);
}

Utf8Output convert_utf16_to_utf8_with_replacement(std::u16string_view text) {
  Utf8Output out;
  out.text.reserve(text.size());
  while (!text.empty()) {
    std::size_t cut = std::min(text.size(), kChunk);
    if (cut < text.size() && U16_IS_LEAD(text[cut - 1])) --cut;  // keep a pair together
    out.replacements += append_utf16_to_utf8(text.substr(0, cut), out.text);
    text.remove_prefix(cut);
  }
  return out;
}

std::u16string convert_narrow_to_utf16(std::string_view narrow) {
  return convert_utf8_to_utf16_with_replacement(narrow.substr(0, narrow.find('\0')));
}

std::string convert_utf16_to_narrow(std::u16string_view text) {
  return convert_utf16_to_utf8_with_replacement(text.substr(0, text.find(u'\0'))).text;
}

std::optional<std::size_t> find_invalid_utf8(std::string_view bytes) {
  const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
  const std::size_t length = bytes.size();
  std::size_t i = 0;
  while (i < length) {
    if (s[i] < 0x80) {  // ASCII fast path
      ++i;
      continue;
    }
    const std::size_t start = i;
    UChar32 c;
    // U8_NEXT takes a signed length; walk long inputs in windows.
    const std::size_t window = std::min<std::size_t>(length - start, INT32_MAX);
    int32_t offset = 0;
    U8_NEXT(s + start, offset, static_cast<int32_t>(window), c);
    if (c < 0) return start;
    i = start + static_cast<std::size_t>(offset);
  }
  return std::nullopt;
}

}  // namespace morvane
