// One libFuzzer target; MORVANE_FUZZ_TARGET names the check it runs. A
// property that does not hold aborts, so libFuzzer keeps the input.
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "fuzz_checks.h"

#ifndef MORVANE_FUZZ_TARGET
#error "define MORVANE_FUZZ_TARGET to the name of a check"
#endif

namespace {

const morvane::fuzz::FuzzCheck& target_check() {
  static const morvane::fuzz::FuzzCheck* check =
      morvane::fuzz::find_fuzz_check(MORVANE_FUZZ_TARGET);
  if (check == nullptr) {
    std::fprintf(stderr, "no fuzz check named %s\n", MORVANE_FUZZ_TARGET);
    std::abort();
  }
  return *check;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* /*argc*/, char*** /*argv*/) {
  // Without the procedure there is nothing to fuzz: say so and stop cleanly.
  const morvane::fuzz::CheckResult probe = target_check().check({});
  if (!probe.available) {
    std::fprintf(stderr, "fuzz_%s: skipped, %s\n", MORVANE_FUZZ_TARGET, probe.failure.c_str());
    std::exit(0);
  }
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const morvane::fuzz::CheckResult result = target_check().check({data, size});
  if (!result.passed()) {
    std::fprintf(stderr, "fuzz_%s: property failed: %s\n", MORVANE_FUZZ_TARGET,
                 result.failure.c_str());
    std::abort();
  }
  return 0;
}
