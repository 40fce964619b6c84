#include "cli/terminal_window.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <ostream>
#include <sstream>
#include <thread>

#include "cli/progress_line.h"
#include "http/cookie_store.h"
#include "text/encoding.h"

namespace tamberlo::cli {
namespace {

std::string gbk(std::string_view utf8) { return utf8_to_local(utf8); }

struct LogCase {
  const char* name;
  std::vector<std::string> pieces;  // UTF-8, appended one after the other
  std::string printed;
};

void PrintTo(const LogCase& c, std::ostream* out) { *out << c.name; }

class TerminalLogTest : public ::testing::TestWithParam<LogCase> {};

TEST_P(TerminalLogTest, PrintsTheLogAsUtf8WithTerminalLineEnds) {
  std::ostringstream log;
  TerminalWindowSetup setup;
  setup.log = &log;
  TerminalWindow window(setup);
  for (const std::string& piece : GetParam().pieces) {
    window.append_log(gbk(piece));
  }
  window.finish();
  EXPECT_EQ(log.str(), GetParam().printed);
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, TerminalLogTest,
    ::testing::Values(LogCase{"StageLine",
                              {"正努力获取相册列表，耐心等待哈！\r\n\r\n"},
                              "正努力获取相册列表，耐心等待哈！\n\n"},
                      LogCase{"LineEndSplitOverTwoPieces",
                              {"获取相册《春游》---有5张照片\r", "\n下一行\r\n"},
                              "获取相册《春游》---有5张照片\n下一行\n"},
                      LogCase{"LoneCarriageReturnKept", {"a\rb\r", "c"}, "a\rb\rc"},
                      LogCase{"CarriageReturnAtTheVeryEnd", {"done\r"}, "done\r"},
                      LogCase{"EmptyLineOfAnUngrantedProbe", {"\r\n"}, "\n"}),
    [](const auto& info) { return info.param.name; });

TEST(TerminalWindowTest, ReadsTheControlsTheCommandLineFilled) {
  TerminalWindowSetup setup;
  setup.input = gbk("http://photo.163.com/小明/");
  setup.save_location = gbk("下载");
  setup.own_albums = true;
  TerminalWindow window(setup);
  EXPECT_EQ(window.text(control::kInput), gbk("http://photo.163.com/小明/"));
  EXPECT_EQ(window.text(control::kSaveLocation), gbk("下载"));
  EXPECT_TRUE(window.is_ticked(control::kOwnAlbums));
  EXPECT_FALSE(window.is_ticked(control::kWithCovers));
  EXPECT_EQ(window.current_index(control::kServiceChoice), 0);

  window.set_text(control::kStatus, gbk("群相册获取中，耐心等待..."));
  EXPECT_EQ(window.text(control::kStatus), gbk("群相册获取中，耐心等待..."));
  EXPECT_EQ(window.text(control::kPendingId), "");
}

TEST(TerminalWindowTest, OwnAlbumsUntickedUnlessAsked) {
  TerminalWindow window({});
  EXPECT_FALSE(window.is_ticked(control::kOwnAlbums));
}

TEST(TerminalWindowTest, KeepsTheListAsTheRetrievalFillsIt) {
  TerminalWindow window({});
  window.list_set_cell(0, column::kName, "lost");  // no row yet: ignored
  const int first = window.list_append_row();
  const int second = window.list_append_row();
  EXPECT_EQ(first, 0);
  EXPECT_EQ(second, 1);
  window.list_set_cell(second, column::kName, gbk("春游"));
  window.list_set_cell(second, column::kDataAddress, "s1.ph.126.net/x.js");
  window.list_set_tick(second, 1);
  EXPECT_EQ(window.list_cell(second, column::kName), gbk("春游"));
  EXPECT_EQ(window.list_cell(first, column::kName), "");
  EXPECT_EQ(window.list_cell(5, column::kName), "");
  EXPECT_EQ(window.list_tick(second), 1);
  EXPECT_EQ(window.list_tick(first), 0);
  EXPECT_EQ(window.list_row_count(), 2);

  window.list_set_current_row(1);
  EXPECT_EQ(window.list_current_row(), 1);
  window.list_clear();
  EXPECT_EQ(window.list_row_count(), 0);
  EXPECT_EQ(window.list_current_row(), -1);
  EXPECT_EQ(window.list_append_row(), 0);
}

TEST(TerminalWindowTest, PrintsMessagesOneLineEach) {
  std::ostringstream messages;
  TerminalWindowSetup setup;
  setup.messages = &messages;
  TerminalWindow window(setup);
  window.show_message(gbk("全部下载完毕") + "\r\n" + gbk("共保存照片3张"));
  window.show_message(gbk("你输入的格式不正确：abc"));
  EXPECT_EQ(messages.str(), "全部下载完毕\n共保存照片3张\n你输入的格式不正确：abc\n");
  EXPECT_EQ(window.messages().size(), 2u);
}

TEST(TerminalWindowTest, BrowserRemembersItsAddress) {
  TerminalWindow window({});
  window.browser_set_address("http://photo.163.com/demo/#m=1&aid=1004&p=1");
  EXPECT_EQ(window.browser_address(), "http://photo.163.com/demo/#m=1&aid=1004&p=1");
}

TEST(TerminalWindowTest, CookieTextGivenOnTheCommandLineWins) {
  Cookie stored;
  stored.name = "stored";
  stored.value = "1";
  stored.domain = "photo.163.com";
  process_cookie_store().set(stored);

  TerminalWindowSetup setup;
  setup.browser_cookie_text = "NTES_SESS=abc; P_INFO=x";
  TerminalWindow given(setup);
  EXPECT_EQ(given.browser_cookie_text(), "NTES_SESS=abc; P_INFO=x");

  // Without one, the page the browser would show answers with what the process store holds.
  TerminalWindow from_store({});
  EXPECT_EQ(from_store.browser_cookie_text(), "stored=1");
  process_cookie_store().clear();
}

TEST(TerminalWindowTest, CancelEndsAWaitInProgressAndEveryLaterOne) {
  TerminalWindow window({});
  EXPECT_TRUE(window.wait(0));
  EXPECT_TRUE(window.wait(1));
  auto waiting = std::async(std::launch::async, [&window] { return window.wait(3'600'000); });
  window.cancel();
  EXPECT_FALSE(waiting.get());
  EXPECT_FALSE(window.wait(3'600'000));
  EXPECT_TRUE(window.cancelled());
}

TEST(TerminalWindowTest, ProgressLineFollowsTheBarAndStepsAsideForTheLog) {
  std::ostringstream terminal;
  std::ostringstream log;
  ProgressLine progress(terminal, 10);
  TerminalWindowSetup setup;
  setup.log = &log;
  setup.progress = &progress;
  TerminalWindow window(setup);
  window.append_log(gbk("before\r\n"));
  EXPECT_EQ(terminal.str(), "") << "no bar before the engine starts one";

  window.set_progress_maximum(4);
  window.set_progress_position(1);
  window.set_text(control::kProgressPercent, "25%");
  window.set_text(control::kPhotoInHand, "4/1");
  EXPECT_TRUE(progress.shown());
  const std::string drawn = terminal.str();
  EXPECT_NE(drawn.rfind("[##        ] 25%  4/1"), std::string::npos) << drawn;

  window.append_log(gbk("line\r\n"));
  EXPECT_EQ(log.str(), "before\nline\n");
  window.finish();
  EXPECT_FALSE(progress.shown());
  EXPECT_EQ(terminal.str().substr(terminal.str().size() - 4), "\r\x1b[K");
}

struct BarCase {
  int position;
  int maximum;
  const char* bar;
};

void PrintTo(const BarCase& c, std::ostream* out) { *out << c.position << " of " << c.maximum; }

class ProgressRenderTest : public ::testing::TestWithParam<BarCase> {};

TEST_P(ProgressRenderTest, FillsInProportionWithinItsWidth) {
  ProgressState state;
  state.position = GetParam().position;
  state.maximum = GetParam().maximum;
  EXPECT_EQ(ProgressLine::render(state, 4), GetParam().bar);
}

TEST(ProgressRenderColumnsTest, CutsTheLineToTheTerminalLeavingTheLastColumn) {
  ProgressState state;
  state.position = 1;
  state.maximum = 2;
  state.percent = "50%";
  state.detail = "下载到第[1]个相册 25/3";
  EXPECT_EQ(ProgressLine::render(state, 4, 0), "[##  ] 50%  下载到第[1]个相册 25/3");
  EXPECT_EQ(ProgressLine::render(state, 4, 16), "[##  ] 50%  下");
  EXPECT_EQ(ProgressLine::render(state, 4, 14), "[##  ] 50%  ");
}

// An album may hold more photos than its listed count, and a count of 0 gives no maximum.
INSTANTIATE_TEST_SUITE_P(Positions, ProgressRenderTest,
                         ::testing::Values(BarCase{0, 4, "[    ]"}, BarCase{3, 4, "[### ]"},
                                           BarCase{4, 4, "[####]"}, BarCase{9, 4, "[####]"},
                                           BarCase{1, 0, "[    ]"}, BarCase{-2, 4, "[    ]"}));

}  // namespace
}  // namespace tamberlo::cli
