#pragma once

#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

// Ctrl+C and termination requests turned into an orderly stop: the signals are taken on a
// thread of their own (never in a signal handler), so stopping may lock and wake waiters.
namespace tamberlo::cli {

class InterruptWatch final {
 public:
  // Blocks SIGINT and SIGTERM for the calling thread and every thread it starts afterwards:
  // construct it in main before any other thread exists.
  InterruptWatch();
  ~InterruptWatch();
  InterruptWatch(const InterruptWatch&) = delete;
  InterruptWatch& operator=(const InterruptWatch&) = delete;

  // Called once, on the watch's thread, at the first interruption. A second interruption
  // while the first is being handled ends the process at once.
  void on_interrupt(std::function<void()> stop);
  bool interrupted() const { return interrupted_; }
  int signal_number() const { return signal_number_; }

 private:
  void watch();

  std::atomic<bool> interrupted_{false};
  std::atomic<int> signal_number_{0};
  std::atomic<bool> closing_{false};
  std::function<void()> stop_;
  std::mutex stop_mutex_;
  std::thread thread_;
};

}  // namespace tamberlo::cli
