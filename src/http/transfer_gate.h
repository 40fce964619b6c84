#pragma once

#include <condition_variable>
#include <mutex>

namespace tamberlo {

// Shared between the thread that runs a download and the window that pauses, resumes or stops
// it. A transfer that passes through the gate stands still while paused and fails once
// cancelled.
class TransferGate final {
 public:
  void pause();
  void resume();
  // Final: wakes every waiter and fails every later pass().
  void cancel();
  bool paused() const;
  bool cancelled() const;
  // Blocks while paused; false once cancelled.
  bool pass();

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  bool paused_ = false;
  bool cancelled_ = false;
};

}  // namespace tamberlo
