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
};

std::span<const NativeProcedure> native_procedures();

// The procedure named exactly `name` (case counts), or null.
const NativeProcedure* find_native_procedure(std::string_view name);

}  // namespace morvane
