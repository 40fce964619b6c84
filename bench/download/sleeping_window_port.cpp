#include "sleeping_window_port.h"

#include <chrono>
#include <thread>

namespace tamberlo::bench {

std::string SleepingWindowPort::text(std::string_view control) {
  return control == control::kSaveLocation ? save_location_ : std::string();
}

bool SleepingWindowPort::wait(int milliseconds) {
  if (!sleeps_) return true;
  const auto start = std::chrono::steady_clock::now();
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  slept_seconds_ += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return true;
}

}  // namespace tamberlo::bench
