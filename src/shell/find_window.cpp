#include "shell/find_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "shell/album_list_view.h"
#include "shell/album_search.h"
#include "shell/shell_text.h"

namespace tamberlo {
namespace {

template <typename Control>
Control* place(QWidget* parent, const char* name, int x, int y, int width, int height,
               const char* caption = "") {
  auto* control = new Control(QString::fromUtf8(caption), parent);
  control->setObjectName(QString::fromUtf8(name));
  control->setGeometry(x, y, width, height);
  return control;
}

}  // namespace

FindWindow::FindWindow(AlbumListView& list, Message message)
    : QWidget(nullptr, Qt::Window), list_(list), message_(std::move(message)) {
  setObjectName(QStringLiteral("find_window"));
  setWindowTitle(QString::fromUtf8("查找功能："));
  setAttribute(Qt::WA_QuitOnClose, false);
  move(50, 50);
  resize(348, 152);

  place<QLabel>(this, "标签_要查找的相册名称", 8, 19, 104, 32, "要查找的相册名称：");
  keyword_box_ = place<QLineEdit>(this, "编辑框1", 112, 19, 144, 32);
  auto* find = place<QPushButton>(this, "按钮_查找", 261, 19, 75, 32, "查找");
  place<QLabel>(this, "标签_结果", 8, 88, 56, 24, "查找结果：");
  row_label_ = place<QLabel>(this, "标签_行位置", 72, 88, 80, 24);
  auto* previous = place<QPushButton>(this, "按钮_查找上一个", 190, 80, 57, 32, "上一个");
  auto* next = place<QPushButton>(this, "按钮_查找下一个", 281, 80, 57, 32, "下一个");

  connect(find, &QPushButton::clicked, this, &FindWindow::find_first);
  connect(next, &QPushButton::clicked, this, &FindWindow::find_next);
  connect(previous, &QPushButton::clicked, this, &FindWindow::find_previous);
}

std::string FindWindow::keyword() const { return to_local(keyword_box_->text()); }

void FindWindow::find_first() {
  const std::string word = keyword();
  find_position_ = search_rows_forward(list_, word, 0);
  if (find_position_ == -1) {
    message_(QString::fromUtf8("未找到名称包含关键词：") + to_qt(word) +
             QString::fromUtf8("的相册"));
    return;
  }
  show_found(find_position_);
}

void FindWindow::find_next() {
  const std::string word = keyword();
  find_position_ = search_rows_forward(list_, word, find_position_ + 1);
  if (find_position_ == -1) {
    message_(QString::fromUtf8("没有了"));
    return;
  }
  show_found(find_position_);
}

void FindWindow::find_previous() {
  if (find_position_ == -1) find_position_ = list_.topLevelItemCount();
  const std::string word = keyword();
  find_position_ = search_rows_backward(list_, word, find_position_);
  if (find_position_ == -1) {
    message_(QString::fromUtf8("没有了"));
    return;
  }
  show_found(find_position_);
}

void FindWindow::show_found(int row) {
  list_.set_current_row(row);
  row_label_->setText(QString::fromUtf8("第") + QString::number(row + 1) + QString::fromUtf8("行"));
}

}  // namespace tamberlo
