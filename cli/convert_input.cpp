#include "convert_input.h"

#include <unicode/utf16.h>

#include <algorithm>

#include "text_codec.h"

namespace morvane {
namespace {

std::u16string_view next_slice(std::u16string_view text, std::size_t slice_units) {
  std::size_t cut = std::min(text.size(), slice_units);
  if (cut < text.size() && cut > 1 && U16_IS_LEAD(text[cut - 1])) --cut;  // keep a pair whole
  return text.substr(0, cut);
}

// Converts slice by slice through one buffer, allocated once.
bool write_utf8(std::u16string_view text, std::size_t slice_units, const Utf8Sink& write,
                std::size_t& replacements, std::string& buffer) {
  buffer.resize(std::min(text.size(), slice_units) * 3);
  while (!text.empty()) {
    const std::u16string_view slice = next_slice(text, slice_units);
    const std::size_t bytes = convert_utf16_to_utf8_with_replacement(slice, buffer, replacements);
    if (!write(std::string_view(buffer).substr(0, bytes))) return false;
    text.remove_prefix(slice.size());
  }
  return true;
}

}  // namespace

ConvertedInput convert_utf8_input(const NativeProcedure& procedure, std::string input,
                                  const Utf8Sink& write, std::size_t slice_units) {
  slice_units = std::max<std::size_t>(slice_units, 2);  // room for a surrogate pair
  ConvertedInput outcome;
  std::optional<std::u16string> converted = convert_utf8_to_utf16(input);
  if (!converted) {
    outcome.status = InputStatus::invalid_utf8;
    outcome.position = find_invalid_utf8(input).value_or(0);
    return outcome;
  }
  std::u16string text = std::move(*converted);
  input = {};  // keep the peak down on large inputs

  bool written = true;
  std::string buffer;
  if (procedure.per_unit) {
    // Cannot fail, so converting slice by slice loses nothing.
    for (std::u16string_view rest = text; written && !rest.empty();) {
      const std::u16string_view slice = next_slice(rest, slice_units);
      written =
          write_utf8(procedure.run(slice).text, slice_units, write, outcome.replacements, buffer);
      rest.remove_prefix(slice.size());
    }
  } else {
    // A failure must write nothing: the whole result comes first.
    ConvertResult result = procedure.run(text);
    text = {};
    if (!result.ok()) {
      outcome.status = InputStatus::procedure_failed;
      outcome.error = result.error;
      outcome.position = result.position;
      return outcome;
    }
    written = write_utf8(result.text, slice_units, write, outcome.replacements, buffer);
  }
  if (!written) outcome.status = InputStatus::write_failed;
  return outcome;
}

}  // namespace morvane
