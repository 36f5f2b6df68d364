// The command-line companion, run as a real process: exit codes, exact
// stdout bytes and the stderr line.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;

struct CliRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

// Runs morvane-convert with `args` (already shell-quoted) and `input` on stdin.
CliRun run_cli(const std::string& args, const std::string& input = "") {
  // ctest runs tests in parallel: each test gets a folder of its own.
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string leaf = std::string("morvane_cli_") + info->test_suite_name() + "_" + info->name();
  for (char& c : leaf) c = (c == '/') ? '_' : c;
  const fs::path dir = fs::path(testing::TempDir()) / leaf;
  fs::create_directories(dir);
  std::ofstream(dir / "in", std::ios::binary) << input;
  const std::string command = "\"" MORVANE_CLI_PATH "\" " + args + " < \"" + (dir / "in").string() +
                              "\" > \"" + (dir / "out").string() + "\" 2> \"" +
                              (dir / "err").string() + "\"";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(dir / "out"), slurp(dir / "err")};
}

struct CliCase {
  const char* name;
  std::string args;
  std::string input;
  std::string out;

  friend void PrintTo(const CliCase& c, std::ostream* os) { *os << c.name; }
};

class CliConvertTest : public testing::TestWithParam<CliCase> {};

TEST_P(CliConvertTest, WritesTheWholeResultWithoutNewline) {
  const CliCase& c = GetParam();
  const CliRun run = run_cli(c.args, c.input);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, c.out);
  EXPECT_EQ(run.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Table, CliConvertTest,
    testing::Values(CliCase{"ascii_from_stdin", "ASCII",
                            "\xE4\xB8\xAD"
                            "A",
                            "\\u4e2d\\u0041"},
                    CliCase{"unicode_with_dash", "unicode -", "\xE4\xB8\xAD", "&#20013;"},
                    CliCase{"nul_goes_through", "UTF8", "a\0b"s, "&#x0061;&#x0000;&#x0062;"},
                    CliCase{"leading_bom_is_kept", "unicode", "\xEF\xBB\xBF", "&#65279;"},
                    CliCase{"trailing_newline_is_input", "unicode", "\n", "&#10;"},
                    CliCase{"empty_input", "ASCII", "", ""},
                    CliCase{"reconvert_mixed", "reconvert", "\\u4e2d&#x6587;&#65;C:\\users",
                            "\xE4\xB8\xAD\xE6\x96\x87"
                            "AC:\\users"},
                    CliCase{"reconvert_keeps_nul", "reconvert", "a\\u0000b", "a\0b"s},
                    CliCase{"encode_url", "encodeURL", "\xE4\xB8\xAD a&b", "%E4%B8%AD%20a%26b"},
                    CliCase{"decode_url_keeps_plus_and_nul", "decodeURL", "a+b%00c%F0%9F%98%80",
                            "a+b\0c\xF0\x9F\x98\x80"s},
                    CliCase{"decode_url_empty", "decodeURL", "", ""}),
    [](const testing::TestParamInfo<CliCase>& info) { return info.param.name; });

TEST(CliTest, ReadsANamedFile) {
  const fs::path file = fs::path(testing::TempDir()) / "morvane_cli_named_file.txt";
  std::ofstream(file, std::ios::binary) << "\xF0\x9F\x98\x80";
  const CliRun run = run_cli("UTF8 \"" + file.string() + "\"");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "&#xd83d;&#xde00;");
}

TEST(CliTest, InvalidUtf8FailsWithItsByteOffsetAndNoOutput) {
  const CliRun run = run_cli("ASCII", "ab\xE4\xB8");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "morvane-convert: input is not valid UTF-8 at byte 2\n");
}

TEST(CliTest, UsageErrorsExitTwoWithUsageOnStderr) {
  for (const std::string args : {"", "ascii", "--bogus", "ASCII a b", "ASCII /nonexistent/file"}) {
    SCOPED_TRACE(args);
    const CliRun run = run_cli(args, "x");
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("usage: morvane-convert PROCEDURE [FILE]"), std::string::npos);
  }
}

TEST(CliTest, HelpListAndSourceGoToStdout) {
  const CliRun help = run_cli("--help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage:"), std::string::npos);

  const CliRun list = run_cli("--list");
  EXPECT_EQ(list.status, 0);
  EXPECT_TRUE(list.out.starts_with("ASCII\nunicode\nUTF8\n")) << list.out;

  const CliRun source = run_cli("--source ASCII");
  EXPECT_EQ(source.status, 0);
  EXPECT_TRUE(source.out.starts_with("function ASCII(str){ \r\n")) << source.out;
}

// A failed procedure: the reason and the UTF-16 unit where it lies, and
// nothing on stdout.
TEST(CliTest, ProcedureFailureNamesReasonAndUnit) {
  const struct {
    std::string input, err;
  } rows[] = {
      {"%E4%B8", "morvane-convert: decodeURL: incomplete UTF-8 sequence at unit 6\n"},
      {"ab%G1",
       "morvane-convert: decodeURL: '%' not followed by two hexadecimal digits at unit 2\n"},
      // Units, not bytes: the emoji is two units, four bytes.
      {"\xF0\x9F\x98\x80%ED%A0%80", "morvane-convert: decodeURL: encoded surrogate at unit 2\n"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.input);
    const CliRun run = run_cli("decodeURL", row.input);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, row.err);
  }
}

TEST(CliTest, DecodedLoneSurrogateIsWrittenAsReplacementWithWarning) {
  const CliRun run = run_cli("reconvert", "\\ud800!");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "\xEF\xBF\xBD!");
  EXPECT_EQ(run.err, "morvane-convert: warning: 1 lone surrogate(s) written as U+FFFD\n");
}

}  // namespace
