// How long the window thread goes without handling a timer tick while the workers fill the album
// list (200 albums) and download an album (300 photos) from the sample service. The goal is a
// longest gap under 50 ms; the probe prints what it measured.
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "http/http_settings.h"
#include "sample-service/sample_service.h"
#include "shell/album_list_view.h"
#include "shell/main_window.h"
#include "shell/window_style.h"

namespace {

class GapProbe final {
 public:
  GapProbe() {
    timer_.setTimerType(Qt::PreciseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      const qint64 now = clock_.nsecsElapsed();
      if (last_ >= 0) longest_ = std::max(longest_, now - last_);
      last_ = now;
      ++ticks_;
    });
  }
  void start() {
    longest_ = 0;
    last_ = -1;
    ticks_ = 0;
    clock_.start();
    timer_.start(10);
  }
  void stop() { timer_.stop(); }
  double longest_ms() const { return static_cast<double>(longest_) / 1e6; }
  long ticks() const { return ticks_; }

 private:
  QTimer timer_;
  QElapsedTimer clock_;
  qint64 last_ = -1;
  qint64 longest_ = 0;
  long ticks_ = 0;
};

tamberlo::sample::Fixture probe_fixture() {
  tamberlo::sample::Fixture fixture = tamberlo::sample::Fixture::bench(300, 60 * 1024);
  tamberlo::sample::Owner many{"many", {}};
  for (int i = 0; i < 200; ++i) {
    tamberlo::sample::Album album;
    album.id = std::to_string(5000 + i);
    album.name_utf8 = "相册 " + std::to_string(i + 1);
    album.photos.resize(1);
    many.albums.push_back(album);
  }
  fixture.owners.push_back(many);
  return fixture;
}

bool wait_for_status(tamberlo::MainWindow& window, const char* prefix) {
  auto* status = window.control_as<QLabel>("标签_动态");
  return QTest::qWaitFor([&] { return status->text().startsWith(QString::fromUtf8(prefix)); },
                         600'000);
}

}  // namespace

int main(int argc, char* argv[]) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QApplication application(argc, argv);
  tamberlo::apply_window_style(application);

  tamberlo::sample::SampleService service(probe_fixture());
  service.start();
  tamberlo::set_default_proxy(service.proxy_url());
  QTemporaryDir save_folder;

  tamberlo::MainWindow window({QString(), false});
  bool finished = false;
  window.messages().set_handler([&](const QString&, bool, std::function<void()> answered) {
    finished = true;
    answered();
  });
  window.show();
  window.control_as<QLineEdit>("编辑框_保存位置")->setText(save_folder.path());
  window.control_as<QCheckBox>("选择框_有封面")->setChecked(true);
  GapProbe probe;

  window.control_as<QLineEdit>("编辑框_号码")
      ->setText(QStringLiteral("http://photo.163.com/many/"));
  probe.start();
  window.control_as<QPushButton>("按钮_获取相册封面")->click();
  const bool listed = wait_for_status(window, "相册获取完毕");
  probe.stop();
  std::printf(
      "retrieval of %d albums (with covers): longest gap between 10 ms ticks %.1f ms "
      "over %ld ticks%s\n",
      window.album_list().topLevelItemCount(), probe.longest_ms(), probe.ticks(),
      listed ? "" : " (did not finish)");

  window.control_as<QLineEdit>("编辑框_号码")
      ->setText(QStringLiteral("http://photo.163.com/bench/"));
  window.control_as<QPushButton>("按钮_获取相册封面")->click();
  wait_for_status(window, "相册获取完毕");
  probe.start();
  window.control_as<QPushButton>("按钮_下载选中")->click();
  const bool downloaded = QTest::qWaitFor([&] { return finished; }, 600'000);
  probe.stop();
  std::printf("download of 300 photos: longest gap between 10 ms ticks %.1f ms over %ld ticks%s\n",
              probe.longest_ms(), probe.ticks(), downloaded ? "" : " (did not finish)");
  window.close();
  return listed && downloaded ? 0 : 1;
}
