// Start-up: the platform layer, the window, the message loop. The program
// reads no arguments, files or settings.
#include <QApplication>
#include <QByteArray>
#include <cstdio>
#include <cstdlib>

#include "main_window.h"

namespace {

// The only failure exit: the shell sees 255.
constexpr int kExitWindowNotBuilt = -1;

QByteArray first_startup_message;
bool application_started = false;

[[noreturn]] void fail_start(const char* reason) {
  std::fprintf(stderr, "morvane: cannot open the window: %s\n", reason);
  std::fflush(stderr);
  std::_Exit(kExitWindowNotBuilt & 0xFF);
}

// Qt aborts (status 134, a core dump) when no platform plugin starts. Until
// the application object stands, its messages are held back and a fatal one
// ends the program with one line that says why.
void on_qt_message(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (application_started) {
    if (type == QtFatalMsg) fail_start(qPrintable(message.section(u'\n', 0, 0).trimmed()));
    std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    return;
  }
  if (type == QtFatalMsg) {
    // The first warning names the cause ("could not connect to display");
    // the fatal message only says that no plugin could start.
    fail_start(first_startup_message.isEmpty() ? qPrintable(message.section(u'\n', 0, 0).trimmed())
                                               : first_startup_message.constData());
  }
  if (first_startup_message.isEmpty())
    first_startup_message = message.section(u'\n', 0, 0).trimmed().toUtf8();
}

}  // namespace

int main(int argc, char** argv) {
  qInstallMessageHandler(on_qt_message);
  // Qt sees the program's name only: no command-line option reaches it.
  int qt_argc = argc > 0 ? 1 : 0;
  char* qt_argv[] = {argc > 0 ? argv[0] : nullptr, nullptr};
  QApplication application(qt_argc, qt_argv);
  application_started = true;
  // Ties the window to the installed desktop entry and its icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("morvane"));

  const std::unique_ptr<morvane::MainWindow> window = morvane::create_main_window();
  if (window == nullptr) fail_start("the window could not be built");
  morvane::show_main_window(*window);
  return QApplication::exec();
}
