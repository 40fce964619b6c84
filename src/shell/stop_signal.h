#pragma once

#include <QObject>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

// Raised once when the window closes: every wait of a task ends early and reports it, so the
// workers reach a safe point and can be joined.
namespace tamberlo {

class StopSignal final : public QObject {
  Q_OBJECT

 public:
  void raise();
  bool raised() const { return raised_.load(); }
  // Sleeps the whole time unless raised first; false when raised.
  bool wait_for(std::chrono::milliseconds duration);

 signals:
  void stopping();

 private:
  std::atomic<bool> raised_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
};

}  // namespace tamberlo
