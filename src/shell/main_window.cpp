#include "shell/main_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QUrl>

#include "catalogue/service_hosts.h"
#include "shell/album_list_view.h"
#include "shell/album_tasks.h"
#include "shell/clickable_label.h"
#include "shell/embedded_browser.h"
#include "shell/event_wait.h"
#include "shell/find_window.h"
#include "shell/folder_chooser.h"
#include "shell/qt_window_port.h"
#include "shell/shell_text.h"
#include "shell/update_check.h"

namespace tamberlo {
namespace {

QString utf8(const char* text) { return QString::fromUtf8(text); }

}  // namespace

MainWindow::MainWindow(Options options)
    : program_folder_(without_trailing_separator(options.program_folder.isEmpty()
                                                     ? QCoreApplication::applicationDirPath()
                                                     : options.program_folder)),
      folder_chooser_([this](const QString& title, const QString& initial) {
        return choose_folder(title, initial, &stop_);
      }),
      desktop_opener_([](const QUrl& address) { QDesktopServices::openUrl(address); }) {
  build_layout(options.with_browser);
  index_controls();
  port_ = std::make_unique<QtWindowPort>(*this);
  connect_handlers();
  tasks_ = std::make_unique<AlbumTasks>(*this);
}

MainWindow::~MainWindow() {
  stop_tasks();
  find_window_.reset();
}

QWidget* MainWindow::control(std::string_view name) const {
  return controls_.value(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void MainWindow::index_controls() {
  for (QWidget* widget : findChildren<QWidget*>()) {
    if (!widget->objectName().isEmpty()) controls_.insert(widget->objectName(), widget);
  }
}

void MainWindow::connect_handlers() {
  connect(control_as<QPushButton>("按钮1"), &QPushButton::clicked, this, &MainWindow::open_address);
  connect(control_as<QCheckBox>("选择框_全选"), &QCheckBox::clicked, this,
          &MainWindow::select_all_clicked);
  connect(control_as<QCheckBox>("选择框_反选"), &QCheckBox::clicked, this,
          &MainWindow::invert_clicked);
  connect(control_as<ClickableLabel>("标签_查找相册"), &ClickableLabel::pressed, this,
          &MainWindow::open_find_window);
  connect(control_as<QPushButton>("按钮_选择位置"), &QPushButton::clicked, this,
          &MainWindow::choose_save_location);
  connect(control_as<QPushButton>("按钮3"), &QPushButton::clicked, this,
          &MainWindow::open_save_folder);
  connect(control_as<QPushButton>("按钮_checknew"), &QPushButton::clicked, this,
          &MainWindow::check_for_update);
  connect(control_as<ClickableLabel>("标签7"), &ClickableLabel::pressed, this,
          &MainWindow::open_home_page);
  connect(control_as<QPushButton>("按钮2"), &QPushButton::clicked, this,
          &MainWindow::open_support_page);
}

FindWindow& MainWindow::find_window() {
  if (!find_window_) {
    find_window_ = std::make_unique<FindWindow>(
        *album_list_, [this](const QString& text) { show_message(text); });
  }
  return *find_window_;
}

void MainWindow::show_message(const QString& text) { messages_.show_and_wait(text); }

void MainWindow::append_log(const std::string& local_text) {
  log_text_ += local_text;
  auto* log = control_as<QPlainTextEdit>("编辑框_操作记录");
  QString shown = to_qt(local_text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QTextCursor end(log->document());
  end.movePosition(QTextCursor::End);
  end.insertText(shown);
  log->verticalScrollBar()->setValue(log->verticalScrollBar()->maximum());
}

void MainWindow::set_log(const std::string& local_text) {
  log_text_.clear();
  control_as<QPlainTextEdit>("编辑框_操作记录")->clear();
  append_log(local_text);
}

void MainWindow::run_startup_sequence() {
  control_as<QLabel>("标签_banben")->setText(utf8(kVersion));
  product_identifier_ = kProductIdentifier;
  control_as<QLineEdit>("编辑框_保存位置")->setText(program_folder_);
  if (!wait_processing_events(2000, 0, &stop_)) return;
  QtWindowPort& port = *port_;
  workers_.start_worker_thread([&port] {
    port.browser_set_address("http://" + service_hosts().web_host + "/");
    port.wait(2000);
  });
  QCoreApplication::processEvents();
}

void MainWindow::stop_tasks() {
  stop_.raise();
  messages_.close_all();
  workers_.join_all();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  stop_tasks();
  if (find_window_) find_window_->close();
  QWidget::closeEvent(event);
}

void MainWindow::open_address() {
  browser_->set_address(control_as<QLineEdit>("编辑框_url")->text());
}

void MainWindow::select_all_clicked() {
  if (!control_as<QCheckBox>("选择框_全选")->isChecked()) return;
  control_as<QCheckBox>("选择框_反选")->setChecked(false);
  album_list_->tick_all();
}

void MainWindow::invert_clicked() {
  if (!control_as<QCheckBox>("选择框_反选")->isChecked()) return;
  control_as<QCheckBox>("选择框_全选")->setChecked(false);
  album_list_->invert_ticks();
}

void MainWindow::open_find_window() {
  FindWindow& window = find_window();
  window.show();
  window.raise();
  window.activateWindow();
}

void MainWindow::choose_save_location() {
  // The chooser opens at the top of the file system, whatever the box holds.
  auto* box = control_as<QLineEdit>("编辑框_保存位置");
  box->setText(folder_chooser_(utf8("选择相册的存放位置"), QDir::rootPath()));
  if (box->text().isEmpty()) box->setText(program_folder_);
}

void MainWindow::open_save_folder() {
  const QString location = control_as<QLineEdit>("编辑框_保存位置")->text();
  // A typed relative path names the folder under the working folder, where the download puts
  // the albums; a file address must carry it whole or the file manager finds nothing.
  desktop_opener_(QUrl::fromLocalFile(
      QDir::current().absoluteFilePath(location.isEmpty() ? program_folder_ : location)));
}

void MainWindow::check_for_update() {
  const std::string current = to_local(control_as<QLabel>("标签_banben")->text());
  const UpdateVerdict verdict =
      judge_update_page(fetch_update_page(), current, product_identifier_);
  control_as<QLabel>("标签_zxbanben")->setText(to_qt(verdict.newest));
  auto* result = control_as<QLabel>("标签_banbenjieguo");
  switch (verdict.outcome) {
    case UpdateOutcome::up_to_date:
      result->setText(utf8("无需更新"));
      break;
    case UpdateOutcome::newer:
      result->setText(utf8("有新版，联系客服获取最新版或打开作者主页去下载"));
      show_message(utf8("有新版本，联系客服索取，点击作者主页去下载"));
      break;
    case UpdateOutcome::unchanged:
      break;
  }
}

void MainWindow::open_home_page() {
  desktop_opener_(QUrl(QString::fromStdString(service_hosts().maker_home_page)));
}

void MainWindow::open_support_page() {
  desktop_opener_(QUrl(QString::fromStdString(service_hosts().maker_support_page)));
}

}  // namespace tamberlo
