#include "script_host.h"

#include <gtest/gtest.h>

#include <string>

#include "conversion_script.h"
#include "native_procedures.h"

namespace morvane {
namespace {

std::string source_of(std::string_view name) {
  const ConversionScript* script = find_conversion_script(name);
  EXPECT_NE(script, nullptr) << name;
  return script ? std::string(script->source) : std::string();
}

TEST(ConversionScriptTest, RecordsAreLaidOutAsTheHostExpects) {
  ASSERT_EQ(conversion_scripts().size(), 6u);
  for (const ConversionScript& script : conversion_scripts()) {
    SCOPED_TRACE(std::string(script.name));
    const std::string_view text = script.source;
    EXPECT_TRUE(text.starts_with("function " + std::string(script.name) + "(str){ \r\n"));
    EXPECT_EQ(text.find('\0'), std::string_view::npos);
    for (std::size_t i = 0; i < text.size(); ++i) {
      const auto byte = static_cast<unsigned char>(text[i]);
      ASSERT_LT(byte, 0x80) << "non-ASCII byte at " << i;
      if (byte == '\n') {
        ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << "lone LF at " << i;
      }
      if (byte == '\r') {
        ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << "lone CR at " << i;
      }
    }
    EXPECT_TRUE(text.ends_with(script.name == "reconvert" ? "} " : "} \r\n"));
  }
  EXPECT_EQ(find_conversion_script("ascii"), nullptr);
}

TEST(ScriptHostTest, RunBeforeAnyAddCodeGivesNoText) {
  ScriptHost host;
  EXPECT_EQ(host.Run("ASCII", "A"), std::nullopt);
  EXPECT_TRUE(host.procedures().empty());
}

TEST(ScriptHostTest, NamesMatchExactlyByteForByte) {
  ScriptHost host;
  ASSERT_TRUE(host.AddCode(source_of("ASCII")));
  EXPECT_EQ(host.Run("ASCII", "A"), "\\u0041");
  EXPECT_EQ(host.Run("ascii", "A"), std::nullopt);
  EXPECT_EQ(host.Run("ASCII ", "A"), std::nullopt);
  EXPECT_EQ(host.Run("", "A"), std::nullopt);
}

TEST(ScriptHostTest, EarlierCodeStaysAndReAddingKeepsOneEntry) {
  ScriptHost host;
  ASSERT_TRUE(host.AddCode(source_of("ASCII")));
  ASSERT_TRUE(host.AddCode(source_of("UTF8")));
  ASSERT_TRUE(host.AddCode(source_of("ASCII")));
  EXPECT_EQ(host.procedures(), (std::vector<std::string>{"ASCII", "UTF8"}));
  EXPECT_EQ(host.Run("ASCII", "中"), "\\u4e2d");
  EXPECT_EQ(host.Run("UTF8", "中"), "&#x4e2d;");
}

TEST(ScriptHostTest, RefusedTextChangesNothing) {
  ScriptHost host;
  ASSERT_TRUE(host.AddCode(source_of("unicode")));
  const std::string ascii = source_of("ASCII");
  const std::string refused[] = {
      "function ASCII(str){ return str; ",                   // syntax error
      ascii.substr(0, ascii.size() - 1),                     // a record cut short
      "function nothing(str){ \r\n  return str;\r\n} \r\n",  // no such procedure
      "",
  };
  for (const std::string& code : refused) {
    EXPECT_FALSE(host.AddCode(code)) << code;
  }
  EXPECT_EQ(host.procedures(), std::vector<std::string>{"unicode"});
  EXPECT_EQ(host.Run("unicode", "A"), "&#65;");
  EXPECT_EQ(host.Run("ASCII", "A"), std::nullopt);
}

TEST(ScriptHostTest, CodeIsReadUpToItsFirstZeroByte) {
  ScriptHost host;
  EXPECT_TRUE(host.AddCode(source_of("ASCII") + std::string(1, '\0') + "garbage"));
  EXPECT_EQ(host.Run("ASCII", "A"), "\\u0041");
}

TEST(ScriptHostTest, EveryNativeProcedureCanBeAddedByItsRecord) {
  ScriptHost host;
  for (const NativeProcedure& procedure : native_procedures()) {
    EXPECT_TRUE(host.AddCode(source_of(procedure.name))) << procedure.name;
  }
  EXPECT_EQ(host.procedures().size(), native_procedures().size());
}

TEST(ScriptHostTest, UnavailableHostRefusesEverything) {
  ScriptHost host = ScriptHost::unavailable();
  EXPECT_FALSE(host.available());
  EXPECT_FALSE(host.AddCode(source_of("ASCII")));
  EXPECT_EQ(host.Run("ASCII", "A"), std::nullopt);
  EXPECT_TRUE(host.procedures().empty());
}

struct CrossingCase {
  const char* name;
  std::string procedure;
  std::string argument;
  std::optional<std::string> expected;

  friend void PrintTo(const CrossingCase& c, std::ostream* os) { *os << c.name; }
};

class CrossingTest : public testing::TestWithParam<CrossingCase> {};

TEST_P(CrossingTest, RunCrossesNarrowTextBothWays) {
  const CrossingCase& c = GetParam();
  ScriptHost host;
  for (const NativeProcedure& procedure : native_procedures()) {
    host.AddCode(source_of(procedure.name));
  }
  EXPECT_EQ(host.Run(c.procedure, c.argument), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CrossingTest,
    testing::Values(CrossingCase{"empty_argument_gives_no_text", "ASCII", "", std::nullopt},
                    CrossingCase{"argument_ends_at_zero_byte", "unicode", std::string("a\0b", 3),
                                 "&#97;"},
                    CrossingCase{"astral_argument_is_two_units", "UTF8", "\xF0\x9F\x98\x80",
                                 "&#xd83d;&#xde00;"},
                    CrossingCase{"invalid_utf8_becomes_fffd", "ASCII", "a\xFF", "\\u0061\\ufffd"},
                    CrossingCase{"leading_bom_is_a_character", "unicode",
                                 "\xEF\xBB\xBF"
                                 "A",
                                 "&#65279;&#65;"}),
    [](const testing::TestParamInfo<CrossingCase>& info) { return info.param.name; });

}  // namespace
}  // namespace morvane

namespace morvane {
namespace {

// Front ends convert per-unit procedures slice by slice; that must not change
// the result wherever the text is cut, a surrogate pair included.
TEST(NativeProceduresTest, PerUnitProceduresGiveTheSameResultInPieces) {
  const std::u16string text = u"a\u4e2d\U0001F600\r\n\uffff" + std::u16string(1, u'\0') + u"z";
  for (const NativeProcedure& procedure : native_procedures()) {
    if (!procedure.per_unit) continue;
    const ConvertResult whole = procedure.run(text);
    ASSERT_TRUE(whole.ok()) << procedure.name;
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
      const std::u16string_view view = text;
      EXPECT_EQ(procedure.run(view.substr(0, cut)).text + procedure.run(view.substr(cut)).text,
                whole.text)
          << procedure.name << " cut at " << cut;
    }
  }
}

}  // namespace
}  // namespace morvane
