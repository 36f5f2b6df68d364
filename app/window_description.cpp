#include "window_description.h"

#include <array>

#include "commands.h"
#include "main_window.h"

namespace morvane {
namespace {

using enum ControlKind;
using enum ControlFont;

// Creation order is also the focus order of the controls that take focus.
constexpr std::array kControls{
    ControlDescription{kSourceBoxName, kOneLineEditBox, {130, 10, 560, 30}, "", kBoxFont, true},
    ControlDescription{kScriptComponentName, kScriptComponent, {240, 32, 48, 26}, "", kNone, false},
    ControlDescription{
        "按钮_Unicode", kPushButton, {10, 55, 110, 35}, "转换为Unicode", kGuiFont, true},
    ControlDescription{"标签_原始字符", kLabel, {10, 10, 110, 30}, "原始字符", kBoxFont, false},
    ControlDescription{kResultBoxName, kMultiLineEditBox, {130, 55, 560, 400}, "", kBoxFont, true},
    ControlDescription{"按钮_复制", kPushButton, {700, 56, 80, 32}, "复制", kGuiFont, true},
    ControlDescription{"按钮_粘贴", kPushButton, {700, 10, 80, 30}, "粘贴", kGuiFont, true},
    ControlDescription{"按钮_ASCII", kPushButton, {10, 100, 110, 32}, "转ASCII", kGuiFont, true},
    ControlDescription{"按钮_UTF8", kPushButton, {10, 140, 110, 32}, "转换为UTF-8", kGuiFont, true},
    ControlDescription{
        "按钮_转回汉字", kPushButton, {10, 180, 110, 32}, "↑转回汉字↑", kGuiFont, true},
    ControlDescription{"按钮_URL编码", kPushButton, {10, 220, 110, 32}, "URL编码", kGuiFont, true},
    ControlDescription{"按钮_URL解码", kPushButton, {10, 260, 110, 32}, "URL解码", kGuiFont, true},
    ControlDescription{"标签1",
                       kMultiLineLabel,
                       {700, 271, 80, 56},
                       "自动：\r\n\r\n粘贴，转换，复制",
                       kGuiFont,
                       false},
    ControlDescription{"按钮_UTF1", kPushButton, {702, 422, 65, 32}, "UTF-8", kGuiFont, true},
    ControlDescription{"按钮_ASCII1", kPushButton, {702, 382, 65, 32}, "ASCII", kGuiFont, true},
    ControlDescription{"按钮_Unicode1", kPushButton, {702, 337, 65, 35}, "Unicode", kGuiFont, true},
};

constexpr Handler kConvertUnicode = convert_with<"unicode">;
constexpr Handler kConvertAscii = convert_with<"ASCII">;
constexpr Handler kConvertUtf8 = convert_with<"UTF8">;

constexpr std::array kBindings{
    EventBinding{"", Event::kCreated, on_main_window_created},
    EventBinding{"按钮_Unicode", Event::kClick, kConvertUnicode},
    EventBinding{"按钮_ASCII", Event::kClick, kConvertAscii},
    EventBinding{"按钮_UTF8", Event::kClick, kConvertUtf8},
    EventBinding{"按钮_转回汉字", Event::kClick, convert_with<"reconvert">},
    EventBinding{"按钮_URL编码", Event::kClick, convert_with<"encodeURL">},
    EventBinding{"按钮_URL解码", Event::kClick, convert_with<"decodeURL">},
    EventBinding{"按钮_粘贴", Event::kClick, paste},
    EventBinding{"按钮_复制", Event::kClick, copy},
    EventBinding{"按钮_Unicode1", Event::kClick, paste_convert_copy<kConvertUnicode>},
    EventBinding{"按钮_ASCII1", Event::kClick, paste_convert_copy<kConvertAscii>},
    EventBinding{"按钮_UTF1", Event::kClick, paste_convert_copy<kConvertUtf8>},
};

constexpr WindowDescription kMainWindow{
    .caption = "Morvane",
    .width = 800,
    .height = 500,
    .design_left = 50,
    .design_top = 50,
    .icon = ":/morvane/morvane.svg",
    .box_font = {.pixel_height = 16, .weight = 400},
    .controls = kControls,
    .bindings = kBindings,
};

}  // namespace

const WindowDescription& main_window_description() {
  return kMainWindow;
}

}  // namespace morvane
