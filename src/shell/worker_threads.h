#pragma once

#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <thread>

// The window's worker threads. Their handles are kept so that closing the window can join every
// one of them after raising the stop signal.
namespace tamberlo {

class WorkerThreads final {
 public:
  WorkerThreads();
  WorkerThreads(const WorkerThreads&) = delete;
  WorkerThreads& operator=(const WorkerThreads&) = delete;
  ~WorkerThreads();

  // Runs the routine at once on a new thread.
  void start_worker_thread(std::function<void()> routine);
  // Waits for every worker, finished or not.
  void join_all();
  int running() const;

 private:
  struct Worker;
  void join_finished_locked();

  mutable std::mutex mutex_;
  std::list<std::unique_ptr<Worker>> workers_;
};

}  // namespace tamberlo
