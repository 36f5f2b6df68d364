// Property checks shared by the libFuzzer targets and the regression test
// that replays kept inputs: one check per target, looked up by name.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace morvane::fuzz {

struct CheckResult {
  bool available = true;  // false when a procedure the check needs is not built in
  std::string failure;    // the first property that did not hold; empty when all held

  [[nodiscard]] bool passed() const { return available && failure.empty(); }
};

struct FuzzCheck {
  std::string_view target;  // also the folder name under fuzz/corpus and fuzz/regressions
  CheckResult (*check)(std::span<const std::uint8_t> data);
};

std::span<const FuzzCheck> fuzz_checks();

// The check for `target`, or null.
const FuzzCheck* find_fuzz_check(std::string_view target);

}  // namespace morvane::fuzz
