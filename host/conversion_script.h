// The six procedures as ECMAScript source text: each record names a procedure
// and holds the text that declares it.
#pragma once

#include <span>
#include <string_view>

namespace morvane {

struct ConversionScript {
  std::string_view name;    // as handed to ScriptHost::Run
  std::string_view source;  // ASCII, CR LF line ends, no zero byte
};

// All six records: "ASCII", "unicode", "UTF8", "reconvert", "encodeURL", "decodeURL".
std::span<const ConversionScript> conversion_scripts();

// The record named exactly `name`, or null.
const ConversionScript* find_conversion_script(std::string_view name);

}  // namespace morvane
