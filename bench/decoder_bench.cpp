// The escape decoder and the URI component codec, bare, at 1 M and 4 M UTF-16
// units: mixed CJK/ASCII text and inputs built to hurt a naive scanner. The
// time per unit must stay flat from 1 M to 4 M on every input.
// bench/node_uri_builtins.js times node's built-ins on the same text.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "escape_decoder.h"
#include "mixed_text.h"
#include "uri_component.h"

namespace {

using morvane::bench::mixed_text;

// `pattern` repeated to exactly `units` units.
std::u16string repeated(std::u16string_view pattern, std::size_t units) {
  std::u16string text;
  text.reserve(units + pattern.size());
  while (text.size() < units) text += pattern;
  text.resize(units);
  return text;
}

// Mixed text with every unit in one of the four notations in turn: plain,
// "\u" escape, hex reference, decimal reference. Cut to `units`.
std::u16string mixed_notations(std::size_t units) {
  static constexpr char16_t kHex[] = u"0123456789abcdef";
  const std::u16string plain = mixed_text(units);
  std::u16string text;
  text.reserve(units + 16);
  for (std::size_t i = 0; text.size() < units; ++i) {
    const char16_t c = plain[i % plain.size()];
    const char16_t hex[4] = {kHex[c >> 12], kHex[c >> 8 & 0xF], kHex[c >> 4 & 0xF], kHex[c & 0xF]};
    switch (i % 4) {
      case 0:
        text += c;
        break;
      case 1:
        text += u"\\u";
        text.append(hex, 4);
        break;
      case 2:
        text += u"&#x";
        text.append(hex, 4);
        text += u';';
        break;
      default:
        text += u"&#";
        for (char ch : std::to_string(unsigned{c})) text += static_cast<char16_t>(ch);
        text += u';';
    }
  }
  text.resize(units);
  return text;
}

std::u16string encoded(std::u16string_view text) {
  return morvane::encode_uri_component(text).text;
}

// Labels the input so node_uri_builtins.js can show it times the same text.
std::string fnv1a(std::u16string_view text) {
  std::uint32_t hash = 2166136261u;
  for (char16_t unit : text) {
    hash = (hash ^ (unit & 0xFF)) * 16777619u;
    hash = (hash ^ (unit >> 8)) * 16777619u;
  }
  char label[32];
  std::snprintf(label, sizeof label, "fnv1a=%08x", static_cast<unsigned>(hash));
  return label;
}

enum class Input {
  mixed,                // mixed CJK/ASCII text
  mixed_notations,      // the same with three units of four escaped
  u_prefix_run,         // "\u\u\u..."
  hex_prefix_run,       // "&#x&#x&#x..." and never a ";"
  hex_too_long,         // "&#x12345;..." : five digits, no match
  decimal_seven,        // "&#1234567&#1234567..." : seven digits, no match
  non_hex_u_escapes,    // "\uzzzz\uzzzz..." : every match kept as it stands
  u_escapes_only,       // "\u0041\u0041..." : every unit replaced
  encoded_mixed,        // encodeURL of the mixed text
  percent_ascii,        // "%41%41..."
  percent_astral,       // "%F0%9F%98%80..."
  fail_at_end,          // a valid encoding, then "%" as the last unit
  reserved_ascii,       // "&&&&..." : every unit escaped
  astral_pairs,         // U+1F600 repeated : twelve units out per two in
  lone_surrogate_last,  // mixed text ending in a lone high surrogate
};

std::u16string make_input(Input input, std::size_t units) {
  switch (input) {
    case Input::mixed:
      return mixed_text(units);
    case Input::mixed_notations:
      return mixed_notations(units);
    case Input::u_prefix_run:
      return repeated(u"\\u", units);
    case Input::hex_prefix_run:
      return repeated(u"&#x", units);
    case Input::hex_too_long:
      return repeated(u"&#x12345;", units);
    case Input::decimal_seven:
      return repeated(u"&#1234567", units);
    case Input::non_hex_u_escapes:
      return repeated(u"\\uzzzz", units);
    case Input::u_escapes_only:
      return repeated(u"\\u0041", units);
    case Input::encoded_mixed:
      return encoded(mixed_text(units));
    case Input::percent_ascii:
      return repeated(u"%41", units);
    case Input::percent_astral:
      return repeated(u"%F0%9F%98%80", units);
    case Input::fail_at_end: {
      std::u16string text = encoded(mixed_text(units));
      text.back() = u'%';
      return text;
    }
    case Input::reserved_ascii:
      return repeated(u"&", units);
    case Input::astral_pairs:
      return repeated(u"\U0001F600", units);
    case Input::lone_surrogate_last: {
      std::u16string text = mixed_text(units);
      text.back() = char16_t{0xD800};
      return text;
    }
  }
  return {};
}

// Items are input units. Inputs made by encoding hold `state.range(0)` units
// before encoding, so node can be given the same text.
void bm_decode_escapes(benchmark::State& state, Input kind) {
  const std::u16string input = make_input(kind, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::u16string out = morvane::decode_escapes(input);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
}

void bm_encode_uri(benchmark::State& state, Input kind) {
  const std::u16string input = make_input(kind, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    morvane::ConvertResult out = morvane::encode_uri_component(input);
    benchmark::DoNotOptimize(out.text.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
  if (kind == Input::mixed) state.SetLabel(fnv1a(input));
}

void bm_decode_uri(benchmark::State& state, Input kind) {
  const std::u16string input = make_input(kind, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    morvane::ConvertResult out = morvane::decode_uri_component(input);
    benchmark::DoNotOptimize(out.text.data());
  }
  state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(input.size()));
  state.counters["input_units"] = static_cast<double>(input.size());
  if (kind == Input::encoded_mixed) state.SetLabel(fnv1a(input));
}

// With --benchmark_repetitions, "min" is the least disturbed run on a busy
// machine.
void sizes(benchmark::internal::Benchmark* b) {
  b->Arg(1 << 20)->Arg(4 << 20)->Unit(benchmark::kMillisecond);
  b->ComputeStatistics(
      "min", [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); });
}

#define MORVANE_BENCH(function, kind) BENCHMARK_CAPTURE(function, kind, Input::kind)->Apply(sizes)

MORVANE_BENCH(bm_decode_escapes, mixed);
MORVANE_BENCH(bm_decode_escapes, mixed_notations);
MORVANE_BENCH(bm_decode_escapes, u_prefix_run);
MORVANE_BENCH(bm_decode_escapes, hex_prefix_run);
MORVANE_BENCH(bm_decode_escapes, hex_too_long);
MORVANE_BENCH(bm_decode_escapes, decimal_seven);
MORVANE_BENCH(bm_decode_escapes, non_hex_u_escapes);
MORVANE_BENCH(bm_decode_escapes, u_escapes_only);

MORVANE_BENCH(bm_encode_uri, mixed);
MORVANE_BENCH(bm_encode_uri, reserved_ascii);
MORVANE_BENCH(bm_encode_uri, astral_pairs);
MORVANE_BENCH(bm_encode_uri, lone_surrogate_last);

MORVANE_BENCH(bm_decode_uri, encoded_mixed);
MORVANE_BENCH(bm_decode_uri, mixed);
MORVANE_BENCH(bm_decode_uri, percent_ascii);
MORVANE_BENCH(bm_decode_uri, percent_astral);
MORVANE_BENCH(bm_decode_uri, fail_at_end);

}  // namespace
