#include "cli/interrupt_watch.h"

#include <unistd.h>

#include <csignal>
#include <ctime>
#include <utility>

namespace tamberlo::cli {

namespace {

sigset_t watched_signals() {
  sigset_t signals;
  sigemptyset(&signals);
  sigaddset(&signals, SIGINT);
  sigaddset(&signals, SIGTERM);
  return signals;
}

}  // namespace

InterruptWatch::InterruptWatch() {
  const sigset_t signals = watched_signals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  thread_ = std::thread([this] { watch(); });
}

InterruptWatch::~InterruptWatch() {
  closing_ = true;
  thread_.join();
}

void InterruptWatch::on_interrupt(std::function<void()> stop) {
  std::lock_guard lock(stop_mutex_);
  stop_ = std::move(stop);
}

void InterruptWatch::watch() {
  const sigset_t signals = watched_signals();
  // The watch looks up now and then to see whether the program is ending, which spares it a
  // signal of its own to be woken with.
  const timespec look_up_every{0, 100'000'000};
  while (!closing_) {
    const int signal = sigtimedwait(&signals, nullptr, &look_up_every);
    if (signal <= 0) {
      continue;
    }
    if (interrupted_.exchange(true)) {
      // Asked twice: the user does not want to wait for the orderly stop.
      _exit(128 + signal);
    }
    signal_number_ = signal;
    std::function<void()> stop;
    {
      std::lock_guard lock(stop_mutex_);
      stop = stop_;
    }
    if (stop) {
      stop();
    }
  }
}

}  // namespace tamberlo::cli
