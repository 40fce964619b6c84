#include "shell/clickable_label.h"

#include <QMouseEvent>

namespace tamberlo {

void ClickableLabel::mousePressEvent(QMouseEvent* event) {
  QLabel::mousePressEvent(event);
  if (event->button() == Qt::LeftButton) emit pressed();
}

}  // namespace tamberlo
