#include "app/journal_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/system_reason.h"

namespace zrm {

namespace {

// The file at `path` is still the one `fd` has open: a holder that ended
// removes it, and a lock on the removed file would guard nothing.
bool StillThere(int fd, const std::string& path) {
  struct stat opened {};
  struct stat named {};
  return fstat(fd, &opened) == 0 && stat(path.c_str(), &named) == 0 &&
         opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

JournalLock::~JournalLock() {
  if (fd_ < 0) return;
  // Removed while still held, so whoever opens the name next makes a new
  // file rather than waiting on this one.
  unlink(path_.c_str());
  close(fd_);
}

JournalLock::Taking JournalLock::Take(const std::string& path, std::string& reason) {
  for (;;) {
    const int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) {
      reason = SystemReason(errno);
      return Taking::kFailed;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      close(fd);
      if (error == EWOULDBLOCK) return Taking::kHeldElsewhere;
      reason = SystemReason(error);
      return Taking::kFailed;
    }
    if (StillThere(fd, path)) {
      fd_ = fd;
      path_ = path;
      return Taking::kTaken;
    }
    close(fd);  // its holder removed it meanwhile: take the new one
  }
}

}  // namespace zrm
