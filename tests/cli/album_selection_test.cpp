#include "cli/album_selection.h"

#include <gtest/gtest.h>

#include <ostream>

#include "cli/terminal_window.h"

namespace tamberlo::cli {
namespace {

using Serials = std::vector<int>;

struct ParseCase {
  const char* text;
  std::optional<Serials> serials;
};

void PrintTo(const ParseCase& c, std::ostream* out) { *out << '"' << c.text << '"'; }

class ParseSerialNumbersTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseSerialNumbersTest, ReadsCommaSeparatedSerialNumbers) {
  EXPECT_EQ(parse_serial_numbers(GetParam().text), GetParam().serials) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseSerialNumbersTest,
    ::testing::Values(ParseCase{"1,3,4", Serials{1, 3, 4}}, ParseCase{"4,1", Serials{4, 1}},
                      ParseCase{" 2 , 5 ", Serials{2, 5}}, ParseCase{"3,3,1,3", Serials{3, 1}},
                      ParseCase{"7", Serials{7}}, ParseCase{"", std::nullopt},
                      ParseCase{"1,,3", std::nullopt}, ParseCase{"1,3,", std::nullopt},
                      ParseCase{"0", std::nullopt}, ParseCase{"-1", std::nullopt},
                      ParseCase{"1-3", std::nullopt}, ParseCase{"2x", std::nullopt},
                      ParseCase{"99999999999", std::nullopt}, ParseCase{"一", std::nullopt}));

// Four albums as the retrieval leaves them: row 3 withheld by the service.
class TickSerialNumbersTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int row = 0; row < 4; ++row) {
      window_.list_append_row();
      window_.list_set_cell(row, column::kSerial, std::to_string(row + 1));
      window_.list_set_cell(row, column::kCount, "5");
      const bool withheld = row == 2;
      window_.list_set_cell(row, column::kDataAddress, withheld ? "" : "s1.ph.126.net/a.js");
      window_.list_set_tick(row, withheld ? 0 : 1);
    }
  }
  std::vector<int> ticks() {
    std::vector<int> ticks;
    for (const ListRow& row : window_.rows()) ticks.push_back(row.tick);
    return ticks;
  }
  TerminalWindow window_{{}};
};

TEST_F(TickSerialNumbersTest, TicksExactlyTheChosenRows) {
  const SelectionOutcome outcome = tick_serial_numbers(window_, {4, 2});
  EXPECT_TRUE(outcome.unknown.empty());
  EXPECT_TRUE(outcome.inaccessible.empty());
  EXPECT_EQ(ticks(), (std::vector<int>{0, 1, 0, 1}));
  EXPECT_TRUE(ticked_not_downloadable(window_).empty());
}

TEST_F(TickSerialNumbersTest, NamesAChosenAlbumTheServiceWithholds) {
  const SelectionOutcome outcome = tick_serial_numbers(window_, {1, 3});
  EXPECT_EQ(outcome.inaccessible, (std::vector<int>{3}));
  EXPECT_EQ(ticks(), (std::vector<int>{1, 0, 1, 0}));
  EXPECT_EQ(ticked_not_downloadable(window_), (std::vector<int>{3}));
}

TEST_F(TickSerialNumbersTest, UnknownNumberChangesNoTick) {
  const SelectionOutcome outcome = tick_serial_numbers(window_, {2, 5, 9});
  EXPECT_EQ(outcome.unknown, (std::vector<int>{5, 9}));
  EXPECT_EQ(ticks(), (std::vector<int>{1, 1, 0, 1}));
}

TEST_F(TickSerialNumbersTest, RowWithoutCountIsPassedOverToo) {
  window_.list_set_cell(1, column::kCount, "");
  EXPECT_EQ(ticked_not_downloadable(window_), (std::vector<int>{2}));
}

TEST(TickSerialNumbersEmptyListTest, EveryNumberIsUnknown) {
  TerminalWindow window({});
  EXPECT_EQ(tick_serial_numbers(window, {1}).unknown, (std::vector<int>{1}));
}

}  // namespace
}  // namespace tamberlo::cli
