#include "text_boxes.h"

#include <QApplication>
#include <QPalette>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>
#include <algorithm>
#include <limits>

#include "text_codec.h"

namespace morvane {
namespace {

// Black on white, whatever the style would choose.
void paint_black_on_white(QWidget& box) {
  QPalette palette = box.palette();
  palette.setColor(QPalette::Base, Qt::white);
  palette.setColor(QPalette::Text, Qt::black);
  box.setPalette(palette);
}

// A box without the focus hides its selection without losing it: the
// selection is drawn in the box's own colours.
void show_selection(QWidget& box, bool shown) {
  QPalette palette = box.palette();
  const QPalette standard = QApplication::palette(&box);
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(
        group, QPalette::Highlight,
        shown ? standard.color(group, QPalette::Highlight) : palette.color(group, QPalette::Base));
    palette.setColor(group, QPalette::HighlightedText,
                     shown ? standard.color(group, QPalette::HighlightedText)
                           : palette.color(group, QPalette::Text));
  }
  box.setPalette(palette);
}

// UTF-8 length of one code unit; a pair is 4 bytes for two units and a lone
// surrogate 3 (it crosses as U+FFFD).
std::size_t narrow_units_of(char16_t unit) {
  if (unit < 0x80) return 1;
  if (unit < 0x800) return 2;
  return 3;
}

std::size_t narrow_length(QStringView text) {
  std::size_t length = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      length += 4;
      ++i;
    } else {
      length += narrow_units_of(text[i].unicode());
    }
  }
  return length;
}

}  // namespace

SourceBox::SourceBox(QWidget* parent) : QLineEdit(parent) {
  // Qt's default of 32767 would cut longer pastes silently.
  setMaxLength(std::numeric_limits<int>::max());
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  paint_black_on_white(*this);
  show_selection(*this, false);
}

QString SourceBox::contents() const {
  return text();
}

void SourceBox::replace_contents(const QString& text) {
  setText(text);
  setCursorPosition(0);
}

qsizetype SourceBox::selection_start() const {
  return hasSelectedText() ? selectionStart() : cursorPosition();
}

qsizetype SourceBox::selection_length() const {
  return hasSelectedText() ? selectionLength() : 0;
}

void SourceBox::select(qsizetype start, qsizetype length) {
  if (length > 0) {
    setSelection(static_cast<int>(start), static_cast<int>(length));
  } else {
    deselect();
    setCursorPosition(static_cast<int>(start));
  }
}

void SourceBox::focusInEvent(QFocusEvent* event) {
  show_selection(*this, true);
  QLineEdit::focusInEvent(event);
}

void SourceBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  show_selection(*this, false);
}

ResultBox::ResultBox(QWidget* parent) : QPlainTextEdit(parent) {
  setLineWrapMode(QPlainTextEdit::WidgetWidth);
  // Qt's default word-or-anywhere wrap is quadratic on one long unbroken
  // line (a 1 MB escape string takes minutes); anywhere-wrapping is linear.
  setWordWrapMode(QTextOption::WrapAnywhere);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setTabChangesFocus(true);
  paint_black_on_white(*this);
  show_selection(*this, false);
  connect(document(), &QTextDocument::contentsChanged, this, &ResultBox::forget_written_text);
}

QString ResultBox::contents() const {
  if (written_is_current_) return written_;
  QString text = document()->toRawText();
  text.replace(QChar::ParagraphSeparator, u'\n');
  return text;
}

void ResultBox::replace_contents(const QString& text) {
  // Emptying first spares the layout a pass over the old text.
  clear();
  setPlainText(text);
  written_ = text;
  written_is_current_ = true;
}

qsizetype ResultBox::selection_start() const {
  return textCursor().selectionStart();
}

qsizetype ResultBox::selection_length() const {
  const QTextCursor cursor = textCursor();
  return cursor.selectionEnd() - cursor.selectionStart();
}

void ResultBox::select(qsizetype start, qsizetype length) {
  QTextCursor cursor = textCursor();
  cursor.setPosition(static_cast<int>(start));
  cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
  setTextCursor(cursor);
  ensureCursorVisible();
}

void ResultBox::focusInEvent(QFocusEvent* event) {
  show_selection(*this, true);
  QPlainTextEdit::focusInEvent(event);
}

void ResultBox::focusOutEvent(QFocusEvent* event) {
  QPlainTextEdit::focusOutEvent(event);
  show_selection(*this, false);
}

void ResultBox::forget_written_text() {
  written_is_current_ = false;
  written_.clear();
}

QString qstring_from_narrow(std::string_view narrow) {
  // Code unit by code unit: QString::fromUtf8 would drop a leading U+FEFF.
  const std::u16string units = convert_utf8_to_utf16_with_replacement(narrow);
  return QString(reinterpret_cast<const QChar*>(units.data()),
                 static_cast<qsizetype>(units.size()));
}

std::string narrow_from_qstring(QStringView text) {
  const std::u16string_view units(reinterpret_cast<const char16_t*>(text.utf16()),
                                  static_cast<std::size_t>(text.size()));
  return convert_utf16_to_utf8_with_replacement(units).text;
}

qsizetype utf16_index_of_narrow_offset(QStringView text, std::size_t offset) {
  std::size_t narrow = 0;
  qsizetype i = 0;
  while (i < text.size()) {
    const bool pair =
        text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
    const std::size_t width = pair ? 4 : narrow_units_of(text[i].unicode());
    if (narrow + width > offset) break;
    narrow += width;
    i += pair ? 2 : 1;
  }
  return i;
}

std::optional<std::string> read_box_text(const EditBox& box) {
  const QString text = box.contents();
  if (text.isEmpty()) return std::nullopt;
  return narrow_from_qstring(text);
}

void write_box_text(EditBox& box, std::optional<std::string_view> text) {
  box.replace_contents(text ? qstring_from_narrow(*text) : QString());
}

void set_box_selection_start(EditBox& box, std::ptrdiff_t position) {
  const QString text = box.contents();
  if (position == -1) {
    box.select(text.size(), 0);
    return;
  }
  const std::size_t start = static_cast<std::size_t>(std::max<std::ptrdiff_t>(position, 0));
  const QStringView view(text);
  const std::size_t length =
      narrow_length(view.sliced(box.selection_start(), box.selection_length()));
  const qsizetype first = utf16_index_of_narrow_offset(view, start);
  const qsizetype last = utf16_index_of_narrow_offset(view, start + length);
  box.select(first, last - first);
}

}  // namespace morvane
