// Every procedure in the host's table, bare and through ScriptHost::Run with
// the UTF-8 crossing, at 1 M and 4 M UTF-16 units of mixed CJK/ASCII text.
#include <benchmark/benchmark.h>

#include <string>

#include "conversion_script.h"
#include "mixed_text.h"
#include "native_procedures.h"
#include "script_host.h"
#include "text_codec.h"

namespace {

using morvane::NativeProcedure;

// Decoders get what their encoder made, so they have real work to do.
std::u16string input_for(std::string_view name, std::size_t units) {
  std::u16string text = morvane::bench::mixed_text(units);
  const char* encoder = name == "reconvert" ? "ASCII" : name == "decodeURL" ? "encodeURL" : nullptr;
  if (encoder != nullptr) {
    if (const NativeProcedure* encode = morvane::find_native_procedure(encoder)) {
      text = encode->run(text).text;
    }
  }
  return text;
}

void bare(benchmark::State& state, const NativeProcedure* procedure) {
  const std::u16string input = input_for(procedure->name, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    morvane::ConvertResult result = procedure->run(input);
    benchmark::DoNotOptimize(result.text.data());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

void through_host(benchmark::State& state, const NativeProcedure* procedure) {
  morvane::ScriptHost host;
  host.AddCode(morvane::find_conversion_script(procedure->name)->source);
  const std::string argument = morvane::convert_utf16_to_narrow(
      input_for(procedure->name, static_cast<std::size_t>(state.range(0))));
  for (auto _ : state) {
    std::optional<std::string> result = host.Run(procedure->name, argument);
    benchmark::DoNotOptimize(result);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

const bool registered = [] {
  for (const NativeProcedure& procedure : morvane::native_procedures()) {
    const std::string name(procedure.name);
    benchmark::RegisterBenchmark(("bare/" + name).c_str(), bare, &procedure)
        ->Arg(1 << 20)
        ->Arg(4 << 20)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("run/" + name).c_str(), through_host, &procedure)
        ->Arg(1 << 20)
        ->Arg(4 << 20)
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
