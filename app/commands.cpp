#include "commands.h"

#include <optional>
#include <string>

#include "clipboard.h"
#include "conversion_script.h"
#include "main_window.h"
#include "text_boxes.h"

namespace morvane {

void convert_with(MainWindow& window, std::string_view procedure) {
  ScriptHost& host = window.script_host();
  // The result is not looked at: a failed AddCode shows as a failed Run.
  if (const ConversionScript* script = find_conversion_script(procedure)) {
    host.AddCode(script->source);
  }
  const std::optional<std::string> source = read_box_text(window.edit_box(kSourceBoxName));
  const std::optional<std::string> result = host.Run(procedure, source.value_or(std::string()));
  write_box_text(window.edit_box(kResultBoxName), result);
}

void paste(MainWindow& window) {
  write_box_text(window.edit_box(kSourceBoxName), get_clipboard_text());
}

void copy(MainWindow& window) {
  const std::optional<std::string> result = read_box_text(window.edit_box(kResultBoxName));
  put_clipboard_text(result.value_or(std::string()));
}

}  // namespace morvane
