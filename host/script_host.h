// The window's script engine: procedures are added by their source text and
// run by name on narrow text. Every failure is a value (false or no text);
// the host stays usable after any of them.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

class ScriptHost {
 public:
  // An available host with no code and an empty procedure list.
  ScriptHost() = default;

  // A host whose engine could not be reached: AddCode gives false and Run no
  // text, for the rest of its life.
  static ScriptHost unavailable();

  [[nodiscard]] bool available() const { return available_; }

  // Makes the procedure that `code` declares runnable. `code` is narrow text,
  // read up to its first zero byte; it must be the source text of a
  // conversion script with a native implementation. Anything else gives false
  // and changes nothing. Adding a text again gives true and keeps one entry.
  bool AddCode(std::string_view code);

  // Runs the procedure named exactly `name` (bytes compared, case counts) on
  // `argument`. No text for an unknown name, a failed run, an unavailable host
  // or an empty result. The result ends before its first U+0000.
  std::optional<std::string> Run(std::string_view name, std::string_view argument) const;

  // The names added so far, in order of first addition.
  [[nodiscard]] const std::vector<std::string>& procedures() const { return procedures_; }

 private:
  bool available_ = true;
  std::vector<std::string> procedures_;
};

}  // namespace morvane
