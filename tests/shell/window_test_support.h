#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "shell/main_window.h"

// What the window tests share: a window without a web engine unless a test needs one, and a
// message routine that records each box and answers it at once.
namespace tamberlo::test {

MainWindow::Options window_options(bool with_browser = false);

class RecordedMessages final {
 public:
  explicit RecordedMessages(MainWindow& window);
  const QStringList& texts() const { return texts_; }
  void clear() { texts_.clear(); }

 private:
  QStringList texts_;
};

}  // namespace tamberlo::test
