#include "escape_decoder.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace morvane {
namespace {

// Character classes of ASCII; everything above 0x7F is in none of them.
enum : std::uint8_t { kWord = 1, kHex = 2, kDecimal = 4 };

constexpr std::array<std::uint8_t, 128> kClasses = [] {
  std::array<std::uint8_t, 128> classes{};
  for (char c = '0'; c <= '9'; ++c) classes[c] = kWord | kHex | kDecimal;
  for (char c = 'a'; c <= 'z'; ++c) classes[c] = kWord | (c <= 'f' ? kHex : 0);
  for (char c = 'A'; c <= 'Z'; ++c) classes[c] = kWord | (c <= 'F' ? kHex : 0);
  classes['_'] = kWord;
  return classes;
}();

inline std::uint8_t class_of(char16_t c) {
  return c < kClasses.size() ? kClasses[c] : 0;
}

// `c` is known to be a hexadecimal digit.
inline std::uint32_t hex_value(char16_t c) {
  return c <= u'9' ? c - u'0' : (c | 0x20) - u'a' + 10;
}

// "u" or "U", "x" or "X": setting bit 5 folds exactly those two units together.
inline bool is_letter(char16_t c, char16_t lower) {
  return (c | 0x20) == lower;
}

struct Match {
  std::size_t length = 0;  // 0: no match here
  char16_t unit = 0;
  bool keep = false;  // word characters that are not all hex: leave the match as it is
};

// The match of the pattern's word-character group at `s[from, size)`: up to
// `max_run` word characters, reading the hex digits among them as a number.
struct Run {
  std::size_t length = 0;
  std::uint32_t value = 0;
  bool all_hex = true;
};

inline Run word_run(const char16_t* s, std::size_t from, std::size_t size, std::size_t max_run) {
  Run run;
  const std::size_t end = std::min(size, from + max_run);
  for (std::size_t i = from; i < end; ++i) {
    const std::uint8_t cls = class_of(s[i]);
    if ((cls & kWord) == 0) break;
    if ((cls & kHex) != 0) {
      run.value = run.value * 16 + hex_value(s[i]);
    } else {
      run.all_hex = false;
    }
    ++run.length;
  }
  return run;
}

// "\u" and one to four word characters; greedy, so a fifth one is plain text.
Match match_u_escape(const char16_t* s, std::size_t size, std::size_t at) {
  if (at + 2 >= size || !is_letter(s[at + 1], u'u')) return {};
  const Run run = word_run(s, at + 2, size, 4);
  if (run.length == 0) return {};
  return {2 + run.length, static_cast<char16_t>(run.value), !run.all_hex};
}

// "&#x", one to four word characters, ";". A fifth word character leaves no
// room for the ";", so a longer run is no match at all.
Match match_hex_reference(const char16_t* s, std::size_t size, std::size_t at) {
  if (at + 3 >= size || s[at + 1] != u'#' || !is_letter(s[at + 2], u'x')) return {};
  const Run run = word_run(s, at + 3, size, 5);
  const std::size_t semicolon = at + 3 + run.length;
  if (run.length == 0 || run.length > 4 || semicolon >= size || s[semicolon] != u';') return {};
  return {semicolon + 1 - at, static_cast<char16_t>(run.value), !run.all_hex};
}

// "&#", one to six decimal digits, ";"; leading zeros are decimal too.
Match match_decimal_reference(const char16_t* s, std::size_t size, std::size_t at) {
  if (at + 2 >= size || s[at + 1] != u'#') return {};
  std::size_t i = at + 2;
  const std::size_t end = std::min(size, i + 7);
  std::uint32_t value = 0;
  for (; i < end && (class_of(s[i]) & kDecimal) != 0; ++i) value = value * 10 + (s[i] - u'0');
  const std::size_t digits = i - (at + 2);
  if (digits == 0 || digits > 6 || i >= size || s[i] != u';') return {};
  return {i + 1 - at, static_cast<char16_t>(value % 65536)};
}

// One pass over `s[0, size)`, in place: a match never grows, so the write
// position never overtakes the read position. Text between replacements is
// moved in blocks. Every position is looked at once plus a lookahead of at
// most nine units, so the pass is linear on any input. Returns the new size.
template <char16_t kTrigger, Match (*kMatch)(const char16_t*, std::size_t, std::size_t)>
std::size_t decode_pass(char16_t* s, std::size_t size) {
  std::size_t write = 0;  // end of the decoded prefix
  std::size_t kept = 0;   // start of the text not yet moved to `write`
  std::size_t read = 0;
  while (true) {
    const std::size_t at = static_cast<std::size_t>(std::find(s + read, s + size, kTrigger) - s);
    if (at == size) break;
    const Match match = kMatch(s, size, at);
    if (match.length == 0) {
      read = at + 1;
      continue;
    }
    read = at + match.length;
    if (match.keep) continue;
    if (write != kept) std::memmove(s + write, s + kept, (at - kept) * sizeof(char16_t));
    write += at - kept;
    s[write++] = match.unit;
    kept = read;
  }
  if (write == kept) return size;  // nothing replaced
  std::memmove(s + write, s + kept, (size - kept) * sizeof(char16_t));
  return write + (size - kept);
}

}  // namespace

std::u16string decode_escapes(std::u16string_view text) {
  // The result is never longer than the input: one buffer serves all passes.
  std::u16string out(text);
  std::size_t size = out.size();
  size = decode_pass<u'\\', match_u_escape>(out.data(), size);
  size = decode_pass<u'&', match_hex_reference>(out.data(), size);
  size = decode_pass<u'&', match_decimal_reference>(out.data(), size);
  out.resize(size);
  return out;
}

}  // namespace morvane
