#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <filesystem>
#include <memory>
#include <string>

#include "catalogue/window_port.h"
#include "http/cookie_store.h"
#include "sample-service/sample_service.h"
#include "shell/album_list_view.h"
#include "shell/demo_service.h"
#include "shell/embedded_browser.h"
#include "shell/main_window.h"
#include "shell/qt_window_port.h"
#include "shell/window_test_support.h"
#include "support/sandbox.h"
#include "text/encoding.h"

// The whole road in the window with the real embedded browser: log in on the service's login
// page, fetch an owner's albums, open a withheld album with its password in the browser, ask
// again, and download with a pause in the middle.
namespace tamberlo::test {
namespace {

namespace fs = std::filesystem;

class BrowserRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    service = std::make_unique<sample::SampleService>();
    service->start();
    // Before the first browser is made: the engine reads the proxy once.
    use_proxy(QString::fromStdString(service->proxy_url()));
    window = std::make_unique<MainWindow>(window_options(true));
    messages = std::make_unique<RecordedMessages>(*window);
    window->show();
  }
  void TearDown() override {
    window->close();
    messages.reset();
    window.reset();
    service->stop();
  }

  // Loads the address through the "打开" button and waits for the page.
  void open(const QString& address) {
    window->control_as<QLineEdit>("编辑框_url")->setText(address);
    run_to_load([&] { click("按钮1"); });
  }
  template <typename Action>
  void run_to_load(Action action) {
    bool loaded = false;
    auto connection = QObject::connect(window->browser().view(), &QWebEngineView::loadFinished,
                                       [&](bool) { loaded = true; });
    action();
    EXPECT_TRUE(QTest::qWaitFor([&] { return loaded; }, 20000));
    QObject::disconnect(connection);
  }
  void run_script(const QString& script) { window->browser().page()->runJavaScript(script); }
  void click(const char* name) {
    QTest::mouseClick(window->control_as<QPushButton>(name), Qt::LeftButton);
  }
  QString caption(const char* name) { return window->control_as<QLabel>(name)->text(); }
  int row_of(const char* album_id) {
    AlbumListView& list = window->album_list();
    for (int row = 0; row < list.topLevelItemCount(); ++row) {
      if (list.cell(row, column::kAlbumId) == QString::fromUtf8(album_id)) return row;
    }
    return -1;
  }
  bool store_has_cookie(const std::string& name) {
    for (const Cookie& cookie : process_cookie_store().all()) {
      if (cookie.name == name) return true;
    }
    return false;
  }
  int photos_on_disk(const fs::path& root) {
    int count = 0;
    if (!fs::exists(root)) return 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      count += entry.is_regular_file() ? 1 : 0;
    }
    return count;
  }
  void save_screenshots() {
    const QString folder = QStringLiteral(TAMBERLO_SCREENSHOT_DIR);
    QDir().mkpath(folder);
    auto* tabs = window->control_as<QTabWidget>("选择夹1");
    const char* names[] = {"page-login.png", "page-catalogue.png", "page-help.png"};
    for (int page = 0; page < 3; ++page) {
      tabs->setCurrentIndex(page);
      QTest::qWait(page == 0 ? 1000 : 200);
      EXPECT_TRUE(window->grab().save(folder + QLatin1Char('/') + QLatin1String(names[page])));
    }
  }

  std::unique_ptr<sample::SampleService> service;
  std::unique_ptr<MainWindow> window;
  std::unique_ptr<RecordedMessages> messages;
  Sandbox sandbox;
};

