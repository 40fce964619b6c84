#include "catalogue/window_port.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <chrono>
#include <string>

#include "shell/album_list_view.h"
#include "shell/event_wait.h"
#include "shell/main_window.h"
#include "shell/qt_window_port.h"
#include "shell/window_test_support.h"
#include "text/encoding.h"

namespace tamberlo::test {
namespace {

std::string local(const char* utf8) { return utf8_to_local(utf8); }

QByteArray png(Qt::GlobalColor colour, int side) {
  QImage picture(side, side, QImage::Format_RGB32);
  picture.fill(colour);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  picture.save(&buffer, "PNG");
  return bytes;
}

class WindowPortTest : public ::testing::Test {
 protected:
  WindowPortTest() : window(window_options()), messages(window) { window.show(); }
  ~WindowPortTest() override { window.stop_tasks(); }

  void run_on_worker(std::function<void()> routine) {
    window.workers().start_worker_thread(std::move(routine));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.workers().running() == 0; }, 10000));
    QCoreApplication::processEvents();
  }

  MainWindow window;
  RecordedMessages messages;
  WindowPort& port() { return window.port(); }
};

TEST_F(WindowPortTest, WorkerWritesArriveInOrderAndItsReadsSeeThem) {
  std::string input_seen;
  int rows_seen = 0;
  std::string cell_seen;
  run_on_worker([&] {
    port().set_text(control::kStatus, local("第一"));
    port().append_log(local("一\r\n"));
    port().set_text(control::kInput, local("abc 相册"));
    input_seen = port().text(control::kInput);
    port().list_clear();
    for (int i = 0; i < 50; ++i) {
      const int row = port().list_append_row();
      port().list_set_cell(row, column::kName, local("相册") + std::to_string(row));
      port().list_set_tick(row, row % 2);
      port().append_log(std::to_string(row) + "\r\n");
    }
    rows_seen = port().list_row_count();
    cell_seen = port().list_cell(49, column::kName);
    port().set_text(control::kStatus, local("完毕"));
    port().set_visible(control::kDownloadButton, false);
    port().set_progress_maximum(50);
    port().set_progress_position(25);
  });
  EXPECT_EQ(input_seen, local("abc 相册"));
  EXPECT_EQ(rows_seen, 50);
  EXPECT_EQ(cell_seen, local("相册49"));
  EXPECT_EQ(window.control_as<QLabel>("标签_动态")->text(), QString::fromUtf8("完毕"));
  EXPECT_TRUE(window.control("按钮_下载选中")->isHidden());
  std::string expected_log = local("一\r\n");
  for (int i = 0; i < 50; ++i) expected_log += std::to_string(i) + "\r\n";
  EXPECT_EQ(window.log_text(), expected_log);
  EXPECT_EQ(port().text(control::kLog), expected_log);
  EXPECT_EQ(window.album_list().tick(3), 1);
  EXPECT_EQ(window.album_list().tick(4), 0);
}

TEST_F(WindowPortTest, TextsCrossAsGbkInBothDirections) {
  port().set_text(control::kAlbumsChosen, local("总共需下载[2]个相册"));
  EXPECT_EQ(window.control_as<QLabel>("标签_选择了相册数量")->text(),
            QString::fromUtf8("总共需下载[2]个相册"));
  window.control_as<QLineEdit>("编辑框_保存位置")->setText(QString::fromUtf8("/照片/备份"));
  EXPECT_EQ(port().text(control::kSaveLocation), local("/照片/备份"));
  EXPECT_EQ(port().current_index(control::kServiceChoice), 0);
  port().set_current_index(control::kTabs, 1);
  EXPECT_EQ(port().current_index(control::kTabs), 1);
}

