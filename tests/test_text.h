// Shared helpers for tests: readable UTF-16 literals and diagnostics.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace morvane::test {

// "\u4e2d" style dump of a UTF-16 string, for failure messages.
inline std::string dump(std::u16string_view text) {
  std::string out;
  char buffer[8];
  for (char16_t unit : text) {
    if (unit >= 0x20 && unit < 0x7F) {
      out += static_cast<char>(unit);
    } else {
      std::snprintf(buffer, sizeof buffer, "<%04x>", static_cast<unsigned>(unit));
      out += buffer;
    }
  }
  return out;
}

}  // namespace morvane::test
