#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>

#include "catalogue/service_hosts.h"
#include "shell/album_list_view.h"
#include "shell/clickable_label.h"
#include "shell/embedded_browser.h"
#include "shell/main_window.h"

// Every control at the place the old window gave it, so the layout reads as it always did.
namespace tamberlo {
namespace {

QString utf8(const char* text) { return QString::fromUtf8(text); }

template <typename Control>
Control* place(Control* control, const char* name, int x, int y, int width, int height) {
  control->setObjectName(utf8(name));
  control->setGeometry(x, y, width, height);
  return control;
}

QLabel* label(QWidget* parent, const char* name, int x, int y, int width, int height,
              const char* caption = "") {
  return place(new QLabel(utf8(caption), parent), name, x, y, width, height);
}

ClickableLabel* link_label(QWidget* parent, const char* name, int x, int y, int width, int height,
                           const QString& caption) {
  return place(new ClickableLabel(caption, parent), name, x, y, width, height);
}

QLineEdit* edit(QWidget* parent, const char* name, int x, int y, int width, int height,
                const QString& text = {}) {
  return place(new QLineEdit(text, parent), name, x, y, width, height);
}

QPushButton* button(QWidget* parent, const char* name, int x, int y, int width, int height,
                    const char* caption) {
  return place(new QPushButton(utf8(caption), parent), name, x, y, width, height);
}

QCheckBox* check_box(QWidget* parent, const char* name, int x, int y, int width, int height,
                     const char* caption) {
  return place(new QCheckBox(utf8(caption), parent), name, x, y, width, height);
}

QGroupBox* group(QWidget* parent, const char* name, int x, int y, int width, int height,
                 const QString& caption = {}) {
  return place(new QGroupBox(caption, parent), name, x, y, width, height);
}

QWidget* page(QTabWidget* tabs, const char* name, const char* caption) {
  auto* widget = new QWidget;
  widget->setObjectName(utf8(name));
  tabs->addTab(widget, utf8(caption));
  return widget;
}

}  // namespace

void MainWindow::build_layout(bool with_browser) {
  setObjectName(QStringLiteral("tamberlo_main_window"));
  setWindowTitle(utf8("Tamberlo 网易163相册 批量下载"));
  move(50, 50);
  resize(936, 627);

  auto* tabs = place(new QTabWidget(this), "选择夹1", 5, 8, 923, 592);
  auto* login = page(tabs, "登录页", "  第一步：登录  ");
  auto* catalogue = page(tabs, "相册页", "  第二步：获取相册    ");
  auto* help = page(tabs, "帮助页", "  帮助");

  // Login page.
  const QString home = QString::fromStdString("http://" + service_hosts().web_host + "/");
  edit(login, "编辑框_url", 3, 45, 592, 32, home);
  button(login, "按钮1", 602, 43, 93, 32, "打开");
  button(login, "按钮4", 719, 42, 156, 33, "已经取得进入相册权限");
  edit(login, "编辑框_权限_id", 52, 80, 128, 25)->hide();
  edit(login, "编辑框_权限_行号", 203, 79, 120, 26)->hide();
  label(login, "标签2", 27, 85, 256, 24);
  browser_ = place(new EmbeddedBrowser(login, with_browser), "超文本浏览框1", 3, 108, 944, 476);

  // Catalogue page: the input line.
  auto* input = group(catalogue, "分组框2", 10, 25, 902, 49);
  auto* service = place(new QComboBox(input), "组合框1", 6, 20, 160, 24);
  service->addItem(utf8("网易相册"));
  service->setCurrentIndex(0);
  label(input, "标签1", 171, 19, 68, 24, "1》用户主页：");
  edit(input, "编辑框_号码", 242, 18, 360, 26);
  check_box(input, "选择框_自己的", 605, 19, 73, 24, "自己相册");
  button(input, "按钮_获取相册封面", 682, 12, 88, 32, "2:获取相册");
  button(input, "按钮_下载选中", 786, 11, 88, 32, "3：下载选中");
  button(input, "按钮_继续下载", 817, 11, 77, 32, "继续下载")->hide();
  button(input, "按钮_暂停线程", 809, 8, 69, 32, "暂停下载")->hide();

  // The save location.
  auto* location = group(catalogue, "分组框5", 10, 73, 902, 48);
  label(location, "标签_保存路径", 8, 12, 97, 32, "相册保存位置：");
  edit(location, "编辑框_保存位置", 89, 12, 589, 29);
  button(location, "按钮_选择位置", 684, 12, 85, 27, "选择存放位置");
  button(location, "按钮3", 788, 12, 85, 27, "打开目录");

  // The album list, the log and the progress display.
  auto* albums = group(catalogue, "分组框3", 10, 125, 902, 459);
  check_box(albums, "选择框_全选", 16, 22, 46, 16, "全选");
  check_box(albums, "选择框_反选", 76, 22, 46, 16, "反选");
  check_box(albums, "选择框_有封面", 138, 22, 164, 16, "有封面图(低配电脑不要选)");
  auto* find = link_label(albums, "标签_查找相册", 317, 16, 52, 24, utf8("查找相册"));
  find->setCursor(Qt::PointingHandCursor);
  label(albums, "标签_动态", 431, 14, 548, 24);
  album_list_ = place(new AlbumListView(albums), "超级列表框1", 6, 41, 667, 378);
  // Covers go straight into the list; the canvas stays a named control that a retrieval shows
  // and hides. While shown it lies over the list, so clicks must pass through it.
  auto* canvas = place(new QLabel(albums), "画板1", 455, 107, 112, 88);
  canvas->setAttribute(Qt::WA_TransparentForMouseEvents);
  canvas->hide();
  auto* log_frame = group(albums, "分组框1", 681, 36, 200, 383);
  label(log_frame, "标签3", 8, 12, 88, 19, "执行操作日志：");
  auto* log = place(new QPlainTextEdit(log_frame), "编辑框_操作记录", 8, 42, 176, 309);
  log->setReadOnly(true);
  log->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  label(albums, "标签_进度", 7, 418, 56, 35, "下载进度：");
  auto* progress = place(new QProgressBar(albums), "进度条1", 74, 423, 280, 24);
  progress->setRange(0, 100);
  progress->setValue(0);
  progress->setTextVisible(false);
  label(albums, "标签_进度条比例", 359, 424, 41, 23);
  label(albums, "标签_选择了相册数量", 404, 424, 144, 23);
  label(albums, "标签_正在下载相册", 554, 424, 110, 23);
  label(albums, "标签_第多少张照片", 666, 424, 95, 23);

  // Help page.
  auto* support = group(help, "分组框7", 11, 49, 856, 256, utf8("帮助与支持"));
  label(support, "标签6", 7, 29, 64, 26, "在线客服：");
  button(support, "按钮2", 77, 29, 84, 24, "!");
  label(support, "标签9", 7, 76, 159, 24, "了解更多相册下载工具：");
  auto* home_link = link_label(support, "标签7", 7, 119, 165, 20,
                               QString::fromStdString(service_hosts().maker_home_page));
  home_link->setCursor(Qt::PointingHandCursor);
  auto* version = group(support, "分组框4", 360, 25, 488, 223, utf8("软件版本"));
  label(version, "标签5", 313, 34, 60, 40, "当前版本：");
  label(version, "标签_banben", 377, 34, 95, 40);
  label(version, "标签_xinbanben", 313, 82, 60, 40, "最新版本：");
  label(version, "标签_zxbanben", 377, 82, 95, 40);
  button(version, "按钮_checknew", 313, 129, 159, 40, "检测程序是否有更新");
  label(version, "标签_banbenjieguo", 312, 182, 160, 24);

  tabs->setCurrentIndex(0);
}

}  // namespace tamberlo
