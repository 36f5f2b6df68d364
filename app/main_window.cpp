#include "main_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QWindow>
#include <stdexcept>

#include "placement.h"

namespace morvane {
namespace {

QString qt_name(std::string_view name) {
  return qstring_from_narrow(name);
}

QWidget* make_label(const ControlDescription& control, QWidget& window, bool multi_line) {
  auto* label = new QLabel(qstring_from_narrow(control.text), &window);
  label->setTextFormat(Qt::PlainText);
  label->setWordWrap(multi_line);
  label->setAlignment(multi_line ? Qt::AlignHCenter | Qt::AlignTop : Qt::AlignCenter);
  // Filled with the face colour, text in black.
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  return label;
}

QObject* make_control(const ControlDescription& control, QWidget& window) {
  switch (control.kind) {
    case ControlKind::kOneLineEditBox:
      return new SourceBox(&window);
    case ControlKind::kMultiLineEditBox:
      return new ResultBox(&window);
    case ControlKind::kScriptComponent:
      return new ScriptComponent(&window);
    case ControlKind::kPushButton: {
      auto* button = new QPushButton(qstring_from_narrow(control.text), &window);
      button->setAutoDefault(false);
      button->setDefault(false);
      return button;
    }
    case ControlKind::kLabel:
      return make_label(control, window, false);
    case ControlKind::kMultiLineLabel:
      return make_label(control, window, true);
  }
  return nullptr;
}

QFont box_font(const FontDescription& description) {
  // The default face at a fixed pixel height, nothing else set.
  QFont font = QApplication::font();
  font.setPixelSize(description.pixel_height);
  font.setWeight(static_cast<QFont::Weight>(description.weight));
  font.setItalic(false);
  font.setUnderline(false);
  font.setStrikeOut(false);
  return font;
}

void place_control(const ControlDescription& control, QWidget& widget, const QFont& font) {
  const Place& place = control.place;
  widget.setGeometry(place.left, place.top, place.width, place.height);
  widget.setFocusPolicy(control.takes_focus ? Qt::StrongFocus : Qt::NoFocus);
  if (control.font == ControlFont::kBoxFont) widget.setFont(font);
}

bool bind_events(MainWindow& window) {
  for (const EventBinding& binding : window.description().bindings) {
    if (binding.event != Event::kClick) continue;
    auto* button =
        window.findChild<QAbstractButton*>(qt_name(binding.source), Qt::FindDirectChildrenOnly);
    if (button == nullptr) return false;
    const Handler handler = binding.handler;
    QObject::connect(button, &QAbstractButton::clicked, &window,
                     [&window, handler] { handler(window); });
  }
  return true;
}

void raise_created(MainWindow& window) {
  for (const EventBinding& binding : window.description().bindings) {
    if (binding.event == Event::kCreated) binding.handler(window);
  }
}

}  // namespace

MainWindow::MainWindow(const WindowDescription& description) : description_(description) {
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(qt_name(description.caption));
  setWindowIcon(QIcon(qt_name(description.icon)));
  setFixedSize(description.width, description.height);
  setBackgroundRole(QPalette::Window);
  setAutoFillBackground(true);
}

EditBox& MainWindow::edit_box(std::string_view name) const {
  auto* box =
      dynamic_cast<EditBox*>(findChild<QWidget*>(qt_name(name), Qt::FindDirectChildrenOnly));
  if (box == nullptr) throw std::logic_error("no edit box of that name");
  return *box;
}

ScriptHost& MainWindow::script_host() const {
  auto* component =
      findChild<ScriptComponent*>(qt_name(kScriptComponentName), Qt::FindDirectChildrenOnly);
  if (component == nullptr) throw std::logic_error("no script component");
  return component->host();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Escape:
        close();
        return true;
      case Qt::Key_F1:
        return true;
      default:
        break;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  // A window manager reports its frame only after the window is mapped.
  if (isVisible()) fit_frame();
}

void MainWindow::fit_frame() {
  const QWindow* handle = windowHandle();
  if (handle == nullptr) return;
  const QMargins frame = handle->frameMargins();
  if (frame == fitted_frame_) return;
  fitted_frame_ = frame;
  setFixedSize(client_size_within({description_.width, description_.height}, frame));
}

std::unique_ptr<MainWindow> create_main_window(const WindowDescription& description) {
  const QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) return nullptr;
  try {
    auto window = std::make_unique<MainWindow>(description);
    const QRect screen_area = screen->geometry();
    // move() places the frame's corner, as the centring formula means.
    window->move(screen_area.topLeft() +
                 centred_place(screen_area.size(), {description.width, description.height}));
    window->installEventFilter(window.get());

    const QFont font = box_font(description.box_font);
    QWidget* previous_in_focus_order = nullptr;
    for (const ControlDescription& control : description.controls) {
      QObject* object = make_control(control, *window);
      if (object == nullptr) return nullptr;
      object->setObjectName(qt_name(control.name));
      auto* widget = qobject_cast<QWidget*>(object);
      if (widget == nullptr) continue;  // the script component shows nothing
      place_control(control, *widget, font);
      widget->installEventFilter(window.get());
      if (control.takes_focus) {
        if (previous_in_focus_order != nullptr) {
          QWidget::setTabOrder(previous_in_focus_order, widget);
        }
        previous_in_focus_order = widget;
      }
    }
    if (!bind_events(*window)) return nullptr;
    // The commands rely on these; a description without them cannot be built.
    static_cast<void>(window->edit_box(kSourceBoxName));
    static_cast<void>(window->edit_box(kResultBoxName));
    static_cast<void>(window->script_host());
    raise_created(*window);
    return window;
  } catch (const std::exception&) {
    return nullptr;
  }
}

void show_main_window(MainWindow& window) {
  window.show();
  window.raise();
  window.activateWindow();
  window.fit_frame();
}

void on_main_window_created(MainWindow& window) {
  set_box_selection_start(window.edit_box(kSourceBoxName), -1);
}

}  // namespace morvane
