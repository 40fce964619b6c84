#include "shell/window_test_support.h"

namespace tamberlo::test {

MainWindow::Options window_options(bool with_browser) {
  MainWindow::Options options;
  options.program_folder = QStringLiteral("/tmp/tamberlo-program");
  options.with_browser = with_browser;
  return options;
}

RecordedMessages::RecordedMessages(MainWindow& window) {
  window.messages().set_handler([this](const QString& text, bool, std::function<void()> answered) {
    texts_.append(text);
    answered();
  });
}

}  // namespace tamberlo::test
