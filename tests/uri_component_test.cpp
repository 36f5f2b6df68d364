#include "uri_component.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "conversion_script.h"
#include "script_host.h"
#include "test_text.h"

namespace morvane {
namespace {

using namespace std::string_literals;

// Text and its encoding; every row is checked in both directions.
struct CodecCase {
  const char* name;
  std::u16string text;
  std::u16string encoded;

  friend void PrintTo(const CodecCase& c, std::ostream* os) { *os << c.name; }
};

class UriCodecTest : public testing::TestWithParam<CodecCase> {};

TEST_P(UriCodecTest, EncodesAndDecodesBack) {
  const CodecCase& c = GetParam();
  const ConvertResult encoded = encode_uri_component(c.text);
  ASSERT_TRUE(encoded.ok()) << to_string(encoded.error) << " at " << encoded.position;
  EXPECT_EQ(encoded.text, c.encoded) << test::dump(encoded.text);
  const ConvertResult decoded = decode_uri_component(c.encoded);
  ASSERT_TRUE(decoded.ok()) << to_string(decoded.error) << " at " << decoded.position;
  EXPECT_EQ(decoded.text, c.text) << test::dump(decoded.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, UriCodecTest,
    testing::Values(
        CodecCase{"empty", u"", u""},
        CodecCase{"cjk_space_ampersand", u"\u4e2d a&b", u"%E4%B8%AD%20a%26b"},
        CodecCase{"unreserved_stay", u"AZaz09-_.!~*'()", u"AZaz09-_.!~*'()"},
        CodecCase{"reserved_are_escaped", u"@#$&=+,/?:;", u"%40%23%24%26%3D%2B%2C%2F%3F%3A%3B"},
        CodecCase{"percent_and_backslash", u"%\\", u"%25%5C"},
        CodecCase{"controls_and_del", u"\0\t\x7f"s, u"%00%09%7F"},
        CodecCase{"two_byte_bounds", u"\x80\u07ff", u"%C2%80%DF%BF"},
        CodecCase{"three_byte_bounds", u"\u0800\ud7ff\ue000\uffff",
                  u"%E0%A0%80%ED%9F%BF%EE%80%80%EF%BF%BF"},
        CodecCase{"four_byte_bounds", u"\U00010000\U0010FFFF", u"%F0%90%80%80%F4%8F%BF%BF"},
        CodecCase{"astral_between_ascii", u"a\U0001F600b", u"a%F0%9F%98%80b"}),
    [](const testing::TestParamInfo<CodecCase>& info) { return info.param.name; });

struct DecodeCase {
  const char* name;
  std::u16string input;
  std::u16string expected;

  friend void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }
};

class DecodeUriTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeUriTest, AcceptsWhatTheEncoderNeverWrites) {
  const DecodeCase& c = GetParam();
  const ConvertResult decoded = decode_uri_component(c.input);
  ASSERT_TRUE(decoded.ok()) << to_string(decoded.error) << " at " << decoded.position;
  EXPECT_EQ(decoded.text, c.expected) << test::dump(decoded.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DecodeUriTest,
    testing::Values(DecodeCase{"lower_case_hex", u"%e4%b8%ad", u"\u4e2d"},
                    DecodeCase{"mixed_case_hex", u"%e4%B8%aD%2f", u"\u4e2d/"},
                    DecodeCase{"plus_stays_plus", u"a+b", u"a+b"},
                    DecodeCase{"reserved_escapes_decode_too", u"%2F%26%3F%23", u"/&?#"},
                    DecodeCase{"decoded_percent_not_decoded_again", u"%2541", u"%41"},
                    DecodeCase{"unescaped_text_copied", u"\u4e2d !'\U0001F600",
                               u"\u4e2d !'\U0001F600"},
                    DecodeCase{"lone_surrogate_units_copied", u"\xd800%41\xdc00",
                               u"\xd800"
                               u"A\xdc00"},
                    DecodeCase{"nul_escape", u"a%00b", u"a\0b"s}),
    [](const testing::TestParamInfo<DecodeCase>& info) { return info.param.name; });

struct FailureCase {
  const char* name;
  std::u16string input;
  ConvertError error;
  std::size_t position;

