// morvane-convert: runs one conversion procedure on a file or standard input
// and writes the whole result as UTF-8. Nothing is lost: U+0000 and a leading
// U+FEFF are characters like any other.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <span>
#include <sstream>
#include <string>
#include <string_view>

#include "conversion_script.h"
#include "native_procedures.h"
#include "text_codec.h"

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void print_usage(std::ostream& out) {
  out << "usage: morvane-convert PROCEDURE [FILE]\n"
         "       morvane-convert --list | --source PROCEDURE | --help\n"
         "\n"
         "Runs PROCEDURE on FILE (standard input when FILE is missing or \"-\") and\n"
         "writes the result to standard output as UTF-8, adding no newline.\n"
         "The input must be valid UTF-8.\n"
         "\n"
         "  --list               print the procedure names, one a line\n"
         "  --source PROCEDURE   print the procedure's ECMAScript source text\n"
         "  --help               print this help\n"
         "\n"
         "Procedures:";
  for (const auto& procedure : morvane::native_procedures()) out << ' ' << procedure.name;
  out << '\n';
}

int usage_error(std::string_view message) {
  std::cerr << "morvane-convert: " << message << '\n';
  print_usage(std::cerr);
  return kExitUsage;
}

std::optional<std::string> read_all(std::istream& in) {
  std::ostringstream buffer;
  buffer << in.rdbuf();
  if (in.bad()) return std::nullopt;
  return std::move(buffer).str();
}

std::optional<std::string> read_input(std::string_view path) {
  if (path == "-") return read_all(std::cin);
  std::ifstream file{std::string(path), std::ios::binary};
  if (!file) return std::nullopt;
  return read_all(file);
}

int run(std::string_view name, std::string_view path) {
  const morvane::NativeProcedure* procedure = morvane::find_native_procedure(name);
  if (procedure == nullptr) return usage_error("unknown procedure '" + std::string(name) + "'");

  std::optional<std::string> input = read_input(path);
  if (!input) return usage_error("cannot read '" + std::string(path) + "'");
  if (const auto bad = morvane::find_invalid_utf8(*input)) {
    std::cerr << "morvane-convert: input is not valid UTF-8 at byte " << *bad << '\n';
    return kExitFailure;
  }
  std::u16string text = morvane::convert_utf8_to_utf16_with_replacement(*input);
  input.reset();  // keep the peak down on large inputs

  morvane::ConvertResult result = procedure->run(text);
  text = {};
  if (!result.ok()) {
    std::cerr << "morvane-convert: " << name << ": " << morvane::to_string(result.error)
              << " at unit " << result.position << '\n';
    return kExitFailure;
  }
  const morvane::Utf8Output output = morvane::convert_utf16_to_utf8_with_replacement(result.text);
  result.text = {};
  std::cout.write(output.text.data(), static_cast<std::streamsize>(output.text.size()));
  std::cout.flush();
  if (!std::cout) {
    std::cerr << "morvane-convert: cannot write the result\n";
    return kExitFailure;
  }
  if (output.replacements > 0) {
    std::cerr << "morvane-convert: warning: " << output.replacements
              << " lone surrogate(s) written as U+FFFD\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  const std::span<char*> args(argv + 1, static_cast<std::size_t>(argc > 0 ? argc - 1 : 0));
  if (args.empty()) return usage_error("missing PROCEDURE");
  const std::string_view first = args[0];
  if (first == "--help" || first == "-h") {
    print_usage(std::cout);
    return 0;
  }
  if (first == "--list") {
    if (args.size() != 1) return usage_error("--list takes no argument");
    for (const auto& procedure : morvane::native_procedures()) std::cout << procedure.name << '\n';
    return 0;
  }
  if (first == "--source") {
    if (args.size() != 2) return usage_error("--source takes one PROCEDURE");
    const morvane::ConversionScript* script = morvane::find_conversion_script(args[1]);
    if (script == nullptr) return usage_error("unknown procedure '" + std::string(args[1]) + "'");
    std::cout << script->source;
    return 0;
  }
  if (first.starts_with("-")) return usage_error("unknown option '" + std::string(first) + "'");
  if (args.size() > 2) return usage_error("too many arguments");
  return run(first, args.size() == 2 ? std::string_view(args[1]) : std::string_view("-"));
}
