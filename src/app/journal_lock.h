#pragma once
// The lock of one instrument's journal entry, held for the whole of a write
// into it: a second program (another port, another machine's line to the
// same instrument, the same working folder) that wants to write into the
// same instrument finds it held and does not start. The lock is an flock on
// a file beside the entry; the system releases it when the holder ends,
// even by a crash, so a write that died never blocks the next one.

#include <string>

namespace zrm {

class JournalLock {
 public:
  enum class Taking {
    kTaken,          // held by this object until it goes
    kHeldElsewhere,  // another write into the instrument is running
    kFailed,         // the lock file cannot be used (the reason is given)
  };

  JournalLock() = default;
  // Releases the lock and removes its file.
  ~JournalLock();
  JournalLock(const JournalLock&) = delete;
  JournalLock& operator=(const JournalLock&) = delete;

  // Takes the lock at `path` without waiting; with kFailed sets `reason`.
  Taking Take(const std::string& path, std::string& reason);

 private:
  int fd_ = -1;
  std::string path_;
};

}  // namespace zrm
