#include "catalogue/album_list_retrieval.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "catalogue/session_state.h"
#include "catalogue_service.h"
#include "http/transfer_gate.h"
#include "support/recording_window_port.h"
#include "support/sample_service_environment.h"
#include "text/encoding.h"

namespace tamberlo {
namespace {

using Calls = std::vector<std::string>;
using testing::RecordingWindowPort;

constexpr const char* kAbcInput = "http://photo.163.com/abc/#m=0&p=1";

Calls opening_lines() {
  return {"set_visible 画板1 1", "set_text 标签_动态 群相册获取中，耐心等待...", "list_clear",
          "column_width 5 0", "column_width 7 0"};
}

struct ExpectedRow {
  std::string name;
  std::string count;
  std::string id;
  std::string data_address;  // empty: withheld
  std::string percent;
};

// The lines one album adds, without the access probe.
Calls row_lines(int row, int total, const ExpectedRow& r, bool covers, std::size_t cover_size) {
  Calls lines = {"append_log 获取相册《" + r.name + "》---有" + r.count + "张照片\\r\\n",
                 "progress_maximum " + std::to_string(total),
                 "progress_position " + std::to_string(row + 1),
                 "set_text 标签_进度条比例 " + r.percent,
                 "wait 100",
                 covers ? "column_width 3 100" : "column_width 3 0",
                 "append_row " + std::to_string(row),
                 "cell " + std::to_string(row) + " 1 " + std::to_string(row + 1),
                 "cell " + std::to_string(row) + " 2 " + r.name};
  if (covers) {
    lines.push_back("cover " + std::to_string(row) + " " + std::to_string(cover_size) + " bytes");
  }
  const std::string cell = "cell " + std::to_string(row) + " ";
  lines.insert(lines.end(),
               {cell + "4 " + r.count, cell + "5 " + r.id, cell + "7 " + r.data_address});
  if (r.data_address.empty()) {
    lines.insert(lines.end(), {cell + "6 双击获取权限", "tick " + std::to_string(row) + " 0"});
  } else {
    lines.insert(lines.end(), {cell + "6 已取得", "tick " + std::to_string(row) + " 1"});
  }
  lines.push_back("process_events");
  return lines;
}

Calls closing_lines(int total) {
  const std::string n = std::to_string(total);
  return {"set_visible 画板1 0", "set_text 标签_动态 相册获取完毕，共计：" + n + "个,",
          "append_log -----获取完毕,共计" + n + "个\\r\\n\\r\\n"};
}

void append(Calls& to, const Calls& lines) { to.insert(to.end(), lines.begin(), lines.end()); }

const std::vector<ExpectedRow>& abc_rows() {
  static const std::vector<ExpectedRow> rows = {
      {"春游", "12", "1001", "s1.ph.126.net/photo/abc/data/1001.js", "33%"},
      {"家人 合影", "3", "1002", "", "66%"},
      {"同学聚会", "2", "1003", "", "100%"}};
  return rows;
}

class AlbumListRetrieval : public ::testing::Test {
 protected:
  void SetUp() override {
    catalogue_test::reset_service();
    port.put_text(control::kInput, kAbcInput);
  }

  std::vector<sample::ReceivedRequest> requests_to(const std::string& host) const {
    std::vector<sample::ReceivedRequest> found;
    for (const auto& request : test::sample_service().received()) {
      if (request.host == host) found.push_back(request);
    }
    return found;
  }

  RecordingWindowPort port;
  SessionState session;
};

TEST_F(AlbumListRetrieval, OwnerWithThreeAlbumsFillsTheListRowByRow) {
  run_album_list_retrieval(port, session);

  Calls expected = opening_lines();
  append(expected, {"wait 1000", "progress_position 0"});
  for (int row = 0; row < 3; ++row) append(expected, row_lines(row, 3, abc_rows()[row], false, 0));
  append(expected, closing_lines(3));
  EXPECT_EQ(port.calls(), expected);

  EXPECT_EQ(session.owner_account(), "abc");
  EXPECT_EQ(port.log(), utf8_to_local("获取相册《春游》---有12张照片\r\n"
                                      "获取相册《家人 合影》---有3张照片\r\n"
                                      "获取相册《同学聚会》---有2张照片\r\n"
                                      "-----获取完毕,共计3个\r\n\r\n"));
  EXPECT_EQ(port.text(control::kStatus), utf8_to_local("相册获取完毕，共计：3个,"));
  EXPECT_EQ(port.progress_position(), 3);

  // The home page and the list came through the proxy; nothing else was asked for.
  const auto web = requests_to("photo.163.com");
  ASSERT_EQ(web.size(), 1u);
  EXPECT_EQ(web[0].path, "/abc/");
  EXPECT_NE(web[0].header("User-Agent").find("Mozilla/5.0 (Windows NT 5.1)"), std::string::npos);
  const auto scripts = requests_to("s1.ph.126.net");
  ASSERT_EQ(scripts.size(), 1u);
  EXPECT_EQ(scripts[0].path, "/photo/abc/albumlist.js");
  EXPECT_TRUE(requests_to("img.ph.126.net").empty());
}

TEST_F(AlbumListRetrieval, SecondRetrievalStartsAgainFromTheFirstRow) {
  run_album_list_retrieval(port, session);
  port.put_text(control::kInput, "http://solo.photo.163.com/");
  port.clear_calls();
  run_album_list_retrieval(port, session);

  Calls expected = opening_lines();
  append(expected, {"wait 1000", "progress_position 0"});
  append(expected,
         row_lines(0, 1, {"独照", "1", "3001", "s1.ph.126.net/photo/solo/data/3001.js", "100%"},
                   false, 0));
  append(expected, closing_lines(1));
  EXPECT_EQ(port.calls(), expected);
  EXPECT_EQ(port.rows().size(), 1u);
  EXPECT_EQ(session.owner_account(), "solo");
}

TEST_F(AlbumListRetrieval, CoversComeFromTheCoverHostOrAfter404FromTheAlternate) {
  for (bool cover_404 : {false, true}) {
    catalogue_test::reset_service();
    test::sample_service().faults().cover_404 = cover_404;
    RecordingWindowPort window;
    window.put_text(control::kInput, kAbcInput);
    window.put_tick(control::kWithCovers, true);
    run_album_list_retrieval(window, session);

    const auto rows = window.rows();
    ASSERT_EQ(rows.size(), 3u);
    Calls expected = opening_lines();
    append(expected, {"wait 1000", "progress_position 0"});
    for (int row = 0; row < 3; ++row) {
      EXPECT_TRUE(rows[row].cover.starts_with("\xFF\xD8")) << "row " << row;  // a JPEG
      append(expected, row_lines(row, 3, abc_rows()[row], true, rows[row].cover.size()));
    }
    append(expected, closing_lines(3));
    EXPECT_EQ(window.calls(), expected) << "cover_404 " << cover_404;
    EXPECT_EQ(window.column_width(column::kCover), 100);

    const auto first = requests_to("img.ph.126.net");
    const auto alternate = requests_to("img.bimg.126.net");
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0].path, "/cover/abc/1001.jpg");
    EXPECT_EQ(first[0].header("Cookie"), "");  // covers carry no cookies
    EXPECT_EQ(alternate.size(), cover_404 ? 3u : 0u);
    if (cover_404) {
      EXPECT_EQ(alternate[2].path, "/cover/abc/1003.jpg");
    }
  }
}

