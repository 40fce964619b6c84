#include "shell/window_style.h"

#include <QApplication>
#include <QFile>
#include <QStyleFactory>

// The resource block lives in this static library; naming it here keeps the linker from
// dropping it.
static void load_style_resources() { Q_INIT_RESOURCE(resources); }

namespace tamberlo {

void apply_window_style(QApplication& application) {
  load_style_resources();
  application.setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QFile sheet(QStringLiteral(":/tamberlo/tamberlo.qss"));
  if (sheet.open(QIODevice::ReadOnly)) {
    application.setStyleSheet(QString::fromUtf8(sheet.readAll()));
  }
}

}  // namespace tamberlo
