#include "platform/serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <utility>

#include "platform/device_group.h"
#include "platform/platform_texts.h"
#include "platform/poll_timeout.h"
#include "platform/system_reason.h"

namespace zrm {

namespace {

// A write gets this long beyond its own time on the wire before it is given
// up (the protocol does not examine writes; a stuck device is found by the
// reply wait).
constexpr int kWriteGraceMs = 1000;

std::optional<speed_t> TermiosSpeed(std::int32_t speed) {
  switch (speed) {
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    default: return std::nullopt;
  }
}

bool DeviceGoneError(int error) { return error == EIO || error == ENXIO || error == ENODEV; }

// Raw 8N1 at `speed`, receiver on, modem status lines ignored, no flow
// control of any kind; every byte value (NUL, CR, XON, XOFF, ^C) passes.
void MakeRaw(termios& tio, speed_t speed) {
  ::cfmakeraw(&tio);
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | IGNPAR);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  // With O_NONBLOCK, VMIN 1 makes an empty read say EAGAIN, so a read of 0
  // bytes means the device hung up.
  tio.c_cc[VMIN] = 1;
  tio.c_cc[VTIME] = 0;
  ::cfsetispeed(&tio, speed);
  ::cfsetospeed(&tio, speed);
}

// Raises DTR and drops RTS. A pseudo-terminal has no modem lines and refuses
// with ENOTTY or EINVAL; that is no fault.
bool SetModemLines(int fd) {
  int dtr = TIOCM_DTR;
  int rts = TIOCM_RTS;
  for (auto [request, bits] : {std::pair{TIOCMBIS, &dtr}, std::pair{TIOCMBIC, &rts}}) {
    if (::ioctl(fd, request, bits) != 0 && errno != ENOTTY && errno != EINVAL) return false;
  }
  return true;
}

// Lets other programs open the device again, then closes it. The exclusive
// flag belongs to the terminal, not to this descriptor: left set, it outlives
// the close while anyone else (the simulator, a getty) keeps the device open,
// and every later open by an ordinary user fails as busy.
void CloseExclusive(int fd) {
  ::ioctl(fd, TIOCNXCL);
  ::close(fd);
}

}  // namespace

std::string DescribeOpenError(const std::string& path, int error) {
  std::string text = path + ": " + SystemReason(error);
  if (error == EACCES || error == EPERM) {
    const std::string group = OwningGroup(path);
    text += ". " + std::string(platform_texts::kJoinGroupHint) + "«" + group + "». " +
            platform_texts::kRunCommand + JoinGroupCommand(group) + platform_texts::kLogInAgain;
  }
  return text;
}

SerialPort::~SerialPort() { Close(); }

bool SerialPort::IsOpen() const {
  if (fd_ < 0) return false;
  pollfd pfd{fd_, 0, 0};
  ::poll(&pfd, 1, 0);
  return (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) == 0;
}

bool SerialPort::Open(const std::string& path, std::int32_t speed, std::string& reason,
                      PortModes modes) {
  CloseDevice();
  vanished_ = false;
  path_ = path;
  speed_ = speed;
  modes_ = modes;
  const auto termios_speed = TermiosSpeed(speed);
  if (!termios_speed) {
    reason = path + ": " + platform_texts::kUnsupportedSpeed + std::to_string(speed);
    return false;
  }
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    reason = DescribeOpenError(path, errno);
    return false;
  }
  auto fail = [&](std::string why) {
    ::close(fd);
    reason = path + ": " + why;
    return false;
  };
  // Two programs on one instrument would take each other's replies.
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0)
    return fail(errno == EWOULDBLOCK ? platform_texts::kDeviceBusy : SystemReason(errno));
  termios tio{};
  if (::tcgetattr(fd, &tio) != 0)
    return fail(errno == ENOTTY || errno == EINVAL ? platform_texts::kNotSerialDevice
                                                   : SystemReason(errno));
  ::ioctl(fd, TIOCEXCL);  // keeps other programs from opening the device too
  auto fail_exclusive = [&](std::string why) {
    ::ioctl(fd, TIOCNXCL);
    return fail(std::move(why));
  };
  MakeRaw(tio, *termios_speed);
  if (::tcsetattr(fd, TCSANOW, &tio) != 0) return fail_exclusive(SystemReason(errno));
  if (!SetModemLines(fd)) return fail_exclusive(SystemReason(errno));
  // After the modem lines: from here on the kernel drives RTS.
  if (std::string why; modes.rs485 && !EnableRs485(fd, control_, why))
    return fail_exclusive(std::move(why));
  const std::string notice = PrepareLowLatency(fd, path, control_);
  if (notice != told_) notice_ = told_ = notice;
  ::tcflush(fd, TCIOFLUSH);
  fd_ = fd;
  return true;
}

