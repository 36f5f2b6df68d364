// Replays every kept fuzz input (fuzz/regressions/<target>/, plus the seed
// corpora in fuzz/corpus/<target>/) through the same property checks that the
// fuzzers run, so that a fixed finding stays fixed in the ordinary suite.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "fuzz_checks.h"
#include "reference_codecs.h"

namespace {

namespace fs = std::filesystem;
namespace fuzz = morvane::fuzz;

struct KeptInput {
  std::string name;  // unique row name: kind, target and file
  std::string target;
  fs::path file;

  friend void PrintTo(const KeptInput& input, std::ostream* os) { *os << input.file.string(); }
};

std::vector<KeptInput> kept_inputs() {
  const fs::path root = fs::path(MORVANE_FUZZ_DIR);
  std::vector<KeptInput> inputs;
  for (const char* kind : {"regressions", "corpus"}) {
    for (const fuzz::FuzzCheck& check : fuzz::fuzz_checks()) {
      const fs::path dir = root / kind / std::string(check.target);
      if (!fs::is_directory(dir)) continue;
      std::vector<fs::path> files;
      for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file() && entry.path().filename().string()[0] != '.') {
          files.push_back(entry.path());
        }
      }
      std::ranges::sort(files);
      for (const fs::path& file : files) {
        std::string name =
            std::string(kind) + "_" + std::string(check.target) + "_" + file.filename().string();
        std::ranges::replace_if(
            name, [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
        inputs.push_back({std::move(name), std::string(check.target), file});
      }
    }
  }
  return inputs;
}

class FuzzRegressionTest : public testing::TestWithParam<KeptInput> {};

TEST_P(FuzzRegressionTest, PropertiesHold) {
  const KeptInput& input = GetParam();
  const fuzz::FuzzCheck* check = fuzz::find_fuzz_check(input.target);
  ASSERT_NE(check, nullptr);
  std::ifstream in(input.file, std::ios::binary);
  ASSERT_TRUE(in) << input.file;
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};

  const fuzz::CheckResult result = check->check(bytes);
  if (!result.available) GTEST_SKIP() << result.failure;
  EXPECT_EQ(result.failure, "") << "input " << input.file;
}

INSTANTIATE_TEST_SUITE_P(Kept, FuzzRegressionTest, testing::ValuesIn(kept_inputs()),
                         [](const testing::TestParamInfo<KeptInput>& info) {
                           return info.param.name;
                         });

// The references are the fuzzers' oracle: they must get the documented
// examples right, or the fuzzers would chase phantoms or miss faults.
struct UriCase {
  const char* name;
  std::u16string input;
  std::optional<std::u16string> decoded;
  std::size_t failure = 0;

  friend void PrintTo(const UriCase& c, std::ostream* os) { *os << c.name; }
};

class ReferenceUriDecodeTest : public testing::TestWithParam<UriCase> {};

