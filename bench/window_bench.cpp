// The window under load, offscreen: a big single-line result written into
// the result box and painted once.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>
#include <memory>
#include <string>

#include "main_window.h"
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

}  // namespace

BENCHMARK(write_result_and_paint)
    ->Arg(1 << 20)
    ->Arg(6 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
