#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <string>

#include "shell/album_list_view.h"
#include "shell/embedded_browser.h"
#include "shell/find_window.h"
#include "shell/main_window.h"
#include "shell/window_test_support.h"

namespace tamberlo::test {
namespace {

struct Placed {
  const char* name;
  const char* kind;  // the Qt class the control is made of
  const char* parent;
  int x, y, width, height;
  const char* caption;  // nullptr: not checked (filled at start-up or configuration)
  bool visible;
};

// The window as a user meets it: every control where the old window had it.
const Placed kMainWindow[] = {
    {"编辑框_url", "QLineEdit", "登录页", 3, 45, 592, 32, "http://photo.163.com/", true},
    {"按钮1", "QPushButton", "登录页", 602, 43, 93, 32, "打开", true},
    {"按钮4", "QPushButton", "登录页", 719, 42, 156, 33, "已经取得进入相册权限", true},
    {"编辑框_权限_id", "QLineEdit", "登录页", 52, 80, 128, 25, "", false},
    {"编辑框_权限_行号", "QLineEdit", "登录页", 203, 79, 120, 26, "", false},
    {"标签2", "QLabel", "登录页", 27, 85, 256, 24, "", true},
    {"超文本浏览框1", "tamberlo::EmbeddedBrowser", "登录页", 3, 108, 944, 476, nullptr, true},
    {"分组框2", "QGroupBox", "相册页", 10, 25, 902, 49, "", true},
    {"组合框1", "QComboBox", "分组框2", 6, 20, 160, 24, "网易相册", true},
    {"标签1", "QLabel", "分组框2", 171, 19, 68, 24, "1》用户主页：", true},
    {"编辑框_号码", "QLineEdit", "分组框2", 242, 18, 360, 26, "", true},
    {"选择框_自己的", "QCheckBox", "分组框2", 605, 19, 73, 24, "自己相册", true},
    {"按钮_获取相册封面", "QPushButton", "分组框2", 682, 12, 88, 32, "2:获取相册", true},
    {"按钮_下载选中", "QPushButton", "分组框2", 786, 11, 88, 32, "3：下载选中", true},
    {"按钮_继续下载", "QPushButton", "分组框2", 817, 11, 77, 32, "继续下载", false},
    {"按钮_暂停线程", "QPushButton", "分组框2", 809, 8, 69, 32, "暂停下载", false},
    {"分组框5", "QGroupBox", "相册页", 10, 73, 902, 48, "", true},
    {"标签_保存路径", "QLabel", "分组框5", 8, 12, 97, 32, "相册保存位置：", true},
    {"编辑框_保存位置", "QLineEdit", "分组框5", 89, 12, 589, 29, nullptr, true},
    {"按钮_选择位置", "QPushButton", "分组框5", 684, 12, 85, 27, "选择存放位置", true},
    {"按钮3", "QPushButton", "分组框5", 788, 12, 85, 27, "打开目录", true},
    {"分组框3", "QGroupBox", "相册页", 10, 125, 902, 459, "", true},
    {"选择框_全选", "QCheckBox", "分组框3", 16, 22, 46, 16, "全选", true},
    {"选择框_反选", "QCheckBox", "分组框3", 76, 22, 46, 16, "反选", true},
    {"选择框_有封面", "QCheckBox", "分组框3", 138, 22, 164, 16, "有封面图(低配电脑不要选)", true},
    {"标签_查找相册", "tamberlo::ClickableLabel", "分组框3", 317, 16, 52, 24, "查找相册", true},
    {"标签_动态", "QLabel", "分组框3", 431, 14, 548, 24, "", true},
    {"超级列表框1", "tamberlo::AlbumListView", "分组框3", 6, 41, 667, 378, nullptr, true},
    {"画板1", "QLabel", "分组框3", 455, 107, 112, 88, nullptr, false},
    {"分组框1", "QGroupBox", "分组框3", 681, 36, 200, 383, "", true},
    {"标签3", "QLabel", "分组框1", 8, 12, 88, 19, "执行操作日志：", true},
    {"编辑框_操作记录", "QPlainTextEdit", "分组框1", 8, 42, 176, 309, "", true},
    {"标签_进度", "QLabel", "分组框3", 7, 418, 56, 35, "下载进度：", true},
    {"进度条1", "QProgressBar", "分组框3", 74, 423, 280, 24, nullptr, true},
    {"标签_进度条比例", "QLabel", "分组框3", 359, 424, 41, 23, "", true},
    {"标签_选择了相册数量", "QLabel", "分组框3", 404, 424, 144, 23, "", true},
    {"标签_正在下载相册", "QLabel", "分组框3", 554, 424, 110, 23, "", true},
    {"标签_第多少张照片", "QLabel", "分组框3", 666, 424, 95, 23, "", true},
    {"分组框7", "QGroupBox", "帮助页", 11, 49, 856, 256, nullptr, true},
    {"标签6", "QLabel", "分组框7", 7, 29, 64, 26, "在线客服：", true},
    {"按钮2", "QPushButton", "分组框7", 77, 29, 84, 24, "!", true},
    {"标签9", "QLabel", "分组框7", 7, 76, 159, 24, "了解更多相册下载工具：", true},
    {"标签7", "tamberlo::ClickableLabel", "分组框7", 7, 119, 165, 20,
     "http://www.tamberlo.example/", true},
    {"分组框4", "QGroupBox", "分组框7", 360, 25, 488, 223, "软件版本", true},
    {"标签5", "QLabel", "分组框4", 313, 34, 60, 40, "当前版本：", true},
    {"标签_banben", "QLabel", "分组框4", 377, 34, 95, 40, "", true},
    {"标签_xinbanben", "QLabel", "分组框4", 313, 82, 60, 40, "最新版本：", true},
    {"标签_zxbanben", "QLabel", "分组框4", 377, 82, 95, 40, "", true},
    {"按钮_checknew", "QPushButton", "分组框4", 313, 129, 159, 40, "检测程序是否有更新", true},
    {"标签_banbenjieguo", "QLabel", "分组框4", 312, 182, 160, 24, "", true},
};

const Placed kFindWindow[] = {
    {"标签_要查找的相册名称", "QLabel", "find_window", 8, 19, 104, 32, "要查找的相册名称：", true},
    {"编辑框1", "QLineEdit", "find_window", 112, 19, 144, 32, "", true},
    {"按钮_查找", "QPushButton", "find_window", 261, 19, 75, 32, "查找", true},
    {"标签_结果", "QLabel", "find_window", 8, 88, 56, 24, "查找结果：", true},
    {"标签_行位置", "QLabel", "find_window", 72, 88, 80, 24, "", true},
    {"按钮_查找上一个", "QPushButton", "find_window", 190, 80, 57, 32, "上一个", true},
    {"按钮_查找下一个", "QPushButton", "find_window", 281, 80, 57, 32, "下一个", true},
};

QString caption_of(QWidget* widget) {
  if (auto* label = qobject_cast<QLabel*>(widget)) return label->text();
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text();
  if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text();
  if (auto* combo = qobject_cast<QComboBox*>(widget)) return combo->currentText();
  if (auto* group = qobject_cast<QGroupBox*>(widget)) return group->title();
  if (auto* log = qobject_cast<QPlainTextEdit*>(widget)) return log->toPlainText();
  return {};
}

class WindowLayoutTest : public ::testing::Test {
 protected:
  WindowLayoutTest() : window(window_options()) { window.show(); }
  MainWindow window;
};

TEST_F(WindowLayoutTest, EveryControlHasItsNameKindPlaceCaptionAndVisibility) {
  for (const Placed& expected : kMainWindow) {
    SCOPED_TRACE(expected.name);
    QWidget* widget = window.control(expected.name);
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), expected.kind);
    ASSERT_NE(widget->parentWidget(), nullptr);
    EXPECT_EQ(widget->parentWidget()->objectName(), QString::fromUtf8(expected.parent));
    EXPECT_EQ(widget->geometry(), QRect(expected.x, expected.y, expected.width, expected.height));
    if (expected.caption != nullptr) {
      EXPECT_EQ(caption_of(widget), QString::fromUtf8(expected.caption));
    }
    EXPECT_EQ(!widget->isHidden(), expected.visible);
  }
}

