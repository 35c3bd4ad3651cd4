#include "lib/pseudo_terminal.h"

#include <fcntl.h>
#include <pty.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>

namespace zrm::sim {

bool PseudoTerminal::Open(std::string& error) {
  Close();
  char name[PATH_MAX] = {};
  if (openpty(&master_, &slave_, name, nullptr, nullptr) != 0) {
    error = std::string("openpty: ") + std::strerror(errno);
    master_ = slave_ = -1;
    return false;
  }
  fcntl(master_, F_SETFD, FD_CLOEXEC);
  fcntl(slave_, F_SETFD, FD_CLOEXEC);
  fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
  slave_path_ = name;
  return true;
}

void PseudoTerminal::Close() {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
  slave_ = master_ = -1;
}

}  // namespace zrm::sim
