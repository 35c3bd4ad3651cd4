#pragma once
// Work that must run on the main thread, asked for from worker threads: Qt
// draws fonts only on the thread that made its application, so a batch's
// workers hand their PDF pages to the main thread and wait for the result.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace zrm {

class MainThreadJobs {
 public:
  // From a worker: queues `job` and returns once the main thread has run it.
  void RunAndWait(const std::function<void()>& job);

  // On the main thread: runs the jobs queued so far.
  void RunPending();

 private:
  struct Entry {
    const std::function<void()>* job;
    bool done = false;
  };
  std::mutex mutex_;
  std::condition_variable done_;
  std::deque<Entry*> queued_;
};

}  // namespace zrm
