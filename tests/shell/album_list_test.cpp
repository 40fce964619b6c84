#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <ostream>
#include <string>
#include <vector>

#include "shell/album_list_view.h"
#include "shell/find_window.h"
#include "shell/main_window.h"
#include "shell/window_test_support.h"

namespace tamberlo::test {
namespace {

class AlbumListTest : public ::testing::Test {
 protected:
  AlbumListTest() : window(window_options()), messages(window) { window.show(); }

  void fill(const std::vector<const char*>& names, const std::vector<int>& ticks = {}) {
    AlbumListView& list = window.album_list();
    for (std::size_t at = 0; at < names.size(); ++at) {
      const int row = list.append_row();
      list.set_cell(row, 1, QString::number(row + 1));
      list.set_cell(row, 2, QString::fromUtf8(names[at]));
      if (at < ticks.size()) list.set_tick(row, ticks[at]);
    }
  }
  std::vector<int> ticks() const {
    std::vector<int> result;
    for (int row = 0; row < window.album_list().topLevelItemCount(); ++row) {
      result.push_back(window.album_list().tick(row));
    }
    return result;
  }
  void click(const char* name) {
    QTest::mouseClick(window.control_as<QCheckBox>(name), Qt::LeftButton);
  }
  bool checked(const char* name) { return window.control_as<QCheckBox>(name)->isChecked(); }

  MainWindow window;
  RecordedMessages messages;
};

TEST_F(AlbumListTest, SelectAllTicksEveryRowAndClearsInvertUntickingKeepsTicks) {
  fill({"a", "b", "c"}, {0, 1, 0});
  click("选择框_反选");  // ticks "反选" and inverts: 1, 0, 1
  ASSERT_EQ(ticks(), (std::vector<int>{1, 0, 1}));
  click("选择框_全选");
  EXPECT_TRUE(checked("选择框_全选"));
  EXPECT_FALSE(checked("选择框_反选"));
  EXPECT_EQ(ticks(), (std::vector<int>{1, 1, 1}));
  window.album_list().set_tick(1, 0);
  click("选择框_全选");  // unticking "全选" leaves the rows alone
  EXPECT_FALSE(checked("选择框_全选"));
  EXPECT_EQ(ticks(), (std::vector<int>{1, 0, 1}));
}

TEST_F(AlbumListTest, InvertWorksOnlyOnTheClickThatTicksIt) {
  fill({"a", "b", "c"}, {1, 0, 1});
  click("选择框_全选");
  window.album_list().set_tick(1, 0);
  click("选择框_反选");
  EXPECT_FALSE(checked("选择框_全选"));
  EXPECT_EQ(ticks(), (std::vector<int>{0, 1, 0}));
  click("选择框_反选");  // unticking changes nothing
  EXPECT_EQ(ticks(), (std::vector<int>{0, 1, 0}));
  click("选择框_反选");
  EXPECT_EQ(ticks(), (std::vector<int>{1, 0, 1}));
}

TEST_F(AlbumListTest, SelectAllAndInvertOnAnEmptyListOnlyChangeTheBoxes) {
  click("选择框_全选");
  click("选择框_反选");
  EXPECT_FALSE(checked("选择框_全选"));
  EXPECT_TRUE(checked("选择框_反选"));
  EXPECT_EQ(window.album_list().topLevelItemCount(), 0);
}

TEST_F(AlbumListTest, ClickingARowsCheckBoxTicksAndSelectsIt) {
  fill({"a", "b", "c"});
  AlbumListView& list = window.album_list();
  list.set_current_row(0);
  // Programmatic ticks (retrieval, select all) do not move the selection.
  list.set_tick(2, 1);
  EXPECT_EQ(list.current_row(), 0);

  QTreeWidgetItem* item = list.topLevelItem(1);
  const QRect cell = list.visualItemRect(item);
  // The check box sits at the left of column 0.
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {},
                    QPoint(cell.left() + 10, cell.center().y()));
  EXPECT_EQ(list.tick(1), 1);
  EXPECT_EQ(list.current_row(), 1);
  EXPECT_TRUE(item->isSelected());
  EXPECT_FALSE(list.topLevelItem(0)->isSelected());
}

TEST_F(AlbumListTest, SpaceBarTicksTheFocusedRowWhicheverCellHasTheFocus) {
  fill({"a", "b", "c"});
  AlbumListView& list = window.album_list();
  list.setFocus();
  for (const int column : {0, 2}) {
    SCOPED_TRACE(column);
    const int row = column == 0 ? 0 : 2;
    // A click on the cell makes it the focused one without touching the check box.
    const QRect cell = list.visualRect(list.model()->index(row, column));
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell.center() + QPoint(10, 0));
    ASSERT_EQ(list.current_row(), row);
    ASSERT_EQ(list.tick(row), 0);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_EQ(list.tick(row), 1);
    QTest::keyClick(&list, Qt::Key_Space);
    EXPECT_EQ(list.tick(row), 0);
  }
  EXPECT_EQ(ticks(), (std::vector<int>{0, 0, 0}));
}

// One press of a find button and what the window shows afterwards.
struct Press {
  const char* button;   // "查找", "下一个", "上一个"
  const char* keyword;  // typed into 编辑框1 before the press
  int shown_row;        // the 1-based number in 标签_行位置, 0 when a message comes instead
  const char* message;  // the message, or nullptr
};

