// The window under load, offscreen: a big single-line result written into
// the result box and painted once; a paste-convert-copy chain on big
// clipboard text, from the click to the result painted and on the clipboard.
#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QWidget>
#include <memory>
#include <string>

#include "main_window.h"
#include "mixed_text.h"
#include "text_boxes.h"
#include "window_description.h"

namespace {

using morvane::MainWindow;

MainWindow& shown_window() {
  static int argc = 1;
  static char name[] = "window_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication application(argc, argv);
  static const std::unique_ptr<MainWindow> window = [] {
    auto built = morvane::create_main_window();
    morvane::show_main_window(*built);
    QApplication::processEvents();
    return built;
  }();
  return *window;
}

// One unbroken line of "\u4e2d" escapes, `bytes` long: the shape of every
// encoder's output, with no break opportunity anywhere.
std::string escape_line(std::size_t bytes) {
  std::string text;
  text.reserve(bytes);
  while (text.size() + 6 <= bytes) text += "\\u4e2d";
  return text;
}

void write_result_and_paint(benchmark::State& state) {
  MainWindow& window = shown_window();
  morvane::EditBox& box = window.edit_box(morvane::kResultBoxName);
  auto& widget = dynamic_cast<QWidget&>(box);
  const std::string text = escape_line(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    morvane::write_box_text(box, text);
    widget.repaint();
  }
  morvane::write_box_text(box, std::nullopt);
  state.SetBytesProcessed(state.iterations() * state.range(0));
}

// Random CJK and ASCII, every script change a new run for the text layout:
// the hard case for both boxes.
QString alternating_text(std::size_t bytes) {
  const std::u16string units = morvane::bench::mixed_text(bytes / 2);  // 2 bytes a unit on average
  return QString(reinterpret_cast<const QChar*>(units.data()),
                 static_cast<qsizetype>(units.size()));
}

// Chinese prose with a few ASCII words and digits in it, as usually copied.
QString prose_text(std::size_t bytes) {
  const QString sentence = QString::fromUtf8(
      "这是一段用于测量的中文文字，其中夹杂着 English words、数字 12345 和标点符号。");
  const auto sentence_bytes = static_cast<std::size_t>(sentence.toUtf8().size());
  return sentence.repeated(static_cast<qsizetype>(bytes / sentence_bytes));
}

void chain_ascii(benchmark::State& state, QString (*make_text)(std::size_t)) {
  MainWindow& window = shown_window();
  auto* button = window.findChild<QAbstractButton*>(QStringLiteral("按钮_ASCII1"));
  const QString input = make_text(static_cast<std::size_t>(state.range(0)));
  QClipboard* clipboard = QGuiApplication::clipboard();
  for (auto _ : state) {
    state.PauseTiming();
    clipboard->setText(input, QClipboard::Clipboard);
    state.ResumeTiming();
    button->click();
    window.repaint();
  }
  state.counters["input_bytes"] = static_cast<double>(input.toUtf8().size());
  state.counters["result_chars"] =
      static_cast<double>(clipboard->text(QClipboard::Clipboard).size());
  morvane::write_box_text(window.edit_box(morvane::kSourceBoxName), std::nullopt);
  morvane::write_box_text(window.edit_box(morvane::kResultBoxName), std::nullopt);
}

}  // namespace

BENCHMARK_CAPTURE(chain_ascii, prose, prose_text)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(chain_ascii, alternating, alternating_text)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

BENCHMARK(write_result_and_paint)
    ->Arg(1 << 20)
    ->Arg(6 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
