// The two edit boxes and the operations the commands use on them. Text
// crosses between a box and narrow text (UTF-8) code unit by code unit:
// nothing is dropped (a leading U+FEFF stays), a lone surrogate becomes
// U+FFFD.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QString>
#include <QStringView>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// What both boxes offer; positions and lengths count UTF-16 code units.
class EditBox {
 public:
  virtual ~EditBox() = default;

  // The whole content, exactly as last written or as edited since.
  [[nodiscard]] virtual QString contents() const = 0;
  virtual void replace_contents(const QString& text) = 0;

  [[nodiscard]] virtual qsizetype selection_start() const = 0;
  [[nodiscard]] virtual qsizetype selection_length() const = 0;
  // Selects [start, start + length) with the caret at its end, and scrolls
  // the caret into view.
  virtual void select(qsizetype start, qsizetype length) = 0;
};

// The source box: one line, no length limit below Qt's own, and it keeps
// every character written into it, line breaks included (it shows them as
// spaces). Tab and Enter are not its keys.
class SourceBox final : public QLineEdit, public EditBox {
 public:
  explicit SourceBox(QWidget* parent);

  [[nodiscard]] QString contents() const override;
  void replace_contents(const QString& text) override;
  [[nodiscard]] qsizetype selection_start() const override;
  [[nodiscard]] qsizetype selection_length() const override;
  void select(qsizetype start, qsizetype length) override;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
};

// The result box: many lines wrapped at its width, a vertical scroll bar
// only, Enter starts a new line, Tab moves the focus.
class ResultBox final : public QPlainTextEdit, public EditBox {
 public:
  explicit ResultBox(QWidget* parent);

  [[nodiscard]] QString contents() const override;
  void replace_contents(const QString& text) override;
  [[nodiscard]] qsizetype selection_start() const override;
  [[nodiscard]] qsizetype selection_length() const override;
  void select(qsizetype start, qsizetype length) override;

 protected:
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void forget_written_text();

  // The document turns CR LF into one break and NBSP into a space on the way
  // out, so the last written text is kept until the user edits it.
  QString written_;
  bool written_is_current_ = false;
};

QString qstring_from_narrow(std::string_view narrow);
std::string narrow_from_qstring(QStringView text);

// The UTF-16 index where the narrow offset `offset` falls in `text`, rounded
// down to a character's start and clamped to the end.
qsizetype utf16_index_of_narrow_offset(QStringView text, std::size_t offset);

// The box operations. Reading gives the whole content, or no text when the
// box is empty; writing no text or the empty text empties the box.
std::optional<std::string> read_box_text(const EditBox& box);
void write_box_text(EditBox& box, std::optional<std::string_view> text);

// -1 puts the caret after the last character with nothing selected; a
// position of 0 or more, in narrow units, starts the selection there and
// keeps its length; any other negative position counts as 0.
void set_box_selection_start(EditBox& box, std::ptrdiff_t position);

}  // namespace morvane
