#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <random>

#include "platform/file_kind.h"
#include "platform/system_reason.h"

namespace zrm {

namespace {

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Links in a chain longer than this are taken for a loop, as the system does.
constexpr int kMaxLinkHops = 40;

// Where a write to `path` lands: the end of its chain of symbolic links, so
// that every link survives (a relative link counts from its own folder). A
// dangling chain ends at the missing file, which the write then creates.
// False with the errno value in `error` when the chain cannot be followed.
bool FollowLinks(const std::string& path, std::string& target, int& error) {
  target = path;
  for (int hop = 0;; ++hop) {
    struct stat info {};
    if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return true;
    if (hop == kMaxLinkHops) {
      error = ELOOP;
      return false;
    }
    std::string link(PATH_MAX, '\0');
    const ssize_t length = readlink(target.c_str(), link.data(), link.size());
    if (length <= 0) {
      error = length < 0 ? errno : ENOENT;
      return false;
    }
    link.resize(static_cast<std::size_t>(length));
    target = link.front() == '/' ? link : DirectoryOf(target) + "/" + link;
  }
}

// The regular file, existing or not, that a write to `path` replaces. A
// device, pipe, socket or folder, reached directly or through links (also
// the system's links such as /proc/self/fd/1), is refused: a rename would
// put a regular file in its place. False with the reason in `error`.
bool FileToReplace(const std::string& path, std::string& target, std::string& error) {
  error = NotRegularFileAt(path);
  if (!error.empty()) return false;
  int link_error = 0;
  if (FollowLinks(path, target, link_error)) return true;
  error = SystemReason(link_error);
  return false;
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

}  // namespace

bool SyncFolder(const std::string& folder, std::string& error) {
  const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0 || fsync(fd) != 0) {
    error = SystemReason(errno);
    if (fd >= 0) close(fd);
    return false;
  }
  close(fd);
  return true;
}

bool ReplaceFileAtomically(const std::string& path, std::string_view content, std::string& error) {
  std::string target;
  if (!FileToReplace(path, target, error)) return false;
  struct stat old_info {};
  const bool existed = stat(target.c_str(), &old_info) == 0;
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
  // Makes the rename itself durable; a failure here changes nothing visible.
  std::string ignored;
  SyncFolder(DirectoryOf(target), ignored);
  return true;
}

}  // namespace zrm
