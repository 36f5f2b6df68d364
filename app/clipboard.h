// The system clipboard as plain narrow text (UTF-8); on X11 the CLIPBOARD
// selection. Every character crosses unchanged, a leading U+FEFF included.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// The clipboard's plain text, or no text when it is empty, holds no text or
// cannot be read.
std::optional<std::string> get_clipboard_text();

// Replaces the clipboard's content with `text` as plain text. Qt hands the
// content to a clipboard manager when the program ends, where one runs.
void put_clipboard_text(std::string_view text);

}  // namespace morvane
