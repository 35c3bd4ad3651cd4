#include "lib/pseudo_terminal.h"

#include <fcntl.h>
#include <poll.h>
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

void PseudoTerminal::Send(const std::string& bytes) {
  std::size_t done = 0;
  while (master_ >= 0 && done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    pollfd pfd{master_, POLLOUT, 0};
    if (n == 0 || errno != EAGAIN || ::poll(&pfd, 1, 1000) <= 0) return;
  }
}

std::string PseudoTerminal::Receive(char until, std::chrono::milliseconds within) {
  const auto deadline = std::chrono::steady_clock::now() + within;
  std::string bytes;
  while (master_ >= 0 && bytes.find(until) == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd pfd{master_, POLLIN, 0};
    if (::poll(&pfd, 1, static_cast<int>(left.count())) <= 0) break;
    char chunk[256];
    const ssize_t n = ::read(master_, chunk, sizeof chunk);
    if (n > 0) bytes.append(chunk, static_cast<std::size_t>(n));
  }
  return bytes;
}

void PseudoTerminal::Close() {
  if (slave_ >= 0) close(slave_);
  if (master_ >= 0) close(master_);
  slave_ = master_ = -1;
}

}  // namespace zrm::sim