TEST_F(AlbumListRetrieval, OwnListAsksForWithheldAlbumsAfterOpeningTheirPages) {
  // The user has unlocked 家人 合影 in the browser but is not logged in for 同学聚会.
  catalogue_test::unlock_album("abc", "1002", "1234");
  port.put_tick(control::kOwnAlbums, true);
  run_album_list_retrieval(port, session);

  Calls expected = opening_lines();
  append(expected, {"wait 1000", "progress_position 0"});
  append(expected, row_lines(0, 3, abc_rows()[0], false, 0));

  ExpectedRow granted = abc_rows()[1];
  granted.data_address = "s1.ph.126.net/photo/abc/data/1002.js";
  Calls second = row_lines(1, 3, granted, false, 0);
  second.insert(second.begin() + 1,
                {"browser http://photo.163.com/abc/#m=1&aid=1002&p=1", "wait 100",
                 "append_log s1.ph.126.net/photo/abc/data/1002.js\\r\\n"});
  append(expected, second);

  Calls third = row_lines(2, 3, abc_rows()[2], false, 0);
  third.insert(third.begin() + 1, {"browser http://photo.163.com/abc/#m=1&aid=1003&p=1", "wait 100",
                                   "append_log \\r\\n"});
  append(expected, third);
  append(expected, closing_lines(3));
  EXPECT_EQ(port.calls(), expected);

  // The open album is never asked for; the withheld ones in the catalogue form.
  std::vector<std::string> calls;
  for (const auto& request : requests_to("photo.163.com")) {
    if (request.path.ends_with(".dwr")) calls.push_back(request.target);
  }
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_NE(calls[0].find("/photo/qelvannu/"), std::string::npos);
  EXPECT_NE(calls[0].find("c0-param0=number%3A1002&"), std::string::npos);
  EXPECT_NE(calls[1].find("c0-param0=number%3A1003&"), std::string::npos);
}

TEST_F(AlbumListRetrieval, OwnerWithoutAnAlbumListGivesAnEmptyList) {
  port.put_text(control::kInput, "http://photo.163.com/nobody");
  run_album_list_retrieval(port, session);

  Calls expected = opening_lines();
  append(expected, {"wait 1000", "progress_position 0"});
  append(expected, closing_lines(0));
  EXPECT_EQ(port.calls(), expected);
  EXPECT_EQ(session.owner_account(), "nobody");
  EXPECT_TRUE(requests_to("s1.ph.126.net").empty());
}

TEST_F(AlbumListRetrieval, CancelledWaitStopsWithoutTouchingTheWindowAgain) {
  // Cancelled during the pause after the first row's progress: nothing more reaches the window.
  int waits = 0;
  port.on_wait([&waits](int) { return ++waits < 2; });
  run_album_list_retrieval(port, session);

  Calls expected = opening_lines();
  append(expected,
         {"wait 1000", "progress_position 0", "append_log 获取相册《春游》---有12张照片\\r\\n",
          "progress_maximum 3", "progress_position 1", "set_text 标签_进度条比例 33%", "wait 100"});
  EXPECT_EQ(port.calls(), expected);
  EXPECT_TRUE(port.rows().empty());
  EXPECT_TRUE(port.visible(control::kCoverCanvas));
}

TEST_F(AlbumListRetrieval, CancelledGateBreaksOffTheRequests) {
  // The answers are held back, so only a request that is broken off can come back empty.
  test::sample_service().faults().answer_delay_ms = 300;
  TransferGate gate;
  gate.cancel();
  run_album_list_retrieval(port, session, &gate);

  EXPECT_TRUE(requests_to("s1.ph.126.net").empty());
  EXPECT_TRUE(port.rows().empty());
}

}  // namespace
}  // namespace tamberlo