TEST_P(ReferenceUriDecodeTest, DecodesOrFindsTheFault) {
  const UriCase& c = GetParam();
  const fuzz::UriDecoding got = fuzz::decode_uri_component(c.input);
  EXPECT_EQ(got.text, c.decoded);
  if (!c.decoded) {
    EXPECT_EQ(got.failure, c.failure);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReferenceUriDecodeTest,
    testing::Values(UriCase{"cjk_upper", u"%E4%B8%AD%20a%26b", u"\u4e2d a&b"},
                    UriCase{"cjk_lower", u"%e4%b8%ad", u"\u4e2d"},
                    UriCase{"plus_stays", u"a+b", u"a+b"},
                    UriCase{"nul", u"a%00b", std::u16string(u"a\0b", 3)},
                    UriCase{"astral", u"%F0%9F%98%80", u"\U0001F600"}, UriCase{"empty", u"", u""},
                    UriCase{"percent_alone", u"x%", std::nullopt, 1},
                    UriCase{"one_digit", u"%4", std::nullopt, 0},
                    UriCase{"not_hex", u"%G1", std::nullopt, 0},
                    UriCase{"cut_short", u"ab%E4%B8", std::nullopt, 2},
                    UriCase{"cut_by_bad_escape", u"%E4%B8%G0", std::nullopt, 0},
                    UriCase{"continuation_leads", u"%41%80", std::nullopt, 3},
                    UriCase{"encoded_surrogate", u"%ED%A0%80", std::nullopt, 0},
                    UriCase{"overlong", u"%C0%AF", std::nullopt, 0},
                    UriCase{"above_max", u"%F4%90%80%80", std::nullopt, 0},
                    UriCase{"split_by_text", u"%E4x%B8%AD", std::nullopt, 0}),
    [](const testing::TestParamInfo<UriCase>& info) { return info.param.name; });

struct ReconvertCase {
  const char* name;
  std::u16string input;
  std::u16string output;
  bool defined = true;

  friend void PrintTo(const ReconvertCase& c, std::ostream* os) { *os << c.name; }
};

class ReferenceReconvertTest : public testing::TestWithParam<ReconvertCase> {};

TEST_P(ReferenceReconvertTest, RunsTheThreePasses) {
  const ReconvertCase& c = GetParam();
  const fuzz::PassResult got = fuzz::reconvert(c.input);
  EXPECT_EQ(got.defined, c.defined);
  if (c.defined) {
    EXPECT_EQ(got.text, c.output);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReferenceReconvertTest,
    testing::Values(ReconvertCase{"u_escapes", u"\\u4e2d\\u6587", u"\u4e2d\u6587"},
                    ReconvertCase{"decimal", u"&#20013;&#25991;", u"\u4e2d\u6587"},
                    ReconvertCase{"hex_upper_x", u"&#X4e2d;&#x6587;", u"\u4e2d\u6587"},
                    ReconvertCase{"short_u", u"a\\u62c", u"a\u062c"},
                    ReconvertCase{"five_digits", u"\\u12345", u"\u12345"},
                    ReconvertCase{"upper_u", u"\\U0041", u"A"},
                    ReconvertCase{"too_long", u"&#x12345; &#1234567;", u"&#x12345; &#1234567;"},
                    ReconvertCase{"no_semicolon", u"&#x41 \\u \\u\u4e2d", u"&#x41 \\u \\u\u4e2d"},
                    ReconvertCase{"double_backslash", u"\\\\u0041", u"\\A"},
                    ReconvertCase{"pass_one_feeds_three", u"\\u0026#65;", u"A"},
                    ReconvertCase{"pass_three_last", u"&#38;#x41;", u"&#x41;"},
                    ReconvertCase{"backslash_from_three", u"&#92;u0041", u"\\u0041"},
                    ReconvertCase{"wraps", u"&#65601;", u"A"},
                    ReconvertCase{"not_hex", u"\\u4g", u"", false},
                    ReconvertCase{"leading_zero", u"&#0065;", u"", false}),
    [](const testing::TestParamInfo<ReconvertCase>& info) { return info.param.name; });

TEST(ReferenceUtf8Test, ReplacesEachMaximalSubpart) {
  // Unicode's own example (chapter 3, U+FFFD substitution): 61 F1 80 80 E1 80 C2 62 80 63 80 BF 64.
  const std::string bytes = "\x61\xF1\x80\x80\xE1\x80\xC2\x62\x80\x63\x80\xBF\x64";
  EXPECT_EQ(fuzz::decode_utf8_with_replacement(bytes), u"a\uFFFD\uFFFD\uFFFDb\uFFFDc\uFFFD\uFFFDd");
  EXPECT_EQ(fuzz::first_invalid_utf8(bytes), 1u);
  EXPECT_EQ(fuzz::first_invalid_utf8("a\xE4\xB8\xAD\xF0\x9F\x98\x80"), std::nullopt);
  EXPECT_EQ(fuzz::first_invalid_utf8("ab\xED\xA0\x80"), 2u);
}

TEST(ReferenceUtf8Test, FuzzBytesReachLoneSurrogates) {
  const std::uint8_t bytes[] = {'a', 0xED, 0xA0, 0x80, 0xFF, 0xE4, 0xB8, 0xAD};
  EXPECT_EQ(fuzz::units_from_bytes(bytes), u"a\xD800\u00FF\u4e2d");
  EXPECT_EQ(fuzz::encode_utf8_with_replacement(u"a\xD800\U0001F600"),
            "a\xEF\xBF\xBD\xF0\x9F\x98\x80");
  EXPECT_EQ(fuzz::count_lone_surrogates(u"\xDC00\xD83D\xDE00\xD800"), 2u);
}

TEST(ReferenceUriEncodeTest, EscapesAllButTheUnreservedSet) {
  EXPECT_EQ(fuzz::encode_uri_component(u"\u4e2d a&b"), u"%E4%B8%AD%20a%26b");
  EXPECT_EQ(fuzz::encode_uri_component(u"~!*()'-_."), u"~!*()'-_.");
  EXPECT_EQ(fuzz::encode_uri_component(u"@#$&=+,/?:;"), u"%40%23%24%26%3D%2B%2C%2F%3F%3A%3B");
  EXPECT_EQ(fuzz::encode_uri_component(u"\U0001F600"), u"%F0%9F%98%80");
  EXPECT_EQ(fuzz::encode_uri_component(u"a\xD800"), std::nullopt);
  EXPECT_EQ(fuzz::encode_uri_component(u"\xDC00"), std::nullopt);
}

}  // namespace
