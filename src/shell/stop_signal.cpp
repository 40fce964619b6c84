#include "shell/stop_signal.h"

namespace tamberlo {

void StopSignal::raise() {
  {
    std::lock_guard lock(mutex_);
    if (raised_.exchange(true)) return;
  }
  changed_.notify_all();
  emit stopping();
}

bool StopSignal::wait_for(std::chrono::milliseconds duration) {
  std::unique_lock lock(mutex_);
  return !changed_.wait_for(lock, duration, [this] { return raised_.load(); });
}

}  // namespace tamberlo
