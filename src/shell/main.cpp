#include <QApplication>
#include <QCommandLineParser>

#include "shell/main_window.h"
#include "shell/window_style.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tamberlo"));
  QApplication::setApplicationVersion(QStringLiteral(TAMBERLO_VERSION));

  QCommandLineParser options;
  options.setApplicationDescription(QStringLiteral("Downloads whole NetEase photo albums."));
  options.addHelpOption();
  options.addVersionOption();
  options.process(application);

  tamberlo::apply_window_style(application);
  tamberlo::MainWindow window({});
  window.show();
  window.run_startup_sequence();
  return QApplication::exec();
}
