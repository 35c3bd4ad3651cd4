#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

#include "platform/system_reason.h"

namespace zrm {

namespace {

// The file a write to `path` must replace: the target of a symbolic link, so
// the link itself survives.
std::string ResolveTarget(const std::string& path) {
  struct stat link_info {};
  if (lstat(path.c_str(), &link_info) != 0 || !S_ISLNK(link_info.st_mode)) return path;
  char resolved[PATH_MAX];
  return realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Creates a new, exclusively owned temporary file beside `target`.
int CreateTemporary(const std::string& target, std::string& temporary) {
  std::random_device entropy;
  for (int attempt = 0; attempt < 16; ++attempt) {
    temporary = target + ".tmp" + std::to_string(entropy());
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view content) {
  while (!content.empty()) {
    const ssize_t written = write(fd, content.data(), content.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      if (written == 0) errno = EIO;
      return false;
    }
    content.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

// Makes the rename itself durable; a failure here changes nothing visible.
void SyncDirectory(const std::string& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

}  // namespace

bool ReplaceFileAtomically(const std::string& path, std::string_view content,
                           std::string& error) {
  const std::string target = ResolveTarget(path);
  struct stat old_info {};
  const bool existed = stat(target.c_str(), &old_info) == 0;
  if (existed && S_ISDIR(old_info.st_mode)) {
    error = SystemReason(EISDIR);
    return false;
  }
  if (existed && ((old_info.st_mode & 0222) == 0 || access(target.c_str(), W_OK) != 0)) {
    error = SystemReason(EACCES);
    return false;
  }

  std::string temporary;
  const int fd = CreateTemporary(target, temporary);
  if (fd < 0) {
    error = SystemReason(errno);
    return false;
  }
  if (existed) {
    // Best effort: an ordinary user cannot give a file away, and need not;
    // the replacement is then the user's own, which is no failure.
    if (fchown(fd, old_info.st_uid, old_info.st_gid) != 0) errno = 0;
    fchmod(fd, old_info.st_mode & 07777);
  }
  bool ok = WriteAll(fd, content) && fsync(fd) == 0;
  int saved_errno = errno;
  if (close(fd) != 0 && ok) ok = false, saved_errno = errno;
  if (ok && rename(temporary.c_str(), target.c_str()) != 0) ok = false, saved_errno = errno;
  if (!ok) {
    unlink(temporary.c_str());
    error = SystemReason(saved_errno);
    return false;
  }
  SyncDirectory(DirectoryOf(target));
  return true;
}

}  // namespace zrm