TEST_F(WindowPortTest, CoversAreScaledAndABadPictureKeepsTheLastOne) {
  AlbumListView& list = window.album_list();
  list.append_row();
  list.append_row();
  list.append_row();
  port().list_set_column_width(column::kCover, 100);
  port().list_set_cover(0, png(Qt::red, 300).toStdString());
  port().list_set_cover(1, "not a picture");
  port().list_set_cover(2, png(Qt::blue, 40).toStdString());
  const auto colour = [&](int row) {
    return list.topLevelItem(row)
        ->icon(column::kCover)
        .pixmap(100, 100)
        .toImage()
        .pixelColor(50, 50);
  };
  EXPECT_EQ(list.topLevelItem(0)->icon(column::kCover).availableSizes().value(0), QSize(100, 100));
  EXPECT_EQ(colour(0), QColor(Qt::red));
  EXPECT_EQ(colour(1), QColor(Qt::red));
  EXPECT_EQ(colour(2), QColor(Qt::blue));
  EXPECT_EQ(list.iconSize(), QSize(100, 100));
  port().list_set_column_width(column::kCover, 0);
  EXPECT_TRUE(list.isColumnHidden(column::kCover));
}

TEST_F(WindowPortTest, AWorkersMessageLeavesTheWindowUsableAndWaitsForItsAnswer) {
  std::function<void()> answer;
  bool held_window = true;
  window.messages().set_handler([&](const QString&, bool holds_window, std::function<void()> done) {
    held_window = holds_window;
    answer = std::move(done);
  });
  std::atomic<bool> returned{false};
  window.workers().start_worker_thread([&] {
    port().show_message(local("全部下载完毕"));
    returned = true;
  });
  ASSERT_TRUE(QTest::qWaitFor([&] { return static_cast<bool>(answer); }, 5000));
  EXPECT_FALSE(held_window);
  QTest::qWait(100);
  EXPECT_FALSE(returned);
  answer();
  EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }, 5000));
}

TEST_F(WindowPortTest, StoppingReleasesWorkersBlockedInWaitsMessagesAndReads) {
  window.messages().set_handler([](const QString&, bool, std::function<void()>) {});  // never
  std::atomic<int> wait_result{-1};
  std::atomic<bool> message_returned{false};
  window.workers().start_worker_thread([&] { wait_result = port().wait(600'000) ? 1 : 0; });
  window.workers().start_worker_thread([&] {
    port().show_message("x");
    message_returned = true;
  });
  QTest::qWait(100);
  window.stop_tasks();  // joins both workers: a worker left blocked would hang the test here
  EXPECT_EQ(wait_result, 0);
  EXPECT_TRUE(message_returned);
  // After the stop a worker's read no longer waits for the window.
  std::string text = "unchanged";
  WorkerThreads late;
  late.start_worker_thread([&] { text = port().text(control::kStatus); });
  late.join_all();
  EXPECT_EQ(text, "");
}

TEST_F(WindowPortTest, WaitOnTheWindowThreadRunsOtherHandlersAndEndsOnStop) {
  bool clicked = false;
  QObject::connect(window.control_as<QPushButton>("按钮3"), &QPushButton::clicked,
                   [&] { clicked = true; });
  window.set_desktop_opener([](const QUrl&) {});
  QTimer::singleShot(
      20, [&] { QTest::mouseClick(window.control_as<QPushButton>("按钮3"), Qt::LeftButton); });
  EXPECT_TRUE(wait_processing_events(200, 0, &window.stop_signal()));
  EXPECT_TRUE(clicked);
  QTimer::singleShot(20, [&] { window.stop_signal().raise(); });
  EXPECT_FALSE(wait_processing_events(10, 2, &window.stop_signal()));  // ten minutes, cut short
}

TEST(WaitUnits, UnitsScaleTheCount) {
  EXPECT_EQ(wait_duration_ms(2000, 0), 2000);
  EXPECT_EQ(wait_duration_ms(3, 1), 3000);
  EXPECT_EQ(wait_duration_ms(1, 2), 60'000);
  EXPECT_EQ(wait_duration_ms(2, 3), 7'200'000);
  EXPECT_EQ(wait_duration_ms(3, 150), 450);  // any other unit is itself milliseconds per unit
  EXPECT_EQ(wait_duration_ms(1000, 3), 3'600'000'000);  // no overflow of 32 bits
  EXPECT_EQ(wait_duration_ms(-5, 0), 0);
}

}  // namespace
}  // namespace tamberlo::test
