#include "cli/own_terminal.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace zrm {

namespace {

// /dev/tty: whichever terminal controls the process.
constexpr unsigned kControllingTerminalMajor = 5;
constexpr unsigned kControllingTerminalMinor = 0;

}  // namespace

bool IsOwnTerminal(const std::string& path) {
  struct stat device {};
  if (::stat(path.c_str(), &device) != 0 || !S_ISCHR(device.st_mode)) return false;
  if (major(device.st_rdev) == kControllingTerminalMajor &&
      minor(device.st_rdev) == kControllingTerminalMinor)
    return true;
  for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
    struct stat open {};
    if (::isatty(stream) == 1 && ::fstat(stream, &open) == 0 && open.st_rdev == device.st_rdev)
      return true;
  }
  return false;
}

}  // namespace zrm
