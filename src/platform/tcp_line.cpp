#include "platform/tcp_line.h"

#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/platform_texts.h"
#include "platform/poll_timeout.h"
#include "platform/system_reason.h"

namespace zrm {

namespace {

// Never longer than the shortest reply time-out (1 s): a server that is
// not there costs an exchange no more than a silent instrument.
constexpr auto kConnectTimeout = std::chrono::seconds(1);
// A peer that stops answering is given up after 10 s idle + 3 probes 5 s apart.
constexpr int kKeepIdleSeconds = 10;
constexpr int kKeepIntervalSeconds = 5;
constexpr int kKeepCount = 3;
constexpr auto kWriteTimeout = std::chrono::seconds(1);
// The most one recv takes: a reply fits, and a flooding peer gets no more
// than this much memory per pass of a wait.
constexpr std::size_t kReceiveChunk = 512;

void SetOption(int fd, int level, int name, int value) {
  ::setsockopt(fd, level, name, &value, sizeof value);
}

// Connects a non-blocking socket to one resolved address by `deadline`;
// the errno of the failure, or 0.
int ConnectOne(int fd, const addrinfo& ai, SteadyClock::time_point deadline) {
  if (::connect(fd, ai.ai_addr, ai.ai_addrlen) == 0) return 0;
  if (errno != EINPROGRESS) return errno;
  pollfd pfd{fd, POLLOUT, 0};
  for (;;) {
    const int ready = ::poll(&pfd, 1, MillisecondsUntil(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return ETIMEDOUT;
    int error = 0;
    socklen_t size = sizeof error;
    ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size);
    return error;
  }
}

}  // namespace

TcpLine::~TcpLine() { CloseSocket(); }

bool TcpLine::Open(const NetworkAddress& address, const std::string& text, std::int32_t speed,
                   std::string& reason) {
  CloseSocket();
  address_ = address;
  text_ = text;
  speed_ = speed;
  has_address_ = true;
  return Connect(reason);
}

void TcpLine::Close() {
  CloseSocket();
  has_address_ = false;
}

bool TcpLine::Connect(std::string& reason) {
  const auto deadline = SteadyClock::now() + kConnectTimeout;
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(address_.host.c_str(), address_.port.c_str(), &hints, &found) != 0) {
    reason = text_ + ": " + platform_texts::kUnknownHost + address_.host;
    return false;
  }
  int error = ENOTCONN;
  for (const addrinfo* ai = found; ai && fd_ < 0; ai = ai->ai_next) {
    const int fd = ::socket(ai->ai_family, ai->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                            ai->ai_protocol);
    if (fd < 0) {
      error = errno;
      continue;
    }
    error = ConnectOne(fd, *ai, deadline);
    if (error == 0) fd_ = fd;
    else ::close(fd);
  }
  ::freeaddrinfo(found);
  if (fd_ < 0) {
    reason = text_ + ": " +
             (error == ETIMEDOUT ? std::string(platform_texts::kNoConnection) : SystemReason(error));
    return false;
  }
  SetOption(fd_, IPPROTO_TCP, TCP_NODELAY, 1);
  SetOption(fd_, IPPROTO_TCP, TCP_QUICKACK, 1);
  SetOption(fd_, SOL_SOCKET, SO_KEEPALIVE, 1);
  SetOption(fd_, IPPROTO_TCP, TCP_KEEPIDLE, kKeepIdleSeconds);
  SetOption(fd_, IPPROTO_TCP, TCP_KEEPINTVL, kKeepIntervalSeconds);
  SetOption(fd_, IPPROTO_TCP, TCP_KEEPCNT, kKeepCount);
  if (address_.protocol == NetworkProtocol::kRfc2217) return StartRfc2217(deadline, reason);
  return true;
}

bool TcpLine::StartRfc2217(SteadyClock::time_point deadline, std::string& reason) {
  telnet_ = TelnetStream();
  SendAll(telnet_.Greeting());
  // The speed is set once the server has taken the COM-PORT-OPTION. The
  // deadline is looked at on every pass: a server that keeps sending must not
  // keep the negotiation going, nor fill the memory.
  while (fd_ >= 0 && !telnet_.ComPortAccepted() && !telnet_.NegotiationOverrun() &&
         SteadyClock::now() < deadline) {
    pollfd pfd{fd_, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, MillisecondsUntil(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0 || !Receive(kReceiveChunk)) break;
  }
  if (fd_ < 0 || !telnet_.ComPortAccepted() || telnet_.NegotiationOverrun()) {
    const bool flooded = telnet_.NegotiationOverrun();
    CloseSocket();
    reason = text_ + ": " + (flooded ? platform_texts::kRfc2217Flood : platform_texts::kNoRfc2217);
    return false;
  }
  pending_.clear();  // nothing the instrument said before the speed was set counts
  SendAll(TelnetStream::PortSettings(speed_));
  return fd_ >= 0;
}

bool TcpLine::SetSpeed(std::int32_t speed, std::string& reason) {
  if (address_.protocol == NetworkProtocol::kRawTcp || fd_ < 0) {
    reason = text_ + ": " + platform_texts::kSpeedOfTheServer;
    return false;
  }
  speed_ = speed;
  SendAll(TelnetStream::PortSettings(speed_));
  return fd_ >= 0;
}

bool TcpLine::IsOpen() const {
  if (fd_ < 0) return false;
  pollfd pfd{fd_, POLLRDHUP, 0};
  ::poll(&pfd, 1, 0);
  return (pfd.revents & (POLLRDHUP | POLLHUP | POLLERR | POLLNVAL)) == 0;
}

bool TcpLine::Reopen() {
  if (!has_address_) return false;
  CloseSocket();
  std::string ignored;
  return Connect(ignored);
}

void TcpLine::Write(const std::uint8_t* data, std::size_t size) {
  if (address_.protocol == NetworkProtocol::kRfc2217)
    SendAll(TelnetStream::EscapeData(data, size));
  else
    SendAll(std::string(reinterpret_cast<const char*>(data), size));
}

void TcpLine::SendAll(const std::string& bytes) {
  const auto deadline = SteadyClock::now() + kWriteTimeout;
  std::size_t done = 0;
  // A peer that takes a few bytes at a time must not stretch the write
  // beyond its time-out either.
  while (fd_ >= 0 && done < bytes.size() && SteadyClock::now() < deadline) {
    const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      Vanished();
      return;
    }
    pollfd pfd{fd_, POLLOUT, 0};
    if (::poll(&pfd, 1, MillisecondsUntil(deadline)) <= 0) return;  // the peer takes nothing
  }
}

std::optional<std::size_t> TcpLine::Receive(std::size_t most) {
  std::uint8_t buffer[kReceiveChunk];
  ssize_t n;
  do n = ::recv(fd_, buffer, std::min(most, sizeof buffer), 0);
  while (n < 0 && errno == EINTR);
  if (n < 0 && errno == EAGAIN) return 0;
  if (n <= 0) {
    Vanished();
    return std::nullopt;
  }
  // Acknowledge at once: a server that sends each byte as it comes off the
  // line (with Nagle on) would otherwise hold the rest of a reply until our
  // delayed acknowledgement, some 40 ms per exchange. Linux forgets the
  // setting after each read.
  SetOption(fd_, IPPROTO_TCP, TCP_QUICKACK, 1);
  const auto size = static_cast<std::size_t>(n);
  if (address_.protocol == NetworkProtocol::kRawTcp) {
    pending_.append(reinterpret_cast<const char*>(buffer), size);
    return size;
  }
  std::string answers;
  telnet_.Receive(buffer, size, pending_, answers);
  if (!answers.empty()) SendAll(answers);
  if (fd_ < 0) return std::nullopt;
  return size;
}

LineRead TcpLine::Read(std::uint8_t* buffer, std::size_t capacity,
                       SteadyClock::time_point deadline) {
  while (pending_.empty()) {
    if (fd_ < 0) return {LineReadStatus::kGone, 0};
    pollfd pfd{fd_, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, MillisecondsUntil(deadline));
    if (ready < 0 && errno != EINTR) return Vanished();
    if (ready > 0 && !Receive(kReceiveChunk)) return {LineReadStatus::kGone, 0};
    // Looked at on every pass, not only when poll times out: a peer that
    // keeps sending bytes that decode to no data (an endless subnegotiation)
    // must not hold the wait past its deadline.
    if (pending_.empty() && SteadyClock::now() >= deadline) return {LineReadStatus::kTimedOut, 0};
  }
  const std::size_t count = std::min(capacity, pending_.size());
  std::memcpy(buffer, pending_.data(), count);
  pending_.erase(0, count);
  return {LineReadStatus::kData, count};
}

void TcpLine::DiscardInput() {
  pending_.clear();
  // Only what has arrived by now: a peer that never stops sending would keep
  // a discard of everything going forever.
  int queued = 0;
  if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &queued) != 0) return;
  for (auto left = static_cast<std::size_t>(queued); fd_ >= 0 && left > 0;) {
    const auto taken = Receive(left);
    pending_.clear();
    if (!taken || *taken == 0) break;
    left -= *taken;
  }
}

LineRead TcpLine::Vanished() {
  CloseSocket();
  return {LineReadStatus::kGone, 0};
}

void TcpLine::CloseSocket() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  pending_.clear();
}

}  // namespace zrm
