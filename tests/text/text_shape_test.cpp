#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "text/text.h"

namespace tamberlo {
namespace {

const std::string kWide = "\xA1\xA1";   // full-width space
const std::string kZhong = "\xD6\xD0";  // 中

struct TrimCase {
  const char* name;
  std::string input;
  std::string trimmed;
  std::string without_spaces;
};

void PrintTo(const TrimCase& c, std::ostream* out) { *out << c.name; }

class Blanks : public ::testing::TestWithParam<TrimCase> {};

TEST_P(Blanks, TrimAndRemove) {
  const auto& c = GetParam();
  EXPECT_EQ(trim_text(c.input), c.trimmed);
  EXPECT_EQ(remove_spaces(c.input), c.without_spaces);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Blanks,
    ::testing::Values(
        TrimCase{"ascii", "  a b  ", "a b", "ab"},
        TrimCase{"full_width", kWide + "a" + kWide + "b" + kWide, "a" + kWide + "b", "ab"},
        TrimCase{"mixed", " " + kWide + " a " + kWide, "a", "a"},
        TrimCase{"tab_cr_lf_stay", "\ta\r\n", "\ta\r\n", "\ta\r\n"},
        TrimCase{"only_blanks", " " + kWide + " ", "", ""}, TrimCase{"empty", "", "", ""},
        // B0 A1 is one character; the A1 after it is a lone byte, not half of a full-width space.
        TrimCase{"trail_a1_not_a_blank", "\xB0\xA1\xA1", "\xB0\xA1\xA1", "\xB0\xA1\xA1"},
        TrimCase{"double_byte_kept", " " + kZhong + " ", kZhong, kZhong}),
    [](const auto& info) { return std::string(info.param.name); });

struct SplitCase {
  const char* name;
  std::string text;
  std::string separator;
  std::vector<std::string> pieces;
};

void PrintTo(const SplitCase& c, std::ostream* out) { *out << c.name; }

class Split : public ::testing::TestWithParam<SplitCase> {};

TEST_P(Split, FollowsTheSplitRules) {
  const auto& c = GetParam();
  EXPECT_EQ(split_text(c.text, c.separator), c.pieces);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Split,
    ::testing::Values(
        SplitCase{"empty_text_no_pieces", "", ";", {}},
        SplitCase{"no_separator_one_piece", "abc", ";", {"abc"}},
        SplitCase{"plain", "a;b;c", ";", {"a", "b", "c"}},
        SplitCase{"leading_separator", ";a", ";", {"", "a"}},
        SplitCase{"double_separator", "a;;b", ";", {"a", "", "b"}},
        SplitCase{"trailing_separator_no_empty_piece", "a;b;", ";", {"a", "b"}},
        SplitCase{"only_separator", ";", ";", {""}},
        SplitCase{"multi_byte_separator", "a\r\nb\r\n\r\nc", "\r\n", {"a", "b", "", "c"}},
        SplitCase{"trail_byte_not_a_separator", "a\x81\x7C|b", "|", {"a\x81\x7C", "b"}},
        SplitCase{"separator_case_exact", "aXbxc", "x", {"aXb", "c"}},
        SplitCase{"empty_separator_whole_text", "abc", "", {"abc"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct IntegerCase {
  const char* text;
  int value;
};

void PrintTo(const IntegerCase& c, std::ostream* out) { *out << "\"" << c.text << "\""; }

class LeadingInteger : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(LeadingInteger, ReadsTheLeadingNumber) {
  EXPECT_EQ(leading_integer(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Cases, LeadingInteger,
                         ::testing::Values(IntegerCase{"42", 42}, IntegerCase{"  17 photos", 17},
                                           IntegerCase{"-5", -5}, IntegerCase{"+8x", 8},
                                           IntegerCase{"abc", 0}, IntegerCase{"", 0},
                                           IntegerCase{"-", 0}, IntegerCase{"1-2", 1},
                                           IntegerCase{"99999999999999999999", INT_MAX},
                                           IntegerCase{"-99999999999999999999", INT_MIN},
                                           IntegerCase{"2147483647", INT_MAX},
                                           IntegerCase{"-2147483648", INT_MIN},
                                           IntegerCase{"2147483648", INT_MAX}),
                         [](const auto& info) { return "case_" + std::to_string(info.index); });

TEST(ToLowerAscii, FoldsCapitalsOnlyOutsideDoubleByteCharacters) {
  EXPECT_EQ(to_lower_ascii("AbC-Z[@"), "abc-z[@");
  // 0x81 0x41: the second byte looks like 'A' but belongs to the double-byte character.
  EXPECT_EQ(to_lower_ascii("\x81\x41"
                           "A"),
            "\x81\x41"
            "a");
}

}  // namespace
}  // namespace tamberlo
