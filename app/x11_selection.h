// Reads the X11 CLIPBOARD selection as UTF-8 bytes over a connection of its
// own. Qt's X11 clipboard decodes UTF8_STRING with a decoder that drops a
// leading U+FEFF; this reader hands the bytes over exactly as the owner sent
// them.
#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace morvane {

enum class SelectionRead {
  kText,         // `text` holds the owner's UTF8_STRING bytes
  kNotOffered,   // no owner, or the owner has no UTF8_STRING form
  kUnavailable,  // no X display, or the transfer failed or timed out
};

struct SelectionText {
  SelectionRead status = SelectionRead::kUnavailable;
  std::string text;
};

// Must not be called while this process owns the selection: the owner would
// be the caller's own blocked thread.
SelectionText read_clipboard_selection_utf8(std::chrono::milliseconds timeout);

}  // namespace morvane
