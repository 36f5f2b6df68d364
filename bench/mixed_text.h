// Deterministic mixed CJK/ASCII text for benchmarks, the same on every run.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace morvane::bench {

inline std::u16string mixed_text(std::size_t units) {
  std::u16string text(units, u' ');
  std::uint32_t state = 20261211;
  for (std::size_t i = 0; i < units; ++i) {
    state = state * 1664525u + 1013904223u;  // LCG: cheap and reproducible
    const std::uint32_t r = state >> 8;
    if (r % 2 == 0) {
      text[i] = static_cast<char16_t>(0x4E00 + r / 2 % 0x51A6);  // CJK unified ideographs
    } else {
      text[i] = static_cast<char16_t>(0x20 + r / 2 % 0x5F);  // printable ASCII
    }
  }
  return text;
}

}  // namespace morvane::bench