  friend void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }
};

std::string failure_row(const testing::TestParamInfo<FailureCase>& info) {
  return info.param.name;
}

class DecodeUriFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(DecodeUriFailureTest, FailsWithReasonAtPosition) {
  const FailureCase& c = GetParam();
  const ConvertResult result = decode_uri_component(c.input);
  EXPECT_EQ(result.error, c.error) << to_string(result.error);
  EXPECT_EQ(result.position, c.position);
  EXPECT_EQ(result.text, u"");
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, DecodeUriFailureTest,
    testing::Values(
        FailureCase{"percent_alone", u"%", ConvertError::malformed_percent_escape, 0},
        FailureCase{"one_digit", u"%4", ConvertError::malformed_percent_escape, 0},
        FailureCase{"first_not_hex", u"%G1", ConvertError::malformed_percent_escape, 0},
        FailureCase{"second_not_hex", u"%4g", ConvertError::malformed_percent_escape, 0},
        FailureCase{"percent_after_text", u"ab%", ConvertError::malformed_percent_escape, 2},
        FailureCase{"percent_percent", u"%%41", ConvertError::malformed_percent_escape, 0},
        FailureCase{"non_ascii_digits", u"%\u0664\u0661", ConvertError::malformed_percent_escape,
                    0},
        FailureCase{"fullwidth_digits", u"%\uff14\uff11", ConvertError::malformed_percent_escape,
                    0},
        FailureCase{"continuation_escape_cut", u"%E4%B8%", ConvertError::malformed_percent_escape,
                    6},
        FailureCase{"continuation_escape_not_hex", u"%E4%X8%AD",
                    ConvertError::malformed_percent_escape, 3},
        FailureCase{"after_long_valid_prefix", u"\u4e2d%E4%B8%ADabc%41%%%%%%",
                    ConvertError::malformed_percent_escape, 16}),
    failure_row);

INSTANTIATE_TEST_SUITE_P(
    BadUtf8, DecodeUriFailureTest,
    testing::Values(
        FailureCase{"continuation_as_lead", u"%80", ConvertError::invalid_utf8_lead_byte, 0},
        FailureCase{"last_continuation_as_lead", u"a%BF", ConvertError::invalid_utf8_lead_byte, 1},
        FailureCase{"stray_continuation_after_sequence", u"%C3%A9%A9",
                    ConvertError::invalid_utf8_lead_byte, 6},
        FailureCase{"lead_above_f4", u"%F5%80%80%80", ConvertError::invalid_utf8_lead_byte, 0},
        FailureCase{"lead_ff", u"%FF", ConvertError::invalid_utf8_lead_byte, 0},
        FailureCase{"cut_at_end", u"%E4%B8", ConvertError::incomplete_utf8_sequence, 6},
        FailureCase{"lead_alone", u"%C3", ConvertError::incomplete_utf8_sequence, 3},
        FailureCase{"four_byte_cut", u"x%F0%9F%98", ConvertError::incomplete_utf8_sequence, 10},
        FailureCase{"text_inside_sequence", u"%E4x%B8%AD", ConvertError::incomplete_utf8_sequence,
                    3},
        FailureCase{"plus_inside_sequence", u"%E4%B8+%AD", ConvertError::incomplete_utf8_sequence,
                    6},
        FailureCase{"ascii_as_continuation", u"%E4%41%AD", ConvertError::invalid_utf8_continuation,
                    3},
        FailureCase{"lead_as_continuation", u"%C3%C3%A9", ConvertError::invalid_utf8_continuation,
                    3},
        FailureCase{"last_continuation_bad", u"%F0%9F%98%20",
                    ConvertError::invalid_utf8_continuation, 9},
        FailureCase{"overlong_nul", u"%C0%80", ConvertError::overlong_utf8_sequence, 0},
        FailureCase{"overlong_two_byte", u"ab%C1%BF", ConvertError::overlong_utf8_sequence, 2},
        FailureCase{"overlong_three_byte", u"%E0%9F%BF", ConvertError::overlong_utf8_sequence, 0},
        FailureCase{"overlong_four_byte", u"%F0%8F%BF%BF", ConvertError::overlong_utf8_sequence, 0},
        FailureCase{"encoded_high_surrogate", u"%ED%A0%80", ConvertError::encoded_surrogate, 0},
        FailureCase{"encoded_low_surrogate", u"x%ed%bf%bf", ConvertError::encoded_surrogate, 1},
        FailureCase{"encoded_surrogate_pair", u"%ED%A0%BD%ED%B8%80",
                    ConvertError::encoded_surrogate, 0},
        FailureCase{"above_10ffff", u"%F4%90%80%80", ConvertError::code_point_too_large, 0}),
    failure_row);

class EncodeUriFailureTest : public testing::TestWithParam<FailureCase> {};

TEST_P(EncodeUriFailureTest, FailsAtTheLoneSurrogate) {
  const FailureCase& c = GetParam();
  const ConvertResult result = encode_uri_component(c.input);
  EXPECT_EQ(result.error, c.error) << to_string(result.error);
  EXPECT_EQ(result.position, c.position);
  EXPECT_EQ(result.text, u"");
}

INSTANTIATE_TEST_SUITE_P(
    LoneSurrogates, EncodeUriFailureTest,
    testing::Values(
        FailureCase{"high_at_end", u"a\xd800", ConvertError::lone_surrogate, 1},
        FailureCase{"high_before_text",
                    u"\xdbff"
                    u"a",
                    ConvertError::lone_surrogate, 0},
        FailureCase{"low_alone", u"ab\xdc00", ConvertError::lone_surrogate, 2},
        FailureCase{"pair_reversed", u"\xdc00\xd800", ConvertError::lone_surrogate, 0},
        FailureCase{"two_highs_then_low", u"\xd800\xd800\xdc00", ConvertError::lone_surrogate, 0},
        FailureCase{"low_after_pair", u"\U0001F600\xde00", ConvertError::lone_surrogate, 2}),
    failure_row);

// Text without lone surrogates, from every UTF-8 length and the edges of each.
std::u16string random_text(std::mt19937& random, int length) {
  static constexpr char32_t kRanges[][2] = {
      {0x00, 0x7F}, {0x80, 0x7FF}, {0x800, 0xD7FF}, {0xE000, 0xFFFF}, {0x10000, 0x10FFFF}};
  std::uniform_int_distribution<std::size_t> pick_range(0, std::size(kRanges) - 1);
  std::u16string text;
  for (int i = 0; i < length; ++i) {
    const auto& range = kRanges[pick_range(random)];
    const char32_t c = std::uniform_int_distribution<char32_t>(range[0], range[1])(random);
    if (c < 0x10000) {
      text += static_cast<char16_t>(c);
    } else {
      text += static_cast<char16_t>(0xD7C0 + (c >> 10));
      text += static_cast<char16_t>(0xDC00 | (c & 0x3FF));
    }
  }
  return text;
}

// What the encoder may write: unreserved units, and "%" with two upper-case hex digits.
bool only_unreserved_and_upper_case_escapes(std::u16string_view text) {
  constexpr std::u16string_view kUnreserved = u"-_.!~*'()", kUpperHex = u"0123456789ABCDEF";
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'%') {
      if (i + 2 >= text.size() || kUpperHex.find(text[i + 1]) == kUpperHex.npos ||
          kUpperHex.find(text[i + 2]) == kUpperHex.npos) {
        return false;
      }
      i += 2;
    } else if (!((c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
                 kUnreserved.find(c) != kUnreserved.npos)) {
      return false;
    }
  }
  return true;
}

