// The main window as constant data: the window's own settings, its sixteen
// controls in creation order, and which event of which control runs which
// handler. The builder lays out nothing that is not written here.
#pragma once

#include <span>
#include <string_view>

namespace morvane {

class MainWindow;

// Handlers and commands are plain routines of the window they run in.
using Handler = void (*)(MainWindow& window);

enum class ControlKind {
  kOneLineEditBox,    // the source box
  kMultiLineEditBox,  // the result box
  kScriptComponent,   // the script host; a child object that shows nothing
  kPushButton,
  kLabel,           // one line, centred both ways
  kMultiLineLabel,  // wrapped at its width, centred, from the top
};

enum class ControlFont {
  kNone,     // the control shows no text
  kBoxFont,  // the window's 16-pixel font
  kGuiFont,  // the platform's default GUI font
};

struct Place {
  int left;
  int top;
  int width;
  int height;
};

struct ControlDescription {
  std::string_view name;  // also the object name
  ControlKind kind;
  Place place;            // client-area pixels
  std::string_view text;  // UTF-8
  ControlFont font;
  bool takes_focus;
};

enum class Event { kCreated, kClick };

struct EventBinding {
  std::string_view source;  // a control's name; empty for the window itself
  Event event;
  Handler handler;
};

struct FontDescription {
  int pixel_height;
  int weight;
};

struct WindowDescription {
  std::string_view caption;
  int width;  // whole window, frame and title bar included
  int height;
  int design_left;  // kept from the design; the window is centred instead
  int design_top;
  std::string_view icon;  // Qt resource path
  FontDescription box_font;
  std::span<const ControlDescription> controls;
  std::span<const EventBinding> bindings;
};

const WindowDescription& main_window_description();

// Names the window layer and the commands address controls by.
inline constexpr std::string_view kSourceBoxName = "编辑框0";
inline constexpr std::string_view kResultBoxName = "编辑框1";
inline constexpr std::string_view kScriptComponentName = "脚本组件";

}  // namespace morvane
