#include "text/regex_matcher.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "text/encoding.h"

namespace tamberlo {
namespace {

// Test sources are UTF-8; the matcher works on GBK.
Text gbk(std::string_view utf8) { return utf8_to_local(utf8); }

const std::string kAlbumListPattern =
    "id:(.*?),name:'(.*?)',s:(.*?),count:(.*?),t:(.*?)',lurl:'(.*?)\\/(.*?)',dmt:(.*?)purl:'(.*?)'";

struct Album {
  std::string id, name, count, lurl, purl;
};

std::string record(const Album& a) {
  return "{id:" + a.id + ",name:'" + a.name + "',s:0,count:" + a.count + ",t:'1262304000000'," +
         "lurl:'" + a.lurl + "',dmt:1262304000000,purl:'" + a.purl + "'}";
}

const std::vector<Album> kAlbums = {
    {"215667082", "我的相册", "25", "12/photo/owner/cover1.jpg", "photo/data/215667082.js"},
    {"215667083", "旅行 2009", "0", "7/p/cover2.jpg", ""},
    {"215667084", "家人|照片\\", "103", "3/c.jpg", "photo/data/215667084.js"},
};

std::string album_list(const std::string& separator) {
  std::string list = "var g_a$1d = [";
  for (std::size_t k = 0; k < kAlbums.size(); ++k) {
    if (k != 0) list += "," + separator;
    list += record(kAlbums[k]);
  }
  return list + "];";
}

class AlbumList : public ::testing::TestWithParam<std::string> {};

TEST_P(AlbumList, EveryRecordGivesItsFields) {
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute(kAlbumListPattern, gbk(album_list(GetParam()))));
  ASSERT_EQ(matcher.match_count(), 3);
  EXPECT_EQ(matcher.submatch_count(), 9);
  for (int m = 1; m <= 3; ++m) {
    const Album& a = kAlbums[static_cast<std::size_t>(m - 1)];
    SCOPED_TRACE(a.id);
    EXPECT_EQ(matcher.submatch_text(m, 1), a.id);
    EXPECT_EQ(matcher.submatch_text(m, 2), gbk(a.name));
    EXPECT_EQ(matcher.submatch_text(m, 4), a.count);
    EXPECT_EQ(matcher.submatch_text(m, 5), "'1262304000000");
    EXPECT_EQ(matcher.submatch_text(m, 6), a.lurl.substr(0, a.lurl.find('/')));
    EXPECT_EQ(matcher.submatch_text(m, 7), a.lurl.substr(a.lurl.find('/') + 1));
    EXPECT_EQ(matcher.submatch_text(m, 8), "1262304000000,");
    EXPECT_EQ(matcher.submatch_text(m, 9), a.purl);
    EXPECT_EQ(matcher.match_text(m), gbk(record(a).substr(1, record(a).size() - 2)));
    EXPECT_EQ(matcher.submatch_text(m, 10), "");
    EXPECT_EQ(matcher.submatch_text(m, 0), "");
  }
  EXPECT_EQ(matcher.match_text(0), "");
  EXPECT_EQ(matcher.match_text(4), "");
  EXPECT_EQ(matcher.submatch_text(0, 1), "");
  EXPECT_EQ(matcher.submatch_text(4, 1), "");
}

// The service writes the whole array on one line; one record per line must read the same.
INSTANTIATE_TEST_SUITE_P(Text, AlbumList, ::testing::Values("", "\n", "\r\n"),
                         [](const auto& info) {
                           return "separator_" + std::to_string(info.index);
                         });

TEST(RegexMatcher, RecordBrokenByLineFeedIsNotMatched) {
  std::string list = record(kAlbums[0]) + "," + record(kAlbums[1]) + "," + record(kAlbums[2]);
  list.insert(list.find(",s:", list.find(kAlbums[1].id)), "\n");
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute(kAlbumListPattern, gbk(list)));
  ASSERT_EQ(matcher.match_count(), 2);
  EXPECT_EQ(matcher.submatch_text(1, 1), kAlbums[0].id);
  EXPECT_EQ(matcher.submatch_text(2, 1), kAlbums[2].id);
  EXPECT_EQ(matcher.submatch_text(2, 2), gbk(kAlbums[2].name));
}

TEST(RegexMatcher, TrailBytesOfGbkCharactersAreNotAsciiToTheEngine) {
  // 0x95 0x5C and 0x81 0x7C end in the bytes of '\' and '|'.
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute("[|\\\\]", "\x95\x5C\x81\x7C"));
  EXPECT_EQ(matcher.match_count(), 0);
  ASSERT_TRUE(matcher.execute("'(.*?)'", "'\x95\x5C\x81\x7C'"));
  EXPECT_EQ(matcher.submatch_text(1, 1), "\x95\x5C\x81\x7C");
}