std::string SerialPort::TakeNotice() { return std::exchange(notice_, {}); }

bool SerialPort::SetSpeed(std::int32_t speed, std::string& reason) {
  const auto termios_speed = TermiosSpeed(speed);
  if (!termios_speed) {
    reason = path_ + ": " + platform_texts::kUnsupportedSpeed + std::to_string(speed);
    return false;
  }
  termios tio{};
  if (fd_ < 0 || ::tcgetattr(fd_, &tio) != 0 || ::cfsetispeed(&tio, *termios_speed) != 0 ||
      ::cfsetospeed(&tio, *termios_speed) != 0 || ::tcsetattr(fd_, TCSADRAIN, &tio) != 0) {
    reason = path_ + ": " + SystemReason(fd_ < 0 ? ENODEV : errno);
    return false;
  }
  speed_ = speed;
  ::tcflush(fd_, TCIFLUSH);
  return true;
}

void SerialPort::Close() {
  CloseDevice();
  path_.clear();
}

void SerialPort::CloseDevice() {
  if (fd_ < 0) return;
  CloseExclusive(fd_);
  fd_ = -1;
}

bool SerialPort::Reopen() {
  // A pseudo-terminal's number goes to the next one opened as soon as it is
  // freed: a vanished one never comes back under it, and opening the number
  // again would take another program's terminal. Only a name that is a link
  // to it (the simulator's, udev's) can bring one back.
  const bool vanished = vanished_ || (fd_ >= 0 && !IsOpen());
  if (path_.empty() || (vanished && path_.rfind("/dev/pts/", 0) == 0)) return false;
  const std::string path = path_;
  std::string ignored;
  return Open(path, speed_, ignored, modes_);
}

void SerialPort::Write(const std::uint8_t* data, std::size_t size) {
  const auto wire_ms = static_cast<std::int64_t>(size) * 10 * 1000 / (speed_ > 0 ? speed_ : 1);
  const auto deadline = SteadyClock::now() + std::chrono::milliseconds(wire_ms + kWriteGraceMs);
  std::size_t done = 0;
  while (fd_ >= 0 && done < size) {
    const ssize_t n = ::write(fd_, data + done, size - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) {
      if (DeviceGoneError(errno)) Vanished();
      return;
    }
    pollfd pfd{fd_, POLLOUT, 0};
    if (::poll(&pfd, 1, MillisecondsUntil(deadline)) == 0 || SteadyClock::now() >= deadline)
      return;  // the device takes nothing, or too little to finish in time
    if (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) {
      Vanished();
      return;
    }
  }
}

LineRead SerialPort::Read(std::uint8_t* buffer, std::size_t capacity,
                          SteadyClock::time_point deadline) {
  while (fd_ >= 0) {
    pollfd pfd{fd_, POLLIN, 0};
    const int ready = ::poll(&pfd, 1, MillisecondsUntil(deadline));
    if (ready < 0) {
      if (errno == EINTR) continue;
      return Vanished();
    }
    if (ready > 0) {
      const ssize_t n = ::read(fd_, buffer, capacity);
      if (n > 0) return {LineReadStatus::kData, static_cast<std::size_t>(n)};
      if (n == 0) return Vanished();  // end of file: the device hung up
      if (errno != EAGAIN && errno != EINTR) return Vanished();
      if (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) return Vanished();
    }
    // On every pass: a device that keeps saying it is ready while nothing
    // can be read must not hold the wait past its deadline.
    if (SteadyClock::now() >= deadline) return {LineReadStatus::kTimedOut, 0};
  }
  return {LineReadStatus::kGone, 0};
}

void SerialPort::DiscardInput() {
  if (fd_ >= 0) ::tcflush(fd_, TCIFLUSH);
}

LineRead SerialPort::Vanished() {
  CloseDevice();
  vanished_ = true;
  return {LineReadStatus::kGone, 0};
}

}  // namespace zrm