TEST_F(WindowLayoutTest, FindWindowHasItsControlsInPlace) {
  QTest::mouseClick(window.control("标签_查找相册"), Qt::LeftButton);
  FindWindow& find = window.find_window();
  ASSERT_TRUE(find.isVisible());
  EXPECT_EQ(find.windowTitle(), QString::fromUtf8("查找功能："));
  EXPECT_EQ(find.size(), QSize(348, 152));
  for (const Placed& expected : kFindWindow) {
    SCOPED_TRACE(expected.name);
    auto* widget = find.findChild<QWidget*>(QString::fromUtf8(expected.name));
    ASSERT_NE(widget, nullptr);
    EXPECT_STREQ(widget->metaObject()->className(), expected.kind);
    EXPECT_EQ(widget->parentWidget(), &find);
    EXPECT_EQ(widget->geometry(), QRect(expected.x, expected.y, expected.width, expected.height));
    EXPECT_EQ(caption_of(widget), QString::fromUtf8(expected.caption));
    EXPECT_TRUE(widget->isVisible());
  }
}

TEST_F(WindowLayoutTest, WindowTabsAndListStartAsLaidOut) {
  EXPECT_EQ(window.windowTitle(), QString::fromUtf8("Tamberlo 网易163相册 批量下载"));
  auto* tabs = window.control_as<QTabWidget>("选择夹1");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->geometry(), QRect(5, 8, 923, 592));
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(0), QString::fromUtf8("  第一步：登录  "));
  EXPECT_EQ(tabs->tabText(1), QString::fromUtf8("  第二步：获取相册    "));
  EXPECT_EQ(tabs->tabText(2), QString::fromUtf8("  帮助"));
  EXPECT_EQ(tabs->currentIndex(), 0);

  auto* service = window.control_as<QComboBox>("组合框1");
  EXPECT_EQ(service->count(), 1);
  EXPECT_EQ(service->currentIndex(), 0);
  for (const char* name : {"选择框_自己的", "选择框_全选", "选择框_反选", "选择框_有封面"}) {
    EXPECT_FALSE(window.control_as<QCheckBox>(name)->isChecked()) << name;
  }

  AlbumListView& list = window.album_list();
  const char* headers[] = {"选择", "序号",   "相册名称", "封面",
                           "数量", "相册ID", "相册权限", "相册密码"};
  const int widths[] = {60, 40, 120, 100, 70, 80, 120, 80};
  ASSERT_EQ(list.columnCount(), 8);
  for (int column = 0; column < 8; ++column) {
    EXPECT_EQ(list.headerItem()->text(column), QString::fromUtf8(headers[column]));
    EXPECT_EQ(list.header()->sectionSize(column), widths[column]) << column;
  }
  EXPECT_EQ(list.selectionMode(), QAbstractItemView::SingleSelection);
  EXPECT_EQ(list.current_row(), -1);
}

