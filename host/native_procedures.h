// The name -> procedure table: the procedures that run natively, named as the
// host spells them. Front ends other than the window run them from here.
#pragma once

#include <span>
#include <string_view>

#include "convert_result.h"

namespace morvane {

struct NativeProcedure {
  std::string_view name;
  ConvertResult (*run)(std::u16string_view text);
  // Never fails, and the result of a text is the concatenation of the results
  // of its pieces (cut anywhere): front ends may then convert in chunks and
  // keep memory flat on large inputs.
  bool per_unit = false;
};

std::span<const NativeProcedure> native_procedures();

// The procedure named exactly `name` (case counts), or null.
const NativeProcedure* find_native_procedure(std::string_view name);

}  // namespace morvane