TEST_F(BrowserRunTest, LogInFetchUnlockDownloadWithPauseAndResume) {
  window->run_startup_sequence();
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return window->browser().view()->url().host() == QStringLiteral("photo.163.com"); },
      20000));

  // Log in on the service's page, as a user would.
  open(QStringLiteral("http://photo.163.com/login"));
  run_to_load([&] {
    run_script(
        QStringLiteral("document.getElementById('login-user').value = 'tester';"
                       "document.getElementById('login-password').value = 'demo';"
                       "document.getElementById('login-submit').click();"));
  });
  // The browser's login reaches the process store, so the program's requests carry it.
  ASSERT_TRUE(QTest::qWaitFor([&] { return store_has_cookie("P_INFO"); }, 10000));

  // A cookie that one of the program's own requests received shows in the browser's document.
  Cookie from_answer;
  from_answer.name = "from_answer";
  from_answer.value = "1";
  from_answer.domain = "photo.163.com";
  process_cookie_store().set(from_answer);
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        return window->port().browser_cookie_text().find("from_answer=1") != std::string::npos;
      },
      10000));

  // The owner's albums, with covers.
  auto* tabs = window->control_as<QTabWidget>("选择夹1");
  tabs->setCurrentIndex(1);
  window->control_as<QLineEdit>("编辑框_号码")
      ->setText(QStringLiteral("http://photo.163.com/demo/"));
  window->control_as<QCheckBox>("选择框_有封面")->setChecked(true);
  click("按钮_获取相册封面");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return caption("标签_动态").startsWith(QString::fromUtf8("相册获取完毕")); }, 60000));
  AlbumListView& list = window->album_list();
  EXPECT_EQ(caption("标签_动态"), QString::fromUtf8("相册获取完毕，共计：7个,"));
  ASSERT_EQ(list.topLevelItemCount(), 7);
  EXPECT_FALSE(list.isColumnHidden(column::kCover));
  EXPECT_FALSE(list.topLevelItem(0)->icon(column::kCover).isNull());
  const int locked = row_of("1003");
  ASSERT_GE(locked, 0);
  ASSERT_EQ(list.cell(locked, column::kAccess), QString::fromUtf8("双击获取权限"));
  EXPECT_EQ(list.tick(locked), 0);

  // Double-click the withheld album: its page opens in the browser on the login page.
  const QRect cell = list.visualItemRect(list.topLevelItem(locked));
  run_to_load([&] {
    // A double-click is a press and release followed by the second press.
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, cell.center());
  });
  EXPECT_EQ(tabs->currentIndex(), 0);
  EXPECT_TRUE(
      window->control_as<QLineEdit>("编辑框_url")->text().contains(QStringLiteral("aid=1003")));
  EXPECT_EQ(window->control_as<QLineEdit>("编辑框_权限_id")->text(), QStringLiteral("1003"));

  // Answer the album's password form in the page, then ask the service again.
  QTest::qWait(300);
  run_to_load([&] {
    run_script(
        QStringLiteral("document.getElementById('unlock-password').value = '1234';"
                       "document.getElementById('unlock-submit').click();"));
  });
  QTest::qWait(300);
  click("按钮4");
  EXPECT_TRUE(messages->texts().isEmpty()) << messages->texts().join(" | ").toStdString();
  EXPECT_EQ(tabs->currentIndex(), 1);
  EXPECT_EQ(list.cell(locked, column::kAccess), QString::fromUtf8("已取得"));
  EXPECT_FALSE(list.cell(locked, column::kDataAddress).isEmpty());
  EXPECT_EQ(list.current_row(), locked);
  EXPECT_EQ(list.tick(locked), 0);
  EXPECT_TRUE(window->control_as<QLineEdit>("编辑框_权限_id")->text().isEmpty());

  // Tick the unlocked album and one other; untick the rest.
  const int spring = row_of("1001");
  for (int row = 0; row < list.topLevelItemCount(); ++row) list.set_tick(row, 0);
  list.set_tick(locked, 1);
  list.set_tick(spring, 1);
  window->control_as<QLineEdit>("编辑框_保存位置")
      ->setText(QString::fromStdString(sandbox.path().string()));

  messages->clear();
  // Slow photo bodies so the pause lands in the middle.
  service->faults().photo_chunk_delay_ms = 20;
  click("按钮_下载选中");
  EXPECT_FALSE(window->control("按钮_暂停线程")->isHidden());
  EXPECT_TRUE(window->control("按钮_下载选中")->isHidden());
  ASSERT_TRUE(QTest::qWaitFor([&] { return photos_on_disk(sandbox.path()) >= 2; }, 60000));
  click("按钮_暂停线程");
  EXPECT_FALSE(window->control("按钮_继续下载")->isHidden());
  EXPECT_TRUE(window->control("按钮_暂停线程")->isHidden());
  QTest::qWait(300);
  const int at_pause = photos_on_disk(sandbox.path());
  QTest::qWait(1500);
  EXPECT_EQ(photos_on_disk(sandbox.path()), at_pause);  // no progress while paused
  EXPECT_LT(at_pause, 8);
  click("按钮_继续下载");
  ASSERT_TRUE(QTest::qWaitFor([&] { return !messages->texts().isEmpty(); }, 120000));
  EXPECT_TRUE(messages->texts().first().startsWith(QString::fromUtf8("全部下载完毕")));
  EXPECT_EQ(caption("标签_第多少张照片"), QString::fromUtf8("下载完成"));
  EXPECT_FALSE(window->control("按钮_下载选中")->isHidden());

  // Five photos of 春游 and three of 家人相册, each a whole picture, in the owner's folder.
  const fs::path owner = sandbox.path() / "demo";
  EXPECT_EQ(photos_on_disk(owner), 8);
  for (const auto& entry : fs::recursive_directory_iterator(owner)) {
    if (!entry.is_regular_file()) continue;
    EXPECT_EQ(entry.path().extension(), ".jpg");
    EXPECT_FALSE(QImage(QString::fromStdString(entry.path().string())).isNull()) << entry.path();
  }

  save_screenshots();
}