TEST_F(WindowLayoutTest, OpenSendsTheAddressBoxTextUnchecked) {
  auto* address = window.control_as<QLineEdit>("编辑框_url");
  for (const char* typed : {"not an address at all", "", "http://photo.163.com/abc/#m=0"}) {
    address->setText(QString::fromUtf8(typed));
    QTest::mouseClick(window.control_as<QAbstractButton>("按钮1"), Qt::LeftButton);
    EXPECT_EQ(window.browser().last_address(), QString::fromUtf8(typed));
    EXPECT_EQ(address->text(), QString::fromUtf8(typed));
  }
}

TEST(StartupSequence, SetsVersionAndSaveLocationThenSendsTheBrowserHome) {
  MainWindow::Options options = window_options();
  options.program_folder = QStringLiteral("/opt/tamberlo/");
  MainWindow window(options);
  window.show();
  window.run_startup_sequence();
  EXPECT_EQ(window.control_as<QLabel>("标签_banben")->text(), QStringLiteral("2.0"));
  EXPECT_EQ(window.product_identifier(), "lumarokh");
  EXPECT_EQ(window.control_as<QLineEdit>("编辑框_保存位置")->text(),
            QStringLiteral("/opt/tamberlo"));
  // The start-up worker's address arrives through the event loop.
  EXPECT_TRUE(QTest::qWaitFor(
      [&] { return window.browser().last_address() == QStringLiteral("http://photo.163.com/"); },
      5000));
}

TEST(StartupSequence, ButtonsWorkDuringTheStartupWait) {
  MainWindow window(window_options());
  window.show();
  window.control_as<QLineEdit>("编辑框_url")->setText(QStringLiteral("http://example.test/"));
  auto* open = window.control_as<QAbstractButton>("按钮1");
  bool clicked = false;
  int workers_at_click = -1;
  QString address_at_click;
  // Connected after the window's own handler, so it sees what that handler did.
  QObject::connect(open, &QAbstractButton::clicked, [&] {
    clicked = true;
    workers_at_click = window.workers().running();
    address_at_click = window.browser().last_address();
  });
  QTimer::singleShot(50, &window, [&] { QTest::mouseClick(open, Qt::LeftButton); });
  window.run_startup_sequence();
  // The click ran inside the two-second wait, before the start-up worker was even started.
  EXPECT_TRUE(clicked);
  EXPECT_EQ(workers_at_click, 0);
  EXPECT_EQ(address_at_click, QStringLiteral("http://example.test/"));
}

}  // namespace
}  // namespace tamberlo::test
