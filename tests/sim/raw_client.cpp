#include "sim/raw_client.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include "lib/crc16.h"

namespace zrm::sim::test {

RawClient::RawClient(const std::string& path, bool raw) {
  fd_ = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
  if (fd_ < 0 || !raw) return;
  termios settings{};
  tcgetattr(fd_, &settings);
  cfmakeraw(&settings);
  tcsetattr(fd_, TCSANOW, &settings);
}

RawClient::~RawClient() {
  if (fd_ >= 0) close(fd_);
}

void RawClient::Send(const std::string& bytes) {
  [[maybe_unused]] const ssize_t written = write(fd_, bytes.data(), bytes.size());
}

std::string RawClient::Receive(std::chrono::milliseconds timeout, bool* hung_up) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  std::string reply;
  if (hung_up != nullptr) *hung_up = false;
  while (reply.empty() || reply.back() != '\r') {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd_, POLLIN, 0};
    if (poll(&p, 1, static_cast<int>(left.count())) <= 0) break;
    char chunk[512];
    const ssize_t count = read(fd_, chunk, sizeof chunk);
    if (count <= 0 || (p.revents & POLLHUP) != 0) {
      if (count > 0) reply.append(chunk, static_cast<std::size_t>(count));
      if (hung_up != nullptr) *hung_up = true;
      break;
    }
    reply.append(chunk, static_cast<std::size_t>(count));
  }
  return reply;
}

std::string RawClient::Exchange(const std::string& bytes, std::chrono::milliseconds timeout) {
  Send(bytes);
  return Receive(timeout);
}

std::string RequestFrame(const std::string& text) {
  const std::string covered = text.substr(1);
  return std::string(4, '\xFF') + text + std::to_string(Crc16Modbus(covered)) + "\r";
}

}  // namespace zrm::sim::test