TEST_F(BrowserRunTest, CookiesStayTheSameOnBothSidesWhenAValueIsReplaced) {
  open(QStringLiteral("http://photo.163.com/"));
  const auto store_value = [&](const std::string& name) {
    for (const Cookie& cookie : process_cookie_store().all()) {
      if (cookie.name == name) return cookie.value;
    }
    return std::string("(none)");
  };
  const auto browser_sees = [&](const std::string& item) {
    return window->port().browser_cookie_text().find(item) != std::string::npos;
  };
  Cookie replaced;
  replaced.name = "replaced";
  replaced.value = "old";
  replaced.domain = "photo.163.com";
  process_cookie_store().set(replaced);
  ASSERT_TRUE(QTest::qWaitFor([&] { return browser_sees("replaced=old"); }, 10000));
  // The browser reports the old cookie as removed when the new one takes its place; that report
  // must not take the new value out of the process store.
  replaced.value = "new";
  process_cookie_store().set(replaced);
  ASSERT_TRUE(QTest::qWaitFor([&] { return browser_sees("replaced=new"); }, 10000));
  QTest::qWait(300);
  EXPECT_EQ(store_value("replaced"), "new");

  // A cookie a page script sets reaches the store; one the store drops leaves the browser.
  run_script(QStringLiteral("document.cookie = 'from_page=42; path=/';"));
  ASSERT_TRUE(QTest::qWaitFor([&] { return store_value("from_page") == "42"; }, 10000));
  process_cookie_store().remove("replaced", "photo.163.com", "/");
  EXPECT_TRUE(QTest::qWaitFor([&] { return !browser_sees("replaced="); }, 10000));
  EXPECT_TRUE(browser_sees("from_page=42"));
}

TEST_F(BrowserRunTest, ClosingDuringADownloadStopsCleanlyWithoutPartFiles) {
  window->control_as<QLineEdit>("编辑框_号码")
      ->setText(QStringLiteral("http://photo.163.com/travel/"));
  click("按钮_获取相册封面");
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return caption("标签_动态").startsWith(QString::fromUtf8("相册获取完毕")); }, 60000));
  window->control_as<QLineEdit>("编辑框_保存位置")
      ->setText(QString::fromStdString(sandbox.path().string()));
  service->faults().photo_chunk_delay_ms = 50;
  click("按钮_下载选中");
  ASSERT_TRUE(QTest::qWaitFor([&] { return photos_on_disk(sandbox.path()) >= 1; }, 60000));
  window->close();  // cancels and joins the worker; a hang here fails by the test's time limit
  EXPECT_EQ(window->workers().running(), 0);
  for (const auto& entry : fs::recursive_directory_iterator(sandbox.path())) {
    if (!entry.is_regular_file()) continue;
    EXPECT_EQ(entry.path().extension(), ".jpg") << entry.path();
    EXPECT_FALSE(QImage(QString::fromStdString(entry.path().string())).isNull()) << entry.path();
  }
  EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(BrowserRunTest, ClosingDuringARetrievalStopsIt) {
  service->faults().answer_delay_ms = 300;
  window->control_as<QLineEdit>("编辑框_号码")
      ->setText(QStringLiteral("http://photo.163.com/travel/"));
  click("按钮_获取相册封面");
  ASSERT_TRUE(QTest::qWaitFor([&] { return window->workers().running() == 1; }, 5000));
  QTest::qWait(500);
  window->close();
  EXPECT_EQ(window->workers().running(), 0);
  EXPECT_FALSE(caption("标签_动态").startsWith(QString::fromUtf8("相册获取完毕")));
}

}  // namespace
}  // namespace tamberlo::test
