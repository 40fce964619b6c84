#pragma once

#include <QLabel>

// A label that acts on a press of the left mouse button ("查找相册", the home page link).
namespace tamberlo {

class ClickableLabel final : public QLabel {
  Q_OBJECT

 public:
  using QLabel::QLabel;

 signals:
  void pressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace tamberlo
