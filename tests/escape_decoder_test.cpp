#include "escape_decoder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "conversion_script.h"
#include "escape_encoders.h"
#include "script_host.h"
#include "test_text.h"

namespace morvane {
namespace {

using namespace std::string_literals;

struct DecodeCase {
  const char* name;
  std::u16string input;
  std::u16string expected;

  friend void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }
};

class DecodeEscapesTest : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeEscapesTest, GivesTheExpectedUnits) {
  const DecodeCase& c = GetParam();
  const std::u16string actual = decode_escapes(c.input);
  EXPECT_EQ(actual, c.expected) << "input:    " << test::dump(c.input)
                                << "\nactual:   " << test::dump(actual)
                                << "\nexpected: " << test::dump(c.expected);
}

std::string row_name(const testing::TestParamInfo<DecodeCase>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Notations, DecodeEscapesTest,
    testing::Values(DecodeCase{"empty", u"", u""},
                    DecodeCase{"plain_text_unchanged", u"abc \u4e2d\u6587 100% &amp; #1;",
                               u"abc \u4e2d\u6587 100% &amp; #1;"},
                    DecodeCase{"u_escapes", u"\\u4e2d\\u6587", u"\u4e2d\u6587"},
                    DecodeCase{"decimal_references", u"&#20013;&#25991;", u"\u4e2d\u6587"},
                    DecodeCase{"hex_references", u"&#x4e2d;&#x6587;", u"\u4e2d\u6587"},
                    DecodeCase{"escape_inside_text", u"a\\u0062c", u"abc"},
                    DecodeCase{"all_three_mixed", u"<\\u4e2d|&#x6587;|&#65;>",
                               u"<\u4e2d|\u6587|A>"},
                    DecodeCase{"double_backslash_keeps_one", u"\\\\u0041", u"\\A"},
                    DecodeCase{"surrogate_halves_join", u"\\ud83d\\ude00", u"\U0001F600"},
                    DecodeCase{"decimal_surrogate_halves_join", u"&#55357;&#56832;", u"\U0001F600"},
                    DecodeCase{"lone_surrogate_is_one_unit", u"\\udc00x", u"\xdc00x"},
                    DecodeCase{"nul_unit_is_kept", u"a\\u0000b&#0;c", u"a\0b\0c"s}),
    row_name);

