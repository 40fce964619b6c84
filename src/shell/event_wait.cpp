#include "shell/event_wait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <thread>

#include "shell/stop_signal.h"

namespace tamberlo {
namespace {

std::int64_t milliseconds_per_unit(int unit) {
  switch (unit) {
    case 0:
      return 1;
    case 1:
      return 1000;
    case 2:
      return 60'000;
    case 3:
      return 3'600'000;
    default:
      return unit;
  }
}

}  // namespace

bool on_window_thread() {
  const auto* app = QCoreApplication::instance();
  return app != nullptr && QThread::currentThread() == app->thread();
}

std::int64_t wait_duration_ms(int count, int unit) {
  // Computed in floating point like a due time, so large counts cannot overflow an int.
  const double total =
      static_cast<double>(count) * static_cast<double>(milliseconds_per_unit(unit));
  return static_cast<std::int64_t>(std::max(0.0, std::trunc(total)));
}

bool wait_processing_events(int count, int unit, StopSignal* stop) {
  const std::int64_t milliseconds = wait_duration_ms(count, unit);
  if (stop != nullptr && stop->raised()) return false;

  if (!on_window_thread()) {
    if (stop != nullptr) return stop->wait_for(std::chrono::milliseconds(milliseconds));
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    return true;
  }

  QEventLoop loop;
  QTimer timer;
  timer.setSingleShot(true);
  timer.setTimerType(Qt::PreciseTimer);
  QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
  if (stop != nullptr) QObject::connect(stop, &StopSignal::stopping, &loop, &QEventLoop::quit);
  timer.start(std::chrono::milliseconds(milliseconds));
  loop.exec();
  return stop == nullptr || !stop->raised();
}

}  // namespace tamberlo