struct FindCase {
  const char* title;
  std::vector<const char*> names;
  int start_position;  // -2: the position of a fresh program
  std::vector<Press> presses;
};

void PrintTo(const FindCase& c, std::ostream* out) { *out << c.title; }

const char* button_name(const char* caption) {
  const std::string text = caption;
  if (text == "查找") return "按钮_查找";
  if (text == "下一个") return "按钮_查找下一个";
  return "按钮_查找上一个";
}

class FindWindowTest : public AlbumListTest, public ::testing::WithParamInterface<FindCase> {};

TEST_P(FindWindowTest, PressesShowRowsOrMessages) {
  const FindCase& story = GetParam();
  fill(story.names);
  QTest::mouseClick(window.control("标签_查找相册"), Qt::LeftButton);
  FindWindow& find = window.find_window();
  ASSERT_TRUE(find.isVisible());
  auto* keyword = find.findChild<QLineEdit*>(QString::fromUtf8("编辑框1"));
  auto* shown = find.findChild<QLabel*>(QString::fromUtf8("标签_行位置"));
  if (story.start_position >= 0) {
    // Reach the wanted find position through the window itself: find the row by its own name.
    keyword->setText(QString::fromUtf8(story.names[story.start_position]));
    find.find_first();
    ASSERT_EQ(find.find_position(), story.start_position);
  }
  for (const Press& press : story.presses) {
    SCOPED_TRACE(std::string(press.button) + " " + press.keyword);
    messages.clear();
    const QString before = shown->text();
    keyword->setText(QString::fromUtf8(press.keyword));
    QTest::mouseClick(find.findChild<QPushButton*>(QString::fromUtf8(button_name(press.button))),
                      Qt::LeftButton);
    if (press.message != nullptr) {
      EXPECT_EQ(messages.texts(), QStringList{QString::fromUtf8(press.message)});
      EXPECT_EQ(shown->text(), before);
      EXPECT_EQ(find.find_position(), -1);
    } else {
      EXPECT_TRUE(messages.texts().isEmpty()) << messages.texts().join(" | ").toStdString();
      EXPECT_EQ(shown->text(), QString::fromUtf8("第%1行").arg(press.shown_row));
      EXPECT_EQ(window.album_list().current_row(), press.shown_row - 1);
    }
  }
}

const std::vector<const char*> kTwoAndSeven = {"风景", "山", "Spring 春游", "海", "花",
                                               "猫",   "狗", "spring 秋游", "树"};
const std::vector<const char*> kZeroAndThree = {"旅行 A", "家", "家人", "旅行 B",
                                                "山",     "水", "云",   "终点"};

INSTANTIATE_TEST_SUITE_P(
    Sequences, FindWindowTest,
    ::testing::Values(FindCase{"NextWrapsAfterNothingLeft",
                               kTwoAndSeven,
                               -2,
                               {{"查找", "SPRING", 3, nullptr},
                                {"下一个", "SPRING", 8, nullptr},
                                {"下一个", "SPRING", 0, "没有了"},
                                {"下一个", "SPRING", 3, nullptr},
                                {"上一个", "SPRING", 0, "没有了"}}},
                      FindCase{"PreviousWalksBackFromTheLastRowFound",
                               kZeroAndThree,
                               7,
                               {{"上一个", "旅行", 4, nullptr},
                                {"上一个", "旅行", 1, nullptr},
                                {"上一个", "旅行", 0, "没有了"},
                                {"上一个", "旅行", 4, nullptr}}},
                      FindCase{"NextFirstAfterStartSkipsRowZero",
                               {"猫咪", "狗", "猫"},
                               -2,
                               {{"下一个", "猫", 3, nullptr}}},
                      FindCase{"FindAlwaysStartsAtRowZeroAndPartOfANameMatches",
                               kTwoAndSeven,
                               7,
                               {{"查找", "春", 3, nullptr}, {"下一个", "秋", 8, nullptr}}},
                      FindCase{"EmptyKeywordMatchesTheFirstNamedRow",
                               {"", "一", "二"},
                               -2,
                               {{"查找", "", 2, nullptr}}},
                      FindCase{"NothingFound",
                               kTwoAndSeven,
                               -2,
                               {{"查找", "雪", 0, "未找到名称包含关键词：雪的相册"},
                                {"上一个", "雪", 0, "没有了"},
                                {"下一个", "雪", 0, "没有了"}}},
                      FindCase{"EmptyList",
                               {},
                               -2,
                               {{"查找", "a", 0, "未找到名称包含关键词：a的相册"},
                                {"下一个", "a", 0, "没有了"},
                                {"上一个", "a", 0, "没有了"}}}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(AlbumListTest, FindPositionSurvivesClosingTheFindWindow) {
  fill({"x", "猫", "猫"});
  QTest::mouseClick(window.control("标签_查找相册"), Qt::LeftButton);
  FindWindow& find = window.find_window();
  find.findChild<QLineEdit*>(QString::fromUtf8("编辑框1"))->setText(QString::fromUtf8("猫"));
  find.find_first();
  find.close();
  QTest::mouseClick(window.control("标签_查找相册"), Qt::LeftButton);
  EXPECT_TRUE(window.find_window().isVisible());
  window.find_window().find_next();
  EXPECT_EQ(window.find_window().find_position(), 2);
}

}  // namespace
}  // namespace tamberlo::test
