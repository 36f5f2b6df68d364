#include "text_codec.h"

#include <gtest/gtest.h>

#include "test_text.h"

namespace morvane {
namespace {

using namespace std::string_literals;

// Fixtures spelled as code units next to their UTF-8 bytes.
struct CodecCase {
  const char* name;
  std::u16string units;
  std::string utf8;

  friend void PrintTo(const CodecCase& c, std::ostream* os) { *os << c.name; }
};

class CodecRoundTripTest : public testing::TestWithParam<CodecCase> {};

TEST_P(CodecRoundTripTest, ConvertsBothWays) {
  const CodecCase& c = GetParam();
  EXPECT_EQ(convert_narrow_to_utf16(c.utf8), c.units)
      << test::dump(convert_narrow_to_utf16(c.utf8));
  EXPECT_EQ(convert_utf16_to_narrow(c.units), c.utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CodecRoundTripTest,
    testing::Values(CodecCase{"empty", u"", ""},
                    CodecCase{"cjk", {0x4E2D, 0x6587}, "\xE4\xB8\xAD\xE6\x96\x87"},
                    CodecCase{"surrogate_pair", {0xD83D, 0xDE00}, "\xF0\x9F\x98\x80"},
                    CodecCase{"zwj_sequence",
                              {0xD83D, 0xDC69, 0x200D, 0xD83D, 0xDCBB},
                              "\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x92\xBB"},
                    CodecCase{"leading_bom_kept",
                              {0xFEFF, 0x41},
                              "\xEF\xBB\xBF"
                              "A"},
                    CodecCase{"crlf", {0x0D, 0x0A}, "\r\n"}),
    [](const testing::TestParamInfo<CodecCase>& info) { return info.param.name; });

TEST(TextCodecTest, NarrowToUtf16StopsAtZeroByteAndReplacesInvalidBytes) {
  EXPECT_EQ(convert_narrow_to_utf16("ab\0cd"s), u"ab");
  EXPECT_EQ(convert_narrow_to_utf16("a\xC3(b"), u"a\uFFFD(b");
  EXPECT_EQ(convert_narrow_to_utf16("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
}

TEST(TextCodecTest, Utf16ToNarrowStopsAtNulAndReplacesLoneSurrogates) {
  EXPECT_EQ(convert_utf16_to_narrow(u"a\0b"s), "a");
  const std::u16string lone_low{u'x', 0xDC00, u'y'};
  const std::u16string lone_high_at_end{u'x', 0xD800};
  EXPECT_EQ(convert_utf16_to_narrow(lone_low), "x\xEF\xBF\xBDy");
  EXPECT_EQ(convert_utf16_to_narrow(lone_high_at_end), "x\xEF\xBF\xBD");
}

TEST(TextCodecTest, WholeTextFormsKeepNulAndCountReplacements) {
  EXPECT_EQ(convert_utf8_to_utf16_with_replacement("a\0b"s), u"a\0b"s);
  const Utf8Output out =
      convert_utf16_to_utf8_with_replacement(u"\0"s + char16_t{0xD800} + u"z" + char16_t{0xDFFF});
  EXPECT_EQ(out.text, "\0\xEF\xBF\xBDz\xEF\xBF\xBD"s);
  EXPECT_EQ(out.replacements, 2u);
}

TEST(TextCodecTest, AsciiPrefixOfAnyLengthThenOtherCharacters) {
  // Prefixes around the block size of the ASCII copy, then a character ICU must transcode.
  for (std::size_t prefix : {0u, 1u, 15u, 16u, 17u, 32u, 47u}) {
    const std::u16string text = std::u16string(prefix, u'a') + u"\u4e2d" + char16_t{0xDC00} + u"b";
    const Utf8Output out = convert_utf16_to_utf8_with_replacement(text);
    EXPECT_EQ(out.text, std::string(prefix, 'a') +
                            "\xE4\xB8\xAD\xEF\xBF\xBD"
                            "b")
        << prefix;
    EXPECT_EQ(out.replacements, 1u);
  }
}

TEST(TextCodecTest, StrictConversionRefusesExactlyWhatIsNotUtf8) {
  const std::string inputs[] = {"",
                                "a\0b"s,
                                "\xE4\xB8\xAD\xF0\x9F\x98\x80",
                                "\xEF\xBF\xBF",
                                "ab\xFF",
                                "abc\xE4\xB8",
                                "\xC0\x80",
                                "x\xED\xA0\x80",
                                "\xF4\x90\x80\x80"};
  for (const std::string& input : inputs) {
    const std::optional<std::u16string> strict = convert_utf8_to_utf16(input);
    EXPECT_EQ(strict.has_value(), !find_invalid_utf8(input).has_value())
        << test::dump(convert_utf8_to_utf16_with_replacement(input));
    if (strict) {
      EXPECT_EQ(*strict, convert_utf8_to_utf16_with_replacement(input));
    }
  }
}

TEST(TextCodecTest, FindInvalidUtf8ReportsTheFirstBadByte) {
  EXPECT_EQ(find_invalid_utf8(""), std::nullopt);
  EXPECT_EQ(find_invalid_utf8("a\0\xE4\xB8\xAD\xF0\x9F\x98\x80"s), std::nullopt);
  EXPECT_EQ(find_invalid_utf8("ab\xFF"), 2u);
  EXPECT_EQ(find_invalid_utf8("abc\xE4\xB8"), 3u);                   // cut short
  EXPECT_EQ(find_invalid_utf8("\xC0\x80"), 0u);                      // overlong NUL
  EXPECT_EQ(find_invalid_utf8("x\xED\xA0\x80"), 1u);                 // encoded surrogate
  EXPECT_EQ(find_invalid_utf8("\xE4\xB8\xAD\xF4\x90\x80\x80"), 3u);  // above U+10FFFF
}

}  // namespace
}  // namespace morvane
