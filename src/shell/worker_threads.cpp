#include "shell/worker_threads.h"

#include <atomic>

namespace tamberlo {

struct WorkerThreads::Worker {
  std::atomic<bool> finished{false};
  std::thread thread;
};

WorkerThreads::WorkerThreads() = default;
WorkerThreads::~WorkerThreads() { join_all(); }

void WorkerThreads::start_worker_thread(std::function<void()> routine) {
  std::lock_guard lock(mutex_);
  join_finished_locked();
  auto worker = std::make_unique<Worker>();
  Worker* raw = worker.get();
  workers_.push_back(std::move(worker));
  raw->thread = std::thread([raw, routine = std::move(routine)] {
    routine();
    raw->finished = true;
  });
}

void WorkerThreads::join_all() {
  std::list<std::unique_ptr<Worker>> workers;
  {
    std::lock_guard lock(mutex_);
    workers.swap(workers_);
  }
  for (auto& worker : workers) {
    if (worker->thread.joinable()) worker->thread.join();
  }
}

int WorkerThreads::running() const {
  std::lock_guard lock(mutex_);
  int count = 0;
  for (const auto& worker : workers_) count += worker->finished ? 0 : 1;
  return count;
}

void WorkerThreads::join_finished_locked() {
  for (auto it = workers_.begin(); it != workers_.end();) {
    if ((*it)->finished) {
      (*it)->thread.join();
      it = workers_.erase(it);
    } else {
      ++it;
    }
  }
}

}  // namespace tamberlo