struct FlagCase {
  const char* name;
  std::string pattern;
  std::string subject;
  bool case_sensitive;
  bool multiline;
  bool global;
  std::vector<std::string> matches;
};

void PrintTo(const FlagCase& c, std::ostream* out) { *out << c.name; }

class Flags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(Flags, DecideWhatMatches) {
  const auto& c = GetParam();
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute(c.pattern, c.subject, c.case_sensitive, c.multiline, c.global));
  std::vector<std::string> found;
  for (int m = 1; m <= matcher.match_count(); ++m) found.push_back(matcher.match_text(m));
  EXPECT_EQ(found, c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Text, Flags,
    ::testing::Values(
        FlagCase{"ignore_case_by_default",
                 "ALBUM",
                 "album Album",
                 false,
                 true,
                 true,
                 {"album", "Album"}},
        FlagCase{"case_sensitive_misses", "ALBUM", "album Album", true, true, true, {}},
        FlagCase{"global_off_first_only", "a\\d", "a1 a2 a3", false, true, false, {"a1"}},
        FlagCase{"non_overlapping", "aa", "aaaaa", false, true, true, {"aa", "aa"}},
        FlagCase{"multiline_anchor_at_line", "^b.", "a\nbc\nbd", false, true, true, {"bc", "bd"}},
        FlagCase{"single_line_anchor_at_start_only", "^b.", "a\nbc", false, false, true, {}},
        FlagCase{"multiline_end_anchor", "\\d$", "a1\nb2", false, true, true, {"1", "2"}},
        FlagCase{"dot_does_not_cross_line_feed", "a.b", "a\nb a-b", false, true, true, {"a-b"}},
        FlagCase{"empty_matches_step_one_character",
                 "x*",
                 "\xD6\xD0"
                 "a",
                 false,
                 true,
                 true,
                 {"", "", ""}},
        FlagCase{"empty_after_match", "a*", "ab", false, true, true, {"a", "", ""}},
        FlagCase{"escaped_slash", "a\\/b", "a/b", false, true, true, {"a/b"}},
        FlagCase{"unicode_escape", "\\u4E2D", "x\xD6\xD0", false, true, true, {"\xD6\xD0"}},
        FlagCase{"escaped_chinese_is_literal",
                 "\\\xD6\xD0",
                 "\xD6\xD0",
                 false,
                 true,
                 true,
                 {"\xD6\xD0"}},
        FlagCase{"control_escape", "\\cI", "a\tb", false, true, true, {"\t"}},
        FlagCase{"chinese_class",
                 "[\xD6\xD0\xCE\xC4]+",
                 "a\xD6\xD0\xCE\xC4z",
                 false,
                 true,
                 true,
                 {"\xD6\xD0\xCE\xC4"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegexMatcher, PatternsTheEngineRefusesFailQuietly) {
  for (const std::string pattern : {"id:(.*?", "a)", "(a)\\1", "a(?=b)", "(?<=a)b", "*a"}) {
    SCOPED_TRACE(pattern);
    RegexMatcher matcher;
    EXPECT_FALSE(matcher.execute(pattern, "id:a ab aab"));
    EXPECT_EQ(matcher.match_count(), 0);
    EXPECT_EQ(matcher.submatch_count(), 0);
    EXPECT_EQ(matcher.match_text(1), "");
    EXPECT_EQ(matcher.replace("x"), "");
    EXPECT_EQ(matcher.get_pattern(), pattern);
  }
}

TEST(RegexMatcher, BeforeAnyRunEverythingIsEmpty) {
  const RegexMatcher matcher;
  EXPECT_EQ(matcher.match_count(), 0);
  EXPECT_EQ(matcher.submatch_count(), 0);
  EXPECT_EQ(matcher.match_text(1), "");
  EXPECT_EQ(matcher.submatch_text(1, 1), "");
  EXPECT_EQ(matcher.get_pattern(), "");
  EXPECT_EQ(matcher.replace("x"), "");
}

TEST(RegexMatcher, SecondRunForgetsTheFirst) {
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute("(\\d)", "1 2 3"));
  ASSERT_EQ(matcher.match_count(), 3);
  ASSERT_TRUE(matcher.execute("(x)(y)", "1 2 3"));
  EXPECT_EQ(matcher.match_count(), 0);
  EXPECT_EQ(matcher.match_text(1), "");
  EXPECT_EQ(matcher.submatch_text(1, 1), "");
  EXPECT_FALSE(matcher.execute("(", "1 2 3"));
  EXPECT_EQ(matcher.match_count(), 0);
}

TEST(RegexMatcher, QuoteMarkerStandsForADoubleQuoteOnlyWhenAsked) {
  const std::string pattern =
      "src=" + std::string(kQuoteMarker) + "(.*?)" + std::string(kQuoteMarker);
  const std::string subject = "<script src=\"a.js\">";
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute(pattern, subject, false, true, true, true));
  ASSERT_EQ(matcher.match_count(), 1);
  EXPECT_EQ(matcher.submatch_text(1, 1), "a.js");
  EXPECT_EQ(matcher.get_pattern(), "src=\"(.*?)\"");

  ASSERT_TRUE(matcher.execute(pattern, subject));
  EXPECT_EQ(matcher.match_count(), 0);
  ASSERT_TRUE(matcher.execute(
      pattern, "src=" + std::string(kQuoteMarker) + "b" + std::string(kQuoteMarker)));
  EXPECT_EQ(matcher.submatch_text(1, 1), "b");
}

TEST(RegexMatcher, GroupThatTookNoPartIsEmpty) {
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute("(a)|(b)", "b"));
  int position = 99;
  EXPECT_EQ(matcher.submatch_text(1, 1, &position), "");
  EXPECT_EQ(position, -1);
  EXPECT_EQ(matcher.submatch_text(1, 2, &position), "b");
  EXPECT_EQ(position, 0);
  EXPECT_EQ(matcher.submatch_count(), 2);
}