TEST(UriCodecRoundTrip, DecodingTheEncodingGivesTheTextBack) {
  std::mt19937 random(20261211);
  for (int n = 0; n < 1000; ++n) {
    const std::u16string text = random_text(random, n % 40);
    const ConvertResult encoded = encode_uri_component(text);
    ASSERT_TRUE(encoded.ok()) << test::dump(text);
    ASSERT_TRUE(only_unreserved_and_upper_case_escapes(encoded.text)) << test::dump(encoded.text);
    const ConvertResult decoded = decode_uri_component(encoded.text);
    ASSERT_TRUE(decoded.ok()) << to_string(decoded.error) << " at " << decoded.position;
    ASSERT_EQ(decoded.text, text) << test::dump(text);
  }
}

class UriThroughHostTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(host_.AddCode(find_conversion_script("encodeURL")->source));
    ASSERT_TRUE(host_.AddCode(find_conversion_script("decodeURL")->source));
  }
  ScriptHost host_;
};

TEST_F(UriThroughHostTest, NulEscapeCutsTheVisibleText) {
  EXPECT_EQ(host_.Run("decodeURL", "%00"), std::nullopt);
  EXPECT_EQ(host_.Run("decodeURL", "a%00b"), "a");
  EXPECT_EQ(host_.Run("encodeURL", "\xE4\xB8\xAD a&b"), "%E4%B8%AD%20a%26b");
}

// A failed run is no text, and the host carries on as before.
TEST_F(UriThroughHostTest, EveryFailureKindIsNoTextThenTheNextRunWorks) {
  const char* failing[] = {"%",         "%G1",    "%80",       "%F8",         "%E4%B8",
                           "%E4%41%AD", "%C0%80", "%ED%A0%80", "%F4%90%80%80"};
  for (const char* input : failing) {
    EXPECT_EQ(host_.Run("decodeURL", input), std::nullopt) << input;
    EXPECT_EQ(host_.Run("decodeURL", "%E4%B8%AD+"), "\xE4\xB8\xAD+") << "after " << input;
  }
}

}  // namespace
}  // namespace morvane
