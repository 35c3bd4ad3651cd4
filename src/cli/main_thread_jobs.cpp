#include "cli/main_thread_jobs.h"

namespace zrm {

void MainThreadJobs::RunAndWait(const std::function<void()>& job) {
  Entry entry{&job};
  std::unique_lock lock(mutex_);
  queued_.push_back(&entry);
  done_.wait(lock, [&entry] { return entry.done; });
}

void MainThreadJobs::RunPending() {
  std::unique_lock lock(mutex_);
  while (!queued_.empty()) {
    Entry* entry = queued_.front();
    queued_.pop_front();
    lock.unlock();
    (*entry->job)();
    lock.lock();
    entry->done = true;
    done_.notify_all();
  }
}

}  // namespace zrm