TEST(RegexMatcher, PositionsAreByteOffsetsInTheGbkSubject) {
  // The same text occurs before the match; a search from a character count would find it.
  const Text subject = gbk("中文abc中文中abcd");
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute("c(\\S)", subject));
  ASSERT_EQ(matcher.match_count(), 2);
  int position = 0;
  EXPECT_EQ(matcher.match_text(1, &position), gbk("c中"));
  EXPECT_EQ(position, 6);
  EXPECT_EQ(matcher.submatch_text(1, 1, &position), gbk("中"));
  EXPECT_EQ(position, 7);
  EXPECT_EQ(matcher.match_text(2, &position), "cd");
  EXPECT_EQ(position, static_cast<int>(subject.size()) - 2);
  EXPECT_EQ(matcher.match_text(3, &position), "");
  EXPECT_EQ(position, -1);
}

struct ReplaceCase {
  const char* name;
  std::string pattern, subject, replacement;
  bool global;
  std::string expected;
};

void PrintTo(const ReplaceCase& c, std::ostream* out) { *out << c.name; }

class Replace : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(Replace, RewritesTheKeptSubject) {
  const auto& c = GetParam();
  RegexMatcher matcher;
  ASSERT_TRUE(matcher.execute(c.pattern, c.subject, false, true, c.global));
  EXPECT_EQ(matcher.replace(c.replacement), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Text, Replace,
    ::testing::Values(ReplaceCase{"groups_everywhere", "(\\d+)-(\\d+)", "1-2 33-44", "$2:$1", true,
                                  "2:1 44:33"},
                      ReplaceCase{"first_only_without_global", "\\d", "1 2 3", "#", false, "# 2 3"},
                      ReplaceCase{"whole_match_and_dollar", "b", "abc", "[$&$$]", true, "a[b$]c"},
                      ReplaceCase{"context", "b", "abc", "<$`|$'>", true, "a<a|c>c"},
                      ReplaceCase{"missing_group_stays_literal", "(a)", "a", "$2$0", true, "$2$0"},
                      ReplaceCase{"two_digit_group_falls_back", "(a)", "a", "$10", true, "a0"},
                      ReplaceCase{"no_match_unchanged", "x", "abc", "y", true, "abc"},
                      ReplaceCase{"chinese_kept", "\xD6\xD0", "\xCE\xC4\xD6\xD0\xCE\xC4",
                                  "\xD7\xD6", true, "\xCE\xC4\xD7\xD6\xCE\xC4"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RegexMatcher, CopyKeepsItsOwnMatches) {
  RegexMatcher original;
  ASSERT_TRUE(original.execute("(\\d)", "7 8"));
  const RegexMatcher copy = original;
  ASSERT_TRUE(original.execute("(x)", "7 8"));
  EXPECT_EQ(original.match_count(), 0);
  EXPECT_EQ(copy.match_count(), 2);
  EXPECT_EQ(copy.submatch_text(2, 1), "8");
  EXPECT_EQ(copy.replace("<$1>"), "<7> <8>");
}

}  // namespace
}  // namespace tamberlo
