#include "escape_encoders.h"

#include <gtest/gtest.h>

#include "test_text.h"

namespace morvane {
namespace {

struct EncoderCase {
  const char* name;
  std::u16string input;
  std::u16string u_escapes;
  std::u16string decimal;
  std::u16string hex;

  friend void PrintTo(const EncoderCase& c, std::ostream* os) { *os << c.name; }
};

class EncoderTest : public testing::TestWithParam<EncoderCase> {};

TEST_P(EncoderTest, EachEncoderGivesOneEscapePerCodeUnit) {
  const EncoderCase& c = GetParam();
  EXPECT_EQ(encode_u_escapes(c.input), c.u_escapes) << test::dump(encode_u_escapes(c.input));
  EXPECT_EQ(encode_decimal_references(c.input), c.decimal);
  EXPECT_EQ(encode_hex_references(c.input), c.hex);
}

INSTANTIATE_TEST_SUITE_P(
    Table, EncoderTest,
    testing::Values(
        EncoderCase{"empty", u"", u"", u"", u""},
        EncoderCase{"cjk_and_letter", u"\u4e2dA", u"\\u4e2d\\u0041", u"&#20013;&#65;",
                    u"&#x4e2d;&#x0041;"},
        EncoderCase{"tab_pads_to_four_digits", u"\t", u"\\u0009", u"&#9;", u"&#x0009;"},
        EncoderCase{"space_and_digit", u" 7", u"\\u0020\\u0037", u"&#32;&#55;",
                    u"&#x0020;&#x0037;"},
        EncoderCase{"crlf_is_two_units", u"\r\n", u"\\u000d\\u000a", u"&#13;&#10;",
                    u"&#x000d;&#x000a;"},
        EncoderCase{"nul_is_value_zero", std::u16string(1, u'\0'), u"\\u0000", u"&#0;",
                    u"&#x0000;"},
        EncoderCase{"largest_unit_lower_case", u"\uffff", u"\\uffff", u"&#65535;", u"&#xffff;"},
        EncoderCase{"decimal_widths", u"\u0063\u03e7\u270f\u2710", u"\\u0063\\u03e7\\u270f\\u2710",
                    u"&#99;&#999;&#9999;&#10000;", u"&#x0063;&#x03e7;&#x270f;&#x2710;"},
        EncoderCase{"astral_gives_two_escapes", u"\U0001F600", u"\\ud83d\\ude00",
                    u"&#55357;&#56832;", u"&#xd83d;&#xde00;"},
        EncoderCase{"lone_surrogate_encoded_as_is", std::u16string(1, char16_t{0xDC00}), u"\\udc00",
                    u"&#56320;", u"&#xdc00;"}),
    [](const testing::TestParamInfo<EncoderCase>& info) { return info.param.name; });

}  // namespace
}  // namespace morvane
