// Runs each record's source text in node on generated inputs and compares the
// result unit for unit with the native procedure. A native failure must happen
// exactly where node throws.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "conversion_script.h"
#include "native_procedures.h"
#include "test_text.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;

// Pieces the generated inputs are built from: text users paste, and the
// shapes each procedure treats specially.
const std::vector<std::u16string>& fragments() {
  static const std::vector<std::u16string> pieces = {
      u"",
      u"a",
      u"Z",
      u"0",
      u"9",
      u" ",
      u"\t",
      u"\r\n",
      u"\n",
      u"~",
      u"%",
      u";",
      u"&",
      u"#",
      u"\\",
      u"\u4e2d",
      u"\u6587",
      u"\u00e9",
      u"\U0001F600",
      u"\U00010000",
      u"\uffff",
      std::u16string(1, u'\0'),
      std::u16string(1, char16_t{0xD800}),
      std::u16string(1, char16_t{0xDFFF}),
      u"-_.!*'()",
      u"@=+,/?:",
  };
  return pieces;
}

std::vector<std::u16string> generate_inputs(unsigned seed, std::size_t count) {
  std::mt19937 random(seed);
  const auto& pieces = fragments();
  std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
  std::uniform_int_distribution<int> length(0, 12);
  std::vector<std::u16string> inputs = {u""};
  while (inputs.size() < count) {
    std::u16string text;
    for (int n = length(random); n > 0; --n) text += pieces[pick(random)];
    inputs.push_back(std::move(text));
  }
  return inputs;
}

std::string to_hex_line(std::u16string_view text) {
  std::ostringstream out;
  out << std::hex;
  for (std::size_t i = 0; i < text.size(); ++i) out << (i ? "," : "") << unsigned{text[i]};
  return out.str();
}

bool node_available() {
  return std::system("node --version > /dev/null 2>&1") == 0;
}

}  // namespace

// Names the procedure in test output instead of dumping its bytes.
void PrintTo(const NativeProcedure& p, std::ostream* os) {
  *os << p.name;
}

namespace {

class ReferenceEngineTest : public testing::TestWithParam<NativeProcedure> {};

TEST_P(ReferenceEngineTest, NativeProcedureMatchesItsRecordTextInNode) {
  if (!node_available()) GTEST_SKIP() << "node is not on the PATH; reference comparison skipped";
  const NativeProcedure& procedure = GetParam();
  const ConversionScript* script = find_conversion_script(procedure.name);
  ASSERT_NE(script, nullptr);

  const fs::path dir =
      fs::path(testing::TempDir()) / ("morvane_ref_" + std::string(procedure.name));
  fs::create_directories(dir);
  const fs::path source = dir / "source.js", input = dir / "input.txt", output = dir / "output.txt";
  std::ofstream(source, std::ios::binary) << script->source;

  const std::vector<std::u16string> inputs = generate_inputs(20261211, 2000);
  {
    std::ofstream in(input, std::ios::binary);
    for (const auto& text : inputs) in << to_hex_line(text) << '\n';
  }
  const std::string command = "node \"" MORVANE_TESTS_DIR "/reference/run_record.js\" \"" +
                              source.string() + "\" " + std::string(procedure.name) + " \"" +
                              input.string() + "\" > \"" + output.string() + "\"";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;

  std::ifstream out(output, std::ios::binary);
  std::string expected;
  int mismatches = 0;
  for (const auto& text : inputs) {
    ASSERT_TRUE(std::getline(out, expected)) << "node gave fewer results than inputs";
    const ConvertResult native = procedure.run(text);
    const std::string actual = native.ok() ? to_hex_line(native.text) : "!";
    if (actual != expected && ++mismatches <= 5) {
      ADD_FAILURE() << procedure.name << " on \"" << test::dump(text)
                    << "\"\n  native: " << (native.ok() ? test::dump(native.text) : "failure")
                    << "\n  node:   " << expected;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryProcedure, ReferenceEngineTest,
                         testing::ValuesIn(native_procedures().begin(), native_procedures().end()),
                         [](const testing::TestParamInfo<NativeProcedure>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace morvane
