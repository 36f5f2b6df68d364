// The main window and its builder. The window is made from its constant
// description alone (window_description.h); controls are found by name.
#pragma once

#include <QMargins>
#include <QObject>
#include <QWidget>
#include <memory>
#include <string_view>

#include "script_host.h"
#include "text_boxes.h"
#include "window_description.h"

namespace morvane {

// `脚本组件`: a child object that shows nothing and owns the window's
// script host, which lives exactly as long as the window.
class ScriptComponent final : public QObject {
  Q_OBJECT

 public:
  explicit ScriptComponent(QObject* parent) : QObject(parent) {}

  ScriptHost& host() { return host_; }

 private:
  ScriptHost host_;
};

class MainWindow final : public QWidget {
  Q_OBJECT

 public:
  explicit MainWindow(const WindowDescription& description);

  [[nodiscard]] const WindowDescription& description() const { return description_; }

  // The edit box or the script host the builder made under that name.
  [[nodiscard]] EditBox& edit_box(std::string_view name) const;
  [[nodiscard]] ScriptHost& script_host() const;

 protected:
  // Keys as the window sees them before the focused control does.
  bool eventFilter(QObject* watched, QEvent* event) override;
  void moveEvent(QMoveEvent* event) override;

 private:
  friend void show_main_window(MainWindow& window);

  // Shrinks the client area so that the whole window, frame included, keeps
  // its described size once the platform reports a frame.
  void fit_frame();

  const WindowDescription& description_;
  QMargins fitted_frame_;
};

// Build steps up to the created handler: the window, hidden, at its centred
// place, with every control and binding. Null when anything cannot be made.
std::unique_ptr<MainWindow> create_main_window(
    const WindowDescription& description = main_window_description());

// The last build step: show the window and activate it explicitly, since
// without a window manager nothing else gives it the keyboard focus.
void show_main_window(MainWindow& window);

// The window's created handler: the caret goes to the end of the source box.
void on_main_window_created(MainWindow& window);

}  // namespace morvane
