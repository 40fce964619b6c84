#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>

#include "text/text.h"

namespace tamberlo {
namespace {

// GBK characters whose second byte equals an ASCII byte that markers are made of.
constexpr std::string_view kTrailBackslash = "\x95\x5C";  // second byte is '\'
constexpr std::string_view kTrailBar = "\x81\x7C";        // second byte is '|'
constexpr std::string_view kTrailCapitalA = "\x81\x41";   // second byte is 'A'
constexpr std::string_view kZhong = "\xD6\xD0";           // 中
constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

std::string cat(std::initializer_list<std::string_view> parts) {
  std::string result;
  for (auto part : parts) result.append(part);
  return result;
}

struct FindCase {
  const char* name;
  std::string source;
  std::string needle;
  int start;
  bool ignore_case;
  int expected;
};

void PrintTo(const FindCase& c, std::ostream* out) { *out << c.name; }

class FindText : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindText, FindsAtCharacterStartsOnly) {
  const auto& c = GetParam();
  EXPECT_EQ(find_text(c.source, c.needle, c.start, c.ignore_case), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindText,
    ::testing::Values(
        FindCase{"plain", "abcabc", "bc", 1, false, 2},
        FindCase{"from_start_position", "abcabc", "bc", 3, false, 5},
        FindCase{"start_zero_means_one", "abcabc", "ab", 0, false, 1},
        FindCase{"start_negative_means_one", "abcabc", "ab", -7, false, 1},
        FindCase{"start_past_end", "abc", "c", 4, false, -1},
        FindCase{"missing", "abc", "d", 1, false, -1},
        FindCase{"needle_longer_than_rest", "abc", "bcd", 1, false, -1},
        FindCase{"match_at_very_end", "abc", "c", 1, false, 3},
        FindCase{"trail_backslash_not_matched", cat({kTrailBackslash, "x"}), "\\", 1, false, -1},
        FindCase{"backslash_after_trail_found", cat({kTrailBackslash, "\\"}), "\\", 1, false, 3},
        FindCase{"trail_bar_not_matched", cat({"a", kTrailBar, "|"}), "|", 1, false, 4},
        FindCase{"trail_not_start_of_longer_marker", cat({kTrailBar, "|b"}), "|b", 1, false, 3},
        FindCase{"trail_capital_not_folded", cat({kTrailCapitalA}), "a", 1, true, -1},
        FindCase{"double_byte_needle", cat({"ab", kZhong, "c"}), std::string(kZhong), 1, false, 3},
        FindCase{"ignore_case_folds_letters", "Set-Cookie: x", "set-cookie:", 1, true, 1},
        FindCase{"exact_keeps_case", "Set-Cookie: x", "set-cookie:", 1, false, -1},
        FindCase{"ignore_case_only_letters", "[", "{", 1, true, -1},
        FindCase{"ignore_case_at_sign_not_backtick", "@", "`", 1, true, -1},
        FindCase{"empty_needle_found_at_one", "abc", "", 1, false, 1},
        FindCase{"empty_needle_later_start_still_one", "abc", "", 3, false, 1},
        FindCase{"empty_needle_nothing_left", "abc", "", 4, false, -1},
        FindCase{"empty_needle_empty_source", "", "", 1, false, -1},
        // The walk starts where it is told; a start position on a trail byte is taken as a start.
        FindCase{"start_on_trail_byte", cat({kTrailBar, "|"}), "|", 2, false, 2}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ContainsText, UsesTheSameWalk) {
  EXPECT_FALSE(contains_text(cat({kTrailBackslash}), "\\"));
  EXPECT_TRUE(contains_text("Album LIST", "list", true));
  EXPECT_FALSE(contains_text("Album LIST", "list"));
}

struct ReplaceCase {
  const char* name;
  std::string source, from, to;
  bool ignore_case;
  std::string expected;
};

void PrintTo(const ReplaceCase& c, std::ostream* out) { *out << c.name; }

class ReplaceText : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(ReplaceText, ReplacesWholeCharacterMatches) {
  const auto& c = GetParam();
  EXPECT_EQ(replace_text(c.source, c.from, c.to, c.ignore_case), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplaceText,
    ::testing::Values(ReplaceCase{"every_occurrence", "a-b-c", "-", "+", false, "a+b+c"},
                      ReplaceCase{"inserted_text_not_searched_again", "aa", "a", "aa", false,
                                  "aaaa"},
                      ReplaceCase{"non_overlapping", "aaa", "aa", "b", false, "ba"},
                      ReplaceCase{"trail_byte_kept", cat({kTrailBackslash, "\\"}), "\\", "/", false,
                                  cat({kTrailBackslash, "/"})},
                      ReplaceCase{"ignore_case", "xAx", "a", "b", true, "xbx"},
                      ReplaceCase{"empty_from_changes_nothing", "abc", "", "z", false, "abc"},
                      ReplaceCase{"lone_lead_byte_at_end_kept", "a\xB0", "a", "b", false, "b\xB0"}),
    [](const auto& info) { return std::string(info.param.name); });

struct BetweenCase {
  const char* name;
  std::string source, start, end;
  int start_position;
  bool ignore_case;
  std::string expected;
};

void PrintTo(const BetweenCase& c, std::ostream* out) { *out << c.name; }

class TextBetween : public ::testing::TestWithParam<BetweenCase> {};

TEST_P(TextBetween, CutsStrictlyBetweenMarkers) {
  const auto& c = GetParam();
  EXPECT_EQ(text_between(c.source, c.start, c.end, c.start_position, c.ignore_case), c.expected);
}

const std::string kQuote(kQuoteMarker);

INSTANTIATE_TEST_SUITE_P(
    Cases, TextBetween,
    ::testing::Values(
        BetweenCase{"value_without_markers", "k=<v>;", "<", ">", 0, false, "v"},
        BetweenCase{"first_start_marker_counts", "id=1&id=2&", "id=", "&", 0, false, "1"},
        BetweenCase{"end_marker_before_start_passed_over", "&id=7&", "id=", "&", 0, false, "7"},
        BetweenCase{"end_missing", "id=7", "id=", "&", 0, false, ""},
        BetweenCase{"start_missing_end_present", "x=7&", "id=", "&", 0, false, ""},
        BetweenCase{"end_right_after_start", "id=&", "id=", "&", 0, false, ""},
        BetweenCase{"quote_marker_in_both", "src=\"a.js\" x", "src=" + kQuote, kQuote, 0, false,
                    "a.js"},
        BetweenCase{"quote_marker_not_rewritten_in_source", "v=" + kQuote + "x\"", "v=", "\"", 0,
                    false, kQuote + "x"},
        BetweenCase{"ignore_case_finds_capitals", "SET-COOKIE: a=b\r\n", "Set-Cookie:", "\r\n", 0,
                    true, " a=b"},
        BetweenCase{"exact_misses_capitals", "SET-COOKIE: a=b\r\n", "Set-Cookie:", "\r\n", 0, false,
                    ""},
        BetweenCase{"trail_byte_equal_to_marker", cat({"<", kTrailBar, "|x|"}), "<", "|", 0, false,
                    cat({kTrailBar})},
        BetweenCase{"start_after_trail_byte", cat({kTrailBackslash, "\\v;"}), "\\", ";", 0, false,
                    "v"},
        BetweenCase{"empty_end_marker", "abc", "a", "", 0, false, ""},
        BetweenCase{"empty_start_marker", "abc;d", "", ";", 0, false, "abc"},
        BetweenCase{"empty_source", "", "a", "b", 0, false, ""},
        BetweenCase{"start_position_one", "a<1>b<2>", "<", ">", 1, false, "1"},
        BetweenCase{"start_position_negative", "a<1>b<2>", "<", ">", -5, false, "1"},
        BetweenCase{"start_position_after_first", "a<1>b<2>", "<", ">", 3, false, "2"},
        BetweenCase{"start_position_past_end", "a<1>", "<", ">", 9, false, ""},
        BetweenCase{"double_byte_value", cat({"n='", kZhong, kZhong, "'"}), "n='", "'", 0, false,
                    cat({kZhong, kZhong})}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tamberlo
