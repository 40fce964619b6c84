#include "cli/terminal_cells.h"

#include <gtest/gtest.h>

#include <ostream>

namespace tamberlo::cli {
namespace {

TEST(DisplayWidthTest, WideCharactersTakeTwoCells) {
  EXPECT_EQ(display_width(""), 0);
  EXPECT_EQ(display_width("abc"), 3);
  EXPECT_EQ(display_width("春游"), 4);
  EXPECT_EQ(display_width("我的 相册：春游"), 15);
  EXPECT_EQ(display_width("\u3000"), 2);
  EXPECT_EQ(display_width("é"), 1);
  EXPECT_EQ(display_width("\xE6\x98"), 1) << "a character cut short still takes its cell";
}

struct CutCase {
  const char* text;
  int cells;
  const char* kept;
};

void PrintTo(const CutCase& c, std::ostream* out) {
  *out << '"' << c.text << "\" in " << c.cells << " cells";
}

class CutToWidthTest : public ::testing::TestWithParam<CutCase> {};

TEST_P(CutToWidthTest, KeepsWholeCharactersThatFit) {
  EXPECT_EQ(cut_to_width(GetParam().text, GetParam().cells), GetParam().kept);
}

// A wide character that would only half fit is left out whole.
INSTANTIATE_TEST_SUITE_P(Texts, CutToWidthTest,
                         ::testing::Values(CutCase{"abc", 5, "abc"}, CutCase{"abc", 2, "ab"},
                                           CutCase{"a春游", 4, "a春"}, CutCase{"a春游", 2, "a"},
                                           CutCase{"春游", 0, ""}, CutCase{"春游", -3, ""}));

}  // namespace
}  // namespace tamberlo::cli
