// The conversion path of morvane-convert from input bytes to output bytes,
// apart from the process's streams so that it can be fuzzed.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "convert_result.h"
#include "native_procedures.h"

namespace morvane {

// Takes the next piece of output; false when it could not be written.
using Utf8Sink = std::function<bool(std::string_view bytes)>;

enum class InputStatus {
  ok,
  invalid_utf8,      // `position` is the byte offset
  procedure_failed,  // `error` says why, `position` is the code unit
  write_failed,      // the sink refused a piece
};

struct ConvertedInput {
  InputStatus status = InputStatus::ok;
  ConvertError error = ConvertError::ok;
  std::size_t position = 0;
  std::size_t replacements = 0;  // lone surrogates written as U+FFFD
};

// Output goes out in slices of this many units (at least 2), so that the UTF-8 copy of a
// large result never exists whole.
inline constexpr std::size_t kSliceUnits = std::size_t{1} << 16;

// Runs `procedure` on `input`, which must be valid UTF-8, and hands the result
// to `write` as UTF-8. Nothing reaches `write` unless the run succeeds. The
// input is taken by value so that it is released before the result is built.
ConvertedInput convert_utf8_input(const NativeProcedure& procedure, std::string input,
                                  const Utf8Sink& write, std::size_t slice_units = kSliceUnits);

}  // namespace morvane
