#include "script_host.h"

#include <algorithm>

#include "conversion_script.h"
#include "native_procedures.h"
#include "text_codec.h"

namespace morvane {
namespace {

// The procedure name from a first line "function NAME(str){ ".
std::string_view declared_name(std::string_view code) {
  constexpr std::string_view kPrefix = "function ";
  if (!code.starts_with(kPrefix)) return {};
  code.remove_prefix(kPrefix.size());
  const auto end = code.find("(str){ ");
  return end == std::string_view::npos ? std::string_view{} : code.substr(0, end);
}

}  // namespace

ScriptHost ScriptHost::unavailable() {
  ScriptHost host;
  host.available_ = false;
  return host;
}

bool ScriptHost::AddCode(std::string_view code) {
  if (!available_) return false;
  code = code.substr(0, code.find('\0'));
  const std::string_view name = declared_name(code);
  const ConversionScript* script = find_conversion_script(name);
  // The native engine compiles nothing: it knows exactly the record texts.
  if (script == nullptr || script->source != code || find_native_procedure(name) == nullptr) {
    return false;
  }
  if (std::ranges::find(procedures_, name) == procedures_.end()) procedures_.emplace_back(name);
  return true;
}

std::optional<std::string> ScriptHost::Run(std::string_view name, std::string_view argument) const {
  if (!available_ || std::ranges::find(procedures_, name) == procedures_.end()) {
    return std::nullopt;
  }
  const NativeProcedure* procedure = find_native_procedure(name);
  if (procedure == nullptr) return std::nullopt;
  const ConvertResult result = procedure->run(convert_narrow_to_utf16(argument));
  if (!result.ok()) return std::nullopt;
  std::string narrow = convert_utf16_to_narrow(result.text);
  if (narrow.empty()) return std::nullopt;
  return narrow;
}

}  // namespace morvane
