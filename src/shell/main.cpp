#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "sample-service/sample_service.h"
#include "shell/demo_service.h"
#include "shell/main_window.h"
#include "shell/window_style.h"

int main(int argc, char* argv[]) {
  QApplication::setApplicationName(QStringLiteral("tamberlo"));
  QApplication::setApplicationVersion(QStringLiteral(TAMBERLO_VERSION));

  QCommandLineParser options;
  options.setApplicationDescription(QStringLiteral("Downloads whole NetEase photo albums."));
  const QCommandLineOption help = options.addHelpOption();
  const QCommandLineOption version = options.addVersionOption();
  const QCommandLineOption proxy(QStringLiteral("proxy"),
                                 QStringLiteral("Send every request through this HTTP proxy."),
                                 QStringLiteral("URL"));
  const QCommandLineOption demo(
      QStringLiteral("demo"),
      QStringLiteral("Run the sample album service inside the program and use it instead of the "
                     "real service."));
  options.addOption(proxy);
  options.addOption(demo);
  // --help and --version are answered before the window system is reached, so they work
  // without a display; everything else is read after Qt has taken its own options.
  QStringList arguments;
  for (int at = 0; at < argc; ++at) arguments.append(QString::fromLocal8Bit(argv[at]));
  options.parse(arguments);
  if (options.isSet(help)) {
    std::printf("%s", qPrintable(options.helpText()));
    return 0;
  }
  if (options.isSet(version)) {
    std::printf("tamberlo %s\n", TAMBERLO_VERSION);
    return 0;
  }

  // The web engine's sandbox cannot run for root; without this the browser page stays empty.
  if (geteuid() == 0) setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  QApplication application(argc, argv);
  options.process(application);
  std::unique_ptr<tamberlo::sample::SampleService> demo_service;
  if (options.isSet(demo)) {
    try {
      demo_service = tamberlo::start_demo_service();
    } catch (const std::exception& error) {
      std::fprintf(stderr, "tamberlo: the sample service cannot start: %s\n", error.what());
      return 1;
    }
    std::fprintf(stderr,
                 "tamberlo: demo mode, sample service at %s (log in with the password "
                 "\"%s\")\n",
                 demo_service->proxy_url().c_str(), demo_service->fixture().login_password.c_str());
    tamberlo::use_proxy(QString::fromStdString(demo_service->proxy_url()));
  } else if (options.isSet(proxy)) {
    tamberlo::use_proxy(options.value(proxy));
  }

  tamberlo::apply_window_style(application);
  int result = 0;
  {
    tamberlo::MainWindow window({});
    window.show();
    window.run_startup_sequence();
    // Closed during the start-up wait: the quit came before the event loop ran, so there is
    // nothing left to wait for.
    if (window.isVisible()) result = QApplication::exec();
  }
  return result;
}
