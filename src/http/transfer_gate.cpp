#include "http/transfer_gate.h"

namespace tamberlo {

void TransferGate::pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void TransferGate::resume() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
  }
  changed_.notify_all();
}

void TransferGate::cancel() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
  }
  changed_.notify_all();
}

bool TransferGate::paused() const {
  std::lock_guard lock(mutex_);
  return paused_;
}

bool TransferGate::cancelled() const {
  std::lock_guard lock(mutex_);
  return cancelled_;
}

bool TransferGate::pass() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return !paused_ || cancelled_; });
  return !cancelled_;
}

}  // namespace tamberlo
