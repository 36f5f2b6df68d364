#include "fuzz_checks.h"

#include <algorithm>
#include <array>
#include <vector>

#include "convert_input.h"
#include "native_procedures.h"
#include "reference_codecs.h"
#include "text_codec.h"

namespace morvane::fuzz {
namespace {

// Collects the first failed property, with enough context to reproduce it.
class Checker {
 public:
  void expect(bool holds, std::string_view property, const std::string& detail = {}) {
    if (holds || !result_.failure.empty()) return;
    result_.failure = std::string(property);
    if (!detail.empty()) result_.failure += ": " + detail;
  }
  void unavailable(std::string_view name) {
    result_.available = false;
    result_.failure = "procedure \"" + std::string(name) + "\" is not built in";
  }
  [[nodiscard]] bool failed() const { return !result_.failure.empty(); }
  CheckResult result() && { return std::move(result_); }

 private:
  CheckResult result_;
};

std::string describe(const ConvertResult& result) {
  if (result.ok()) return "ok " + dump(result.text);
  return std::string(to_string(result.error)) + " at unit " + std::to_string(result.position);
}

std::string expected_got(std::u16string_view expected, std::u16string_view got) {
  return "expected " + dump(expected) + ", got " + dump(got);
}

std::string_view as_chars(std::span<const std::uint8_t> data) {
  return {reinterpret_cast<const char*>(data.data()), data.size()};
}

// "unicode" then "reconvert" gives the input back; "ASCII" and "UTF8" do
// where later passes leave the input alone; "reconvert" matches the reference
// wherever the reference is defined, and never lengthens a text.
CheckResult check_reconvert(std::span<const std::uint8_t> data) {
  Checker check;
  const NativeProcedure* reconvert = find_native_procedure("reconvert");
  if (reconvert == nullptr) {
    check.unavailable("reconvert");
    return std::move(check).result();
  }
  const std::u16string input = units_from_bytes(data);

  const ConvertResult decoded = reconvert->run(input);
  check.expect(decoded.ok(), "reconvert never fails", describe(decoded));
  check.expect(decoded.text.size() <= input.size(), "reconvert never lengthens a text",
               dump(input) + " -> " + dump(decoded.text));
  if (const PassResult expected = morvane::fuzz::reconvert(input); expected.defined) {
    check.expect(decoded.text == expected.text, "reconvert matches the reference",
                 "input " + dump(input) + ": " + expected_got(expected.text, decoded.text));
  }

  struct RoundTrip {
    std::string_view encoder;
    PassResult expected;  // what reconvert must make of the encoded text
  };
  const PassResult hex = reconvert_hex_references(input);
  const PassResult hex_then_decimal = reconvert_decimal_references(hex.text);
  const std::array round_trips{
      RoundTrip{"unicode", PassResult{input, true}},
      RoundTrip{"ASCII",
                PassResult{hex_then_decimal.text, hex.defined && hex_then_decimal.defined}},
      RoundTrip{"UTF8", reconvert_decimal_references(input)},
  };
  for (const RoundTrip& trip : round_trips) {
    const NativeProcedure* encoder = find_native_procedure(trip.encoder);
    if (encoder == nullptr) {
      check.unavailable(trip.encoder);
      break;
    }
    const ConvertResult encoded = encoder->run(input);
    const std::string name(trip.encoder);
    check.expect(encoded.ok(), name + " never fails", describe(encoded));
    check.expect(is_ascii(encoded.text), name + " output is pure ASCII", dump(encoded.text));
    if (!trip.expected.defined) continue;
    const ConvertResult back = reconvert->run(encoded.text);
    check.expect(back.ok() && back.text == trip.expected.text, name + " then reconvert",
                 "input " + dump(input) + ": " + expected_got(trip.expected.text, back.text));
  }
  return std::move(check).result();
}

// "encodeURL" fails exactly on a lone surrogate, at its index; otherwise it
// writes pure ASCII that matches the reference and "decodeURL" reads back.
CheckResult check_encode_url(std::span<const std::uint8_t> data) {
  Checker check;
  const NativeProcedure* encode = find_native_procedure("encodeURL");
  const NativeProcedure* decode = find_native_procedure("decodeURL");
  if (encode == nullptr || decode == nullptr) {
    check.unavailable(encode == nullptr ? "encodeURL" : "decodeURL");
    return std::move(check).result();
  }
  const std::u16string input = units_from_bytes(data);
  const ConvertResult encoded = encode->run(input);
  const std::optional<std::u16string> expected = encode_uri_component(input);
  if (!expected) {
    const std::size_t lone = first_lone_surrogate(input).value_or(0);
    check.expect(
        !encoded.ok() && encoded.error == ConvertError::lone_surrogate && encoded.position == lone,
        "encodeURL fails on a lone surrogate, at its index",
        "input " + dump(input) + ", lone surrogate at " + std::to_string(lone) + ", got " +
            describe(encoded));
    return std::move(check).result();
  }
  check.expect(encoded.ok(), "encodeURL succeeds without lone surrogates",
               "input " + dump(input) + ", got " + describe(encoded));
  check.expect(is_ascii(encoded.text), "encodeURL output is pure ASCII", dump(encoded.text));
  check.expect(encoded.text == *expected, "encodeURL matches the reference",
               "input " + dump(input) + ": " + expected_got(*expected, encoded.text));
  const ConvertResult back = decode->run(encoded.text);
  check.expect(back.ok() && back.text == input, "encodeURL then decodeURL gives the input back",
               "input " + dump(input) + ", got " + describe(back));
  return std::move(check).result();
}

// "decodeURL" fails exactly where the input is not a valid encoding, blaming
// no unit before the fault, and otherwise matches the reference.
CheckResult check_decode_url(std::span<const std::uint8_t> data) {
  Checker check;
  const NativeProcedure* encode = find_native_procedure("encodeURL");
  const NativeProcedure* decode = find_native_procedure("decodeURL");
  if (encode == nullptr || decode == nullptr) {
    check.unavailable(decode == nullptr ? "decodeURL" : "encodeURL");
    return std::move(check).result();
  }
  const std::u16string input = units_from_bytes(data);
  const ConvertResult decoded = decode->run(input);
  const UriDecoding expected = decode_uri_component(input);
  if (!expected.text) {
    check.expect(!decoded.ok(), "decodeURL fails on an invalid encoding",
                 "input " + dump(input) + ", got " + describe(decoded));
    check.expect(
        decoded.ok() || (decoded.position >= expected.failure && decoded.position <= input.size()),
        "decodeURL blames a unit of the fault",
        "input " + dump(input) + ", fault starts at " + std::to_string(expected.failure) +
            ", got " + describe(decoded));
    return std::move(check).result();
  }
  check.expect(decoded.ok(), "decodeURL succeeds on a valid encoding",
               "input " + dump(input) + ", got " + describe(decoded));
  check.expect(decoded.text == *expected.text, "decodeURL matches the reference",
               "input " + dump(input) + ": " + expected_got(*expected.text, decoded.text));
  if (!decoded.ok() || first_lone_surrogate(decoded.text)) return std::move(check).result();
  const ConvertResult encoded = encode->run(decoded.text);
  check.expect(encoded.ok() && is_ascii(encoded.text), "encodeURL of a decoded text is ASCII",
               describe(encoded));
  const ConvertResult again = decode->run(encoded.text);
  check.expect(again.ok() && again.text == decoded.text, "decode, encode, decode is stable",
               "input " + dump(input) + ", got " + describe(again));
  return std::move(check).result();
}

// Narrow (UTF-8) to UTF-16: invalid bytes become U+FFFD, one per maximal
// subpart; valid text goes round; the narrow form stops at the zero byte.
CheckResult check_utf8_to_utf16(std::span<const std::uint8_t> data) {
  Checker check;
  const std::string_view bytes = as_chars(data);
  const std::u16string wide = convert_utf8_to_utf16_with_replacement(bytes);
  const std::u16string expected = decode_utf8_with_replacement(bytes);
  check.expect(wide == expected, "UTF-8 to UTF-16 matches the reference",
               "input " + dump_bytes(bytes) + ": " + expected_got(expected, wide));
  check.expect(!first_lone_surrogate(wide), "UTF-8 to UTF-16 makes no lone surrogate", dump(wide));

  const std::optional<std::size_t> invalid = find_invalid_utf8(bytes);
  const std::optional<std::size_t> expected_invalid = first_invalid_utf8(bytes);
  check.expect(invalid == expected_invalid, "find_invalid_utf8 finds the first bad byte",
               "input " + dump_bytes(bytes) + ": expected " +
                   (expected_invalid ? std::to_string(*expected_invalid) : "none") + ", got " +
                   (invalid ? std::to_string(*invalid) : "none"));
  if (!expected_invalid) {
    const Utf8Output back = convert_utf16_to_utf8_with_replacement(wide);
    check.expect(back.text == bytes && back.replacements == 0, "valid UTF-8 goes round",
                 "input " + dump_bytes(bytes) + ", got " + dump_bytes(back.text));
  }

  const std::string_view narrow = bytes.substr(0, bytes.find('\0'));
  const std::u16string narrow_wide = convert_narrow_to_utf16(bytes);
  const std::u16string narrow_expected = decode_utf8_with_replacement(narrow);
  check.expect(narrow_wide == narrow_expected, "narrow text ends at its first zero byte",
               "input " + dump_bytes(bytes) + ": " + expected_got(narrow_expected, narrow_wide));
  return std::move(check).result();
}

// UTF-16 to UTF-8: well-formed output, one U+FFFD per lone surrogate, counted;
// the buffer form agrees; the narrow form stops at U+0000.
CheckResult check_utf16_to_utf8(std::span<const std::uint8_t> data) {
  Checker check;
  const std::u16string input = units_from_bytes(data);
  const Utf8Output out = convert_utf16_to_utf8_with_replacement(input);
  const std::string expected = encode_utf8_with_replacement(input);
  check.expect(out.text == expected, "UTF-16 to UTF-8 matches the reference",
               "input " + dump(input) + ": expected " + dump_bytes(expected) + ", got " +
                   dump_bytes(out.text));
  check.expect(!first_invalid_utf8(out.text), "UTF-16 to UTF-8 output is well-formed",
               dump_bytes(out.text));
  check.expect(out.replacements == count_lone_surrogates(input), "every lone surrogate is counted",
               "input " + dump(input) + ": expected " +
                   std::to_string(count_lone_surrogates(input)) + ", got " +
                   std::to_string(out.replacements));

  std::vector<char> buffer(input.size() * 3);
  std::size_t replacements = 0;
  const std::size_t written = convert_utf16_to_utf8_with_replacement(input, buffer, replacements);
  check.expect(
      std::string_view(buffer.data(), written) == out.text && replacements == out.replacements,
      "the buffer form agrees", "input " + dump(input));

  const std::u16string back = convert_utf8_to_utf16_with_replacement(out.text);
  check.expect(back == decode_utf8_with_replacement(expected), "the UTF-8 goes back to UTF-16",
               "input " + dump(input) + ", got " + dump(back));

  const std::u16string_view before_zero = std::u16string_view(input).substr(0, input.find(u'\0'));
  const std::string narrow = convert_utf16_to_narrow(input);
  check.expect(narrow == encode_utf8_with_replacement(before_zero),
               "narrow text ends before U+0000",
               "input " + dump(input) + ", got " + dump_bytes(narrow));
  return std::move(check).result();
}

// morvane-convert's path from input bytes to output bytes: the first byte
// picks the procedure, the second a slice size; the rest is the input.
CheckResult check_cli_input(std::span<const std::uint8_t> data) {
  Checker check;
  const auto procedures = native_procedures();
  if (data.size() < 2 || procedures.empty()) return std::move(check).result();
  const NativeProcedure& procedure = procedures[data[0] % procedures.size()];
  const std::size_t slice_units = 2 + data[1] % 31;
  const std::string input(as_chars(data.subspan(2)));
  const std::string context = std::string(procedure.name) + " on " + dump_bytes(input);

  struct Run {
    ConvertedInput outcome;
    std::string written;
  };
  const auto run = [&](std::size_t slice) {
    Run result;
    result.outcome = convert_utf8_input(
        procedure, input,
        [&](std::string_view bytes) {
          result.written += bytes;
          return true;
        },
        slice);
    return result;
  };
  const Run whole = run(kSliceUnits);
  const Run sliced = run(slice_units);

  if (const auto bad = first_invalid_utf8(input)) {
    for (const Run* r : {&whole, &sliced}) {
      check.expect(r->outcome.status == InputStatus::invalid_utf8 && r->outcome.position == *bad &&
                       r->written.empty(),
                   "invalid UTF-8 is refused at its first bad byte, writing nothing",
                   context + ", bad byte at " + std::to_string(*bad));
    }
    return std::move(check).result();
  }

  const ConvertResult direct = procedure.run(decode_utf8_with_replacement(input));
  for (const Run* r : {&whole, &sliced}) {
    const std::string slice =
        r == &whole ? " (whole)" : " (slices of " + std::to_string(slice_units) + ")";
    if (!direct.ok()) {
      check.expect(r->outcome.status == InputStatus::procedure_failed &&
                       r->outcome.error == direct.error && r->outcome.position == direct.position &&
                       r->written.empty(),
                   "a failed procedure is reported, writing nothing", context + slice);
      continue;
    }
    const std::string expected = encode_utf8_with_replacement(direct.text);
    check.expect(r->outcome.status == InputStatus::ok, "a good run succeeds", context + slice);
    check.expect(
        r->written == expected, "the whole result is written, losing nothing",
        context + slice + ": expected " + dump_bytes(expected) + ", got " + dump_bytes(r->written));
    check.expect(r->outcome.replacements == count_lone_surrogates(direct.text),
                 "every lone surrogate of the result is counted", context + slice);
  }

  // A sink that refuses everything is noticed whenever there is output.
  if (direct.ok() && !direct.text.empty()) {
    const ConvertedInput refused =
        convert_utf8_input(procedure, input, [](std::string_view) { return false; });
    check.expect(refused.status == InputStatus::write_failed, "a failed write is reported",
                 context);
  }
  return std::move(check).result();
}

constexpr std::array kChecks{
    FuzzCheck{"reconvert", check_reconvert},
    FuzzCheck{"encodeURL", check_encode_url},
    FuzzCheck{"decodeURL", check_decode_url},
    FuzzCheck{"utf8_to_utf16", check_utf8_to_utf16},
    FuzzCheck{"utf16_to_utf8", check_utf16_to_utf8},
    FuzzCheck{"cli_input", check_cli_input},
};

}  // namespace

std::span<const FuzzCheck> fuzz_checks() {
  return kChecks;
}

const FuzzCheck* find_fuzz_check(std::string_view target) {
  const auto it = std::ranges::find(kChecks, target, &FuzzCheck::target);
  return it == kChecks.end() ? nullptr : &*it;
}

}  // namespace morvane::fuzz
