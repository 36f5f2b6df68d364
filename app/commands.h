// The commands of the eleven buttons: plain routines that read the boxes,
// call the script host or the clipboard, and write back. None keeps state
// between presses and none shows anything but the boxes.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string_view>

#include "window_description.h"

namespace morvane {

// A procedure name fixed at compile time, so that each conversion command
// is a plain routine of its own.
template <std::size_t N>
struct ProcedureName {
  constexpr ProcedureName(const char (&name)[N]) { std::copy_n(name, N, text); }
  [[nodiscard]] constexpr std::string_view view() const { return {text, N - 1}; }
  char text[N];
};

// AddCode of the procedure's source text on every press, then Run on the
// source box's text; the result replaces the result box, no text empties it.
void convert_with(MainWindow& window, std::string_view procedure);

template <ProcedureName kProcedure>
void convert_with(MainWindow& window) {
  convert_with(window, kProcedure.view());
}

// The clipboard's text replaces the source box; no text empties it.
void paste(MainWindow& window);

// The result box's text replaces the clipboard's content.
void copy(MainWindow& window);

// Paste, the conversion, then copy, each step seeing what the last one left.
template <Handler kConvert>
void paste_convert_copy(MainWindow& window) {
  paste(window);
  kConvert(window);
  copy(window);
}

}  // namespace morvane