// Each pass runs over the whole output of the one before; none rescans what it
// made, and a later pass's output is never seen by an earlier pass.
INSTANTIATE_TEST_SUITE_P(
    PassOrder, DecodeEscapesTest,
    testing::Values(DecodeCase{"u_escape_makes_decimal_reference", u"\\u0026#65;", u"A"},
                    DecodeCase{"u_escape_makes_hex_reference", u"\\u0026#x41;", u"A"},
                    DecodeCase{"hex_reference_makes_decimal_reference", u"&#x26;#65;", u"A"},
                    DecodeCase{"decimal_reference_makes_hex_reference", u"&#38;#x41;", u"&#x41;"},
                    DecodeCase{"decimal_reference_makes_u_escape", u"&#92;u0041", u"\\u0041"},
                    DecodeCase{"hex_reference_makes_u_escape", u"&#x5c;u0041", u"\\u0041"},
                    DecodeCase{"u_escape_not_rescanned", u"\\u005cu0041", u"\\u0041"},
                    DecodeCase{"decimal_reference_not_rescanned", u"&#38;#38;#65;", u"&#38;#65;"}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    GreedyLimits, DecodeEscapesTest,
    testing::Values(DecodeCase{"u_takes_four_then_stops", u"\\u12345", u"\u12345"},
                    DecodeCase{"u_one_digit", u"\\u9", u"\t"},
                    DecodeCase{"u_two_digits", u"\\u41", u"A"},
                    DecodeCase{"u_three_digits", u"\\u4e2", u"\u04e2"},
                    DecodeCase{"u_at_end", u"ab\\u", u"ab\\u"},
                    DecodeCase{"u_before_non_word", u"\\u \\u\u4e2d\\u-1", u"\\u \\u\u4e2d\\u-1"},
                    DecodeCase{"lone_backslash_and_ampersand", u"\\ & &# &#x", u"\\ & &# &#x"},
                    DecodeCase{"hex_reference_five_digits", u"&#x12345;", u"&#x12345;"},
                    DecodeCase{"hex_reference_one_digit", u"&#x9;", u"\t"},
                    DecodeCase{"hex_reference_without_semicolon", u"&#x41 &#x41", u"&#x41 &#x41"},
                    DecodeCase{"hex_reference_empty", u"&#x;", u"&#x;"},
                    DecodeCase{"decimal_seven_digits", u"&#1234567;", u"&#1234567;"},
                    DecodeCase{"decimal_six_digits", u"&#000065;", u"A"},
                    DecodeCase{"decimal_without_semicolon", u"&#65 &#65", u"&#65 &#65"},
                    DecodeCase{"decimal_empty", u"&#;", u"&#;"},
                    DecodeCase{"semicolon_must_follow_digits", u"&#65 ;&#x41 ;", u"&#65 ;&#x41 ;"},
                    DecodeCase{"failed_prefix_then_match", u"&#&#65;&#x&#x41;\\\\u41",
                               u"&#A&#xA\\A"}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    LetterCase, DecodeEscapesTest,
    testing::Values(DecodeCase{"upper_u", u"\\U0041", u"A"}, DecodeCase{"upper_x", u"&#X41;", u"A"},
                    DecodeCase{"upper_hex_digits", u"\\u4E2D&#X6587;", u"\u4e2d\u6587"},
                    DecodeCase{"mixed_hex_digits", u"\\uFfFf&#xaBcD;", u"\uffff\uabcd"}),
    row_name);

// Word characters that are not all hex digits: the match stays as written and
// the scan goes on after it.
INSTANTIATE_TEST_SUITE_P(
    NonHexMatchStays, DecodeEscapesTest,
    testing::Values(DecodeCase{"windows_path", u"C:\\users\\zhang", u"C:\\users\\zhang"},
                    DecodeCase{"hex_then_letter", u"\\u4g", u"\\u4g"},
                    DecodeCase{"no_hex_at_all", u"\\uzz", u"\\uzz"},
                    DecodeCase{"underscore_in_hex_reference", u"&#x_1;", u"&#x_1;"},
                    DecodeCase{"upper_case_non_hex", u"\\UG000&#XG;", u"\\UG000&#XG;"},
                    DecodeCase{"scan_goes_on_after_it", u"\\users\\u0041", u"\\usersA"},
                    DecodeCase{"next_escape_right_after", u"\\uzz\\u41&#xg;&#x41;",
                               u"\\uzzA&#xg;A"},
                    DecodeCase{"kept_text_reaches_later_passes", u"\\uq&#65;", u"\\uqA"}),
    row_name);

INSTANTIATE_TEST_SUITE_P(
    DecimalValues, DecodeEscapesTest,
    testing::Values(DecodeCase{"leading_zeros_are_decimal", u"&#0065;&#010;", u"A\n"},
                    DecodeCase{"wraps_modulo_65536", u"&#65601;", u"A"},
                    DecodeCase{"wraps_to_nul", u"&#65536;", std::u16string(1, u'\0')},
                    DecodeCase{"largest_six_digits", u"&#999999;", u"\u423f"},
                    DecodeCase{"wrap_never_makes_a_pair", u"&#128512;", u"\xf600"}),
    row_name);

// "unicode" writes every unit as a decimal reference, which only the last pass
// reads: the round trip holds for any text, backslashes and references included.
TEST(DecodeEscapesRoundTrip, DecimalReferencesGiveAnyTextBack) {
  const std::u16string alphabet = u"\\u&#x;0aF_z \u4e2d\xd83d\xde00\xdc00\0"s;
  std::mt19937 random(20261211);
  std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
  std::uniform_int_distribution<int> any_unit(0, 0xFFFF);
  for (int n = 0; n < 500; ++n) {
    std::u16string text;
    for (int i = n % 24; i > 0; --i) {
      text += i % 5 == 0 ? static_cast<char16_t>(any_unit(random)) : alphabet[pick(random)];
    }
    const std::u16string encoded = encode_decimal_references(text);
    ASSERT_EQ(decode_escapes(encoded), text) << test::dump(text);
  }
}

// "ASCII" output never holds "&", so only the first pass acts on it; a decoded
// backslash must not start a new escape.
TEST(DecodeEscapesRoundTrip, UEscapesGiveTextWithoutAmpersandBack) {
  for (const std::u16string& text : {u"\\u0041"s, u"\\\\u4e2d\\"s, u"C:\\users\\zhang"s,
                                     u"#x41;\\U1234"s, u"\U0001F600\xdbff"s}) {
    EXPECT_EQ(decode_escapes(encode_u_escapes(text)), text) << test::dump(text);
  }
}

// The host cuts a result at its first U+0000.
struct HostCase {
  const char* name;
  std::string argument;
  std::optional<std::string> expected;

  friend void PrintTo(const HostCase& c, std::ostream* os) { *os << c.name; }
};

class ReconvertThroughHostTest : public testing::TestWithParam<HostCase> {};

TEST_P(ReconvertThroughHostTest, RunGivesTheVisibleText) {
  const HostCase& c = GetParam();
  ScriptHost host;
  ASSERT_TRUE(host.AddCode(find_conversion_script("reconvert")->source));
  EXPECT_EQ(host.Run("reconvert", c.argument), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReconvertThroughHostTest,
    testing::Values(HostCase{"nul_escape_alone_is_no_text", "\\u0000", std::nullopt},
                    HostCase{"text_ends_at_nul_escape", "a\\u0000b", "a"},
                    HostCase{"text_ends_at_nul_reference", "a&#0;b", "a"},
                    HostCase{"cjk_and_astral", "\\u4e2d&#x6587;\\ud83d\\ude00",
                             "\xE4\xB8\xAD\xE6\x96\x87\xF0\x9F\x98\x80"},
                    HostCase{"windows_path_survives", "C:\\users\\zhang", "C:\\users\\zhang"},
                    HostCase{"lone_surrogate_becomes_fffd", "\\ud800!", "\xEF\xBF\xBD!"}),
    [](const testing::TestParamInfo<HostCase>& info) { return info.param.name; });

}  // namespace
}  // namespace morvane
