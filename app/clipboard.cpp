#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <chrono>
#include <utility>

#include "text_boxes.h"
#include "x11_selection.h"

namespace morvane {
namespace {

// As long as Qt waits for a selection owner.
constexpr std::chrono::milliseconds kSelectionTimeout{5000};

}  // namespace

std::optional<std::string> get_clipboard_text() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return std::nullopt;
  // Qt's X11 text conversion drops a leading U+FEFF, so another program's
  // UTF-8 is read as it comes. The program's own content, and every other
  // platform, go through Qt, which keeps the text exact there.
  if (QGuiApplication::platformName() == QLatin1String("xcb") && !clipboard->ownsClipboard()) {
    SelectionText selection = read_clipboard_selection_utf8(kSelectionTimeout);
    if (selection.status == SelectionRead::kText) {
      if (selection.text.empty()) return std::nullopt;
      return std::move(selection.text);
    }
  }
  const QMimeData* data = clipboard->mimeData(QClipboard::Clipboard);
  if (data == nullptr || !data->hasText()) return std::nullopt;
  const QString text = data->text();
  if (text.isEmpty()) return std::nullopt;
  return narrow_from_qstring(text);
}

void put_clipboard_text(std::string_view text) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return;
  clipboard->setText(qstring_from_narrow(text), QClipboard::Clipboard);
}

}  // namespace morvane
