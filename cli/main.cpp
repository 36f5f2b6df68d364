// morvane-convert: runs one conversion procedure on a file or standard input
// and writes the whole result as UTF-8. Nothing is lost: U+0000 and a leading
// U+FEFF are characters like any other.
#include <cstdio>
#include <iostream>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "conversion_script.h"
#include "convert_input.h"
#include "native_procedures.h"

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

// Reads a whole stream; the size of a regular file is known up front.
std::optional<std::string> read_all(std::FILE* in) {
  std::string bytes;
  if (std::fseek(in, 0, SEEK_END) == 0) {
    const long size = std::ftell(in);
    if (size > 0) bytes.reserve(static_cast<std::size_t>(size));
    std::rewind(in);
  }
  std::clearerr(in);
  char buffer[1 << 16];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, in)) > 0) bytes.append(buffer, n);
  if (std::ferror(in)) return std::nullopt;
  return bytes;
}

std::optional<std::string> read_input(std::string_view path) {
  if (path == "-") return read_all(stdin);
  std::FILE* file = std::fopen(std::string(path).c_str(), "rb");
  if (file == nullptr) return std::nullopt;
  std::optional<std::string> bytes = read_all(file);
  std::fclose(file);
  return bytes;
}

int run(std::string_view name, std::string_view path) {
  const morvane::NativeProcedure* procedure = morvane::find_native_procedure(name);
  if (procedure == nullptr) return usage_error("unknown procedure '" + std::string(name) + "'");

  std::optional<std::string> input = read_input(path);
  if (!input) return usage_error("cannot read '" + std::string(path) + "'");
  const morvane::ConvertedInput converted =
      morvane::convert_utf8_input(*procedure, std::move(*input), [](std::string_view bytes) {
        return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
      });
  if (converted.status == morvane::InputStatus::invalid_utf8) {
    std::cerr << "morvane-convert: input is not valid UTF-8 at byte " << converted.position << '\n';
    return kExitFailure;
  }
  if (converted.status == morvane::InputStatus::procedure_failed) {
    std::cerr << "morvane-convert: " << name << ": " << morvane::to_string(converted.error)
              << " at unit " << converted.position << '\n';
    return kExitFailure;
  }
  if (converted.status == morvane::InputStatus::write_failed || std::fflush(stdout) != 0) {
    std::cerr << "morvane-convert: cannot write the result\n";
    return kExitFailure;
  }
  if (converted.replacements > 0) {
    std::cerr << "morvane-convert: warning: " << converted.replacements
              << " lone surrogate(s) written as U+FFFD\n";
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
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
