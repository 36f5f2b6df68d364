#include "native_procedures.h"

#include <algorithm>
#include <array>

#include "escape_decoder.h"
#include "escape_encoders.h"
#include "uri_component.h"

namespace morvane {
namespace {

template <std::u16string (*kEncode)(std::u16string_view)>
ConvertResult infallible(std::u16string_view text) {
  return ConvertResult::success(kEncode(text));
}

constexpr std::array kProcedures{
    NativeProcedure{"ASCII", infallible<encode_u_escapes>, true},
    NativeProcedure{"unicode", infallible<encode_decimal_references>, true},
    NativeProcedure{"UTF8", infallible<encode_hex_references>, true},
    NativeProcedure{"reconvert", infallible<decode_escapes>, false},
    NativeProcedure{"encodeURL", encode_uri_component, false},
    NativeProcedure{"decodeURL", decode_uri_component, false},
};

}  // namespace

std::span<const NativeProcedure> native_procedures() {
  return kProcedures;
}

const NativeProcedure* find_native_procedure(std::string_view name) {
  const auto it = std::ranges::find(kProcedures, name, &NativeProcedure::name);
  return it == kProcedures.end() ? nullptr : &*it;
}

}  // namespace morvane
