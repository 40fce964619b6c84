#include "download/texts_between.h"

#include <gtest/gtest.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

#include "catalogue/gbk_literal.h"

namespace tamberlo {
namespace {

struct Case {
  const char* what;
  std::string source;
  std::string start_marker;
  std::string end_marker;
  std::vector<std::string> expected;
  bool case_sensitive = false;
  int max_length = 0;
  std::string prefix{};
  std::string suffix{};
  bool keep_start_marker = false;
  bool keep_end_marker = false;
  int start_position = 1;
};

void PrintTo(const Case& c, std::ostream* out) { *out << c.what; }

class TextsBetweenTable : public ::testing::TestWithParam<Case> {};

TEST_P(TextsBetweenTable, CollectsTheValuesInOrder) {
  const Case& c = GetParam();
  std::vector<Text> results = {"left over from an earlier call"};
  const int count =
      texts_between(c.source, c.start_marker, c.end_marker, results, c.case_sensitive, c.max_length,
                    c.prefix, c.suffix, c.keep_start_marker, c.keep_end_marker, c.start_position);
  EXPECT_EQ(results, c.expected) << c.what;
  EXPECT_EQ(count, static_cast<int>(c.expected.size())) << c.what;
}

const std::string kFullWidthBlank = "\xA1\xA1";

// The test's name in the listing, made of its description.
std::string case_name(const ::testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* c = info.param.what; *c != '\0'; ++c) {
    name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  }
  return name;
}

INSTANTIATE_TEST_SUITE_P(
    Parameters, TextsBetweenTable,
    ::testing::Values(
        Case{.what = "every value in document order",
             .source = "x ourl:'7/a.jpg',y ourl:'8/b.jpg',z",
             .start_marker = "ourl:'",
             .end_marker = "',",
             .expected = {"7/a.jpg", "8/b.jpg"}},
        Case{.what = "an empty value stops the collection",
             .source = "ourl:'a',ourl:'b',ourl:'',ourl:'d',",
             .start_marker = "ourl:'",
             .end_marker = "',",
             .expected = {"a", "b"}},
        Case{.what = "a blank value counts as empty",
             .source = "ourl:' ',ourl:'b',",
             .start_marker = "ourl:'",
             .end_marker = "',",
             .expected = {}},
        Case{.what = "values are trimmed of both blanks",
             .source = "ourl:' a " + kFullWidthBlank + "',ourl:'" + kFullWidthBlank + "b',",
             .start_marker = "ourl:'",
             .end_marker = "',",
             .expected = {"a", "b"}},
        Case{.what = "blanks inside a value stay",
             .source = "ourl:'a b',",
             .start_marker = "ourl:'",
             .end_marker = "',",
             .expected = {"a b"}},
        Case{.what = "case is folded by default",
             .source = "OURL:'a',ourl:'b',",
             .start_marker = "ourl:'",
             .end_marker = "',",
             .expected = {"a", "b"}},
        Case{.what = "case sensitive skips the capital marker",
             .source = "OURL:'a',ourl:'b',",
             .start_marker = "ourl:'",
             .end_marker = "',",
             .expected = {"b"},
             .case_sensitive = true},
        Case{.what = "case folding applies to the end marker too",
             .source = "[a]X[b]x",
             .start_marker = "[",
             .end_marker = "]x",
             .expected = {"a", "b"}},
        Case{.what = "so does case sensitivity",
             .source = "[a]X[b]x",
             .start_marker = "[",
             .end_marker = "]x",
             .expected = {"a]X[b"},
             .case_sensitive = true},
        Case{.what = "a long value is passed over and the scan goes on",
             .source = "[abc][de][f]",
             .start_marker = "[",
             .end_marker = "]",
             .expected = {"de", "f"},
             .max_length = 2},
        Case{.what = "max length is compared after trimming",
             .source = "[ ab ][abc]",
             .start_marker = "[",
             .end_marker = "]",
             .expected = {"ab"},
             .max_length = 2},
        Case{.what = "prefix and suffix wrap each value",
             .source = "[a][b]",
             .start_marker = "[",
             .end_marker = "]",
             .expected = {"<a>", "<b>"},
             .prefix = "<",
             .suffix = ">"},
        Case{.what = "the markers are put back outside prefix and suffix",
             .source = "[a]",
             .start_marker = "[",
             .end_marker = "]",
             .expected = {"[<a>]"},
             .prefix = "<",
             .suffix = ">",
             .keep_start_marker = true,
             .keep_end_marker = true},
        Case{.what = "only the start marker kept",
             .source = "[a]",
             .start_marker = "[",
             .end_marker = "]",
             .expected = {"[a"},
             .keep_start_marker = true},
        Case{.what = "the scan starts at start_position",
             .source = "[a][b]",
             .start_marker = "[",
             .end_marker = "]",
             .expected = {"b"},
             .start_position = 4},
        Case{.what = "a start position below 1 means the first byte",
             .source = "[a][b]",
             .start_marker = "[",
             .end_marker = "]",
             .expected = {"a", "b"},
             .start_position = -3},
        Case{.what = "the end marker can open the next value",
             .source = "'a'b'c'",
             .start_marker = "'",
             .end_marker = "'",
             .expected = {"a", "b", "c"}},
        Case{.what = "a start marker without its end marker ends the scan",
             .source = "[a][b",
             .start_marker = "[",
             .end_marker = "]",
             .expected = {"a"}},
        Case{.what = "no start marker at all",
             .source = "nothing here",
             .start_marker = "[",
             .end_marker = "]",
             .expected = {}},
        Case{.what = "an empty source",
             .source = "",
             .start_marker = "[",
             .end_marker = "]",
             .expected = {}},
        Case{.what = "an empty end marker closes at once",
             .source = "[a]",
             .start_marker = "[",
             .end_marker = "",
             .expected = {}},
        Case{.what = "a marker byte inside a double-byte character is not a marker",
             .source = "[\x81\x5Cx]",
             .start_marker = "[",
             .end_marker = "\\",
             .expected = {}},
        Case{.what = "a double-byte character whose second byte equals the end marker",
             .source = "[\x81\x5D"
                       "a]",
             .start_marker = "[",
             .end_marker = "]",
             .expected = {"\x81\x5D"
                          "a"}}),
    case_name);

TEST(TextsBetween, ReadsPhotoEntriesOfAlbumDataWithChineseText) {
  const Text data =
      gbk("var photos=[{id:1,desc:'春游',ourl:'3/photo/a/1.jpg',},"
          "{id:2,desc:'合影',ourl:'4/photo/a/2.jpg',}]");
  std::vector<Text> entries;
  EXPECT_EQ(texts_between(data, "ourl:'", "',", entries), 2);
  EXPECT_EQ(entries, (std::vector<Text>{"3/photo/a/1.jpg", "4/photo/a/2.jpg"}));
}

}  // namespace
}  // namespace tamberlo
