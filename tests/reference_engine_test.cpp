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

// Inputs shaped for the decoders: escapes and references with either case of
// their prefix, runs of one to eight hex, decimal or other word characters,
// with or without ";"; percent escapes of valid UTF-8 in either case; and, in
// some inputs, every kind of broken percent escape.
class DecoderInputs {
 public:
  explicit DecoderInputs(unsigned seed) : random_(seed) {}

  std::u16string next() {
    const int mode = below(3);  // 0: escapes, 1: valid percent escapes, 2: with faults
    std::u16string text;
    for (int n = 1 + below(10); n > 0; --n) {
      const int kind = below(4);
      if (kind == 0) {
        append_plain(text, mode == 0);
      } else if (mode == 0) {
        append_escape(text);
      } else if (mode == 2 && kind == 1) {
        text += pick(kBrokenPercent);
      } else {
        append_percent_utf8(text);
      }
    }
    return text;
  }

 private:
  static constexpr std::u16string_view kPrefixes[] = {u"\\u", u"\\U", u"&#x", u"&#X",  u"&#",
                                                      u"&#",  u"\\",  u"&",   u"\\\\u"};
  static constexpr std::u16string_view kAlphabets[] = {u"0123456789", u"0123456789abcdefABCDEF",
                                                       u"0123456789aAfFgGzZ_"};
  static constexpr std::u16string_view kAfterRun[] = {u";", u";", u"", u" ", u"\u4e2d", u"x;"};
  static constexpr std::u16string_view kBrokenPercent[] = {
      u"%",         u"%4",           u"%G1",          u"%4g",          u"%80",
      u"%bf",       u"%F5%80%80%80", u"%F8%88%80%80", u"%FF",          u"%C0%80",
      u"%C1%BF",    u"%E0%80%80",    u"%e0%9f%bf",    u"%F0%8F%BF%BF", u"%ED%A0%80",
      u"%ed%bf%bf", u"%F4%90%80%80", u"%E4%B8",       u"%E4",          u"%F0%9F%98",
      u"%E4%41%AD", u"%E4x%AD",      u"%E4%B8%",      u"%C3%C3",       u"%ED%A0%BD%ED%B8%80"};

  int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }
  template <std::size_t N>
  std::u16string_view pick(const std::u16string_view (&items)[N]) {
    return items[below(static_cast<int>(N))];
  }

  void append_escape(std::u16string& text) {
    text += pick(kPrefixes);
    const std::u16string_view alphabet = pick(kAlphabets);
    for (int n = 1 + below(8); n > 0; --n)
      text += alphabet[below(static_cast<int>(alphabet.size()))];
    text += pick(kAfterRun);
  }

  // Fragments of the general table; a "%" among them would make nearly every
  // valid percent input fail, so those are left out there.
  void append_plain(std::u16string& text, bool any) {
    const auto& pieces = fragments();
    std::u16string_view piece;
    do {
      piece = pieces[below(static_cast<int>(pieces.size()))];
    } while (!any && piece.find(u'%') != piece.npos);
    text += piece;
  }

  void append_percent_utf8(std::u16string& text) {
    static constexpr char32_t kRanges[][2] = {
        {0x00, 0x7F}, {0x80, 0x7FF}, {0x800, 0xFFFF}, {0x10000, 0x10FFFF}, {0xD7F0, 0xE010}};
    const auto& range = kRanges[below(5)];
    char32_t c = std::uniform_int_distribution<char32_t>(range[0], range[1])(random_);
    if (c >= 0xD800 && c <= 0xDFFF) c = below(2) ? 0xD7FF : 0xE000;
    unsigned char bytes[4];
    int count = 0;
    if (c < 0x80) {
      bytes[count++] = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
      bytes[count++] = static_cast<unsigned char>(0xC0 | c >> 6);
    } else if (c < 0x10000) {
      bytes[count++] = static_cast<unsigned char>(0xE0 | c >> 12);
    } else {
      bytes[count++] = static_cast<unsigned char>(0xF0 | c >> 18);
      bytes[count++] = static_cast<unsigned char>(0x80 | (c >> 12 & 0x3F));
    }
    if (c >= 0x800) bytes[count++] = static_cast<unsigned char>(0x80 | (c >> 6 & 0x3F));
    if (c >= 0x80) bytes[count++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    for (int i = 0; i < count; ++i) {
      const std::u16string_view digits = below(2) ? u"0123456789ABCDEF" : u"0123456789abcdef";
      text += u'%';
      text += digits[bytes[i] >> 4];
      text += digits[bytes[i] & 0xF];
    }
  }

  std::mt19937 random_;
};

std::vector<std::u16string> generate_decoder_inputs(unsigned seed, std::size_t count) {
  DecoderInputs generator(seed);
  std::vector<std::u16string> inputs;
  while (inputs.size() < count) inputs.push_back(generator.next());
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

  std::vector<std::u16string> inputs = generate_inputs(20261211, 2000);
  for (std::u16string& text : generate_decoder_inputs(20261212, 3000)) {
    inputs.push_back(std::move(text));
  }
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
