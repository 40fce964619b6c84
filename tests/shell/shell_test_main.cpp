#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <memory>

#include "shell/window_style.h"

// The window tests run without a display, as root in CI: Qt's offscreen platform, and the web
// engine without its sandbox and without a GPU.
int main(int argc, char* argv[]) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  setenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu", 0);
  ::testing::InitGoogleTest(&argc, argv);
  // Listing the tests must not need a window system.
  if (GTEST_FLAG_GET(list_tests)) return RUN_ALL_TESTS();
  QApplication application(argc, argv);
  tamberlo::apply_window_style(application);
  return RUN_ALL_TESTS();
}
