#include "platform/usb_serial_sysfs.h"

#include <fcntl.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <filesystem>

#include "platform/number_text.h"

namespace zrm {

namespace {

namespace fs = std::filesystem;

const fs::path kDevicesRoot = "/sys/devices";

// Where the link at `link` points, relative targets taken from its folder
// and written plainly; empty when it is no link. Only readlink is used, so
// that the lookup sees a test bed's sysfs just as the real one.
fs::path LinkTarget(const fs::path& link) {
  char target[4096];
  const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
  if (n <= 0) return {};
  return (link.parent_path() / std::string(target, static_cast<std::size_t>(n))).lexically_normal();
}

bool IsFile(const fs::path& path) { return ::access(path.c_str(), F_OK) == 0; }

}  // namespace

UsbSerialFacts UsbSerialFactsOf(dev_t device) {
  const fs::path link = "/sys/dev/char/" + std::to_string(major(device)) + ":" +
                        std::to_string(minor(device));
  UsbSerialFacts facts;
  // The tty's own folder, then its parents up to the root of the devices: a
  // ttyUSB hangs on its usb-serial port (which holds latency_timer), a
  // ttyACM on its USB interface.
  for (fs::path dir = LinkTarget(link);
       dir.string().starts_with(kDevicesRoot.string() + "/"); dir = dir.parent_path()) {
    const std::string subsystem = LinkTarget(dir / "subsystem").filename().string();
    if (subsystem != "usb-serial" && subsystem != "usb") continue;
    facts.usb = true;
    if (IsFile(dir / "latency_timer")) facts.latency_timer = (dir / "latency_timer").string();
    break;
  }
  return facts;
}

std::optional<int> ReadLatencyTimer(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  char text[32];
  const ssize_t n = ::read(fd, text, sizeof text);
  ::close(fd);
  if (n <= 0) return std::nullopt;
  const std::string_view value = TrimBlanks(std::string_view(text, static_cast<std::size_t>(n)));
  int ms = 0;
  const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), ms);
  if (value.empty() || error != std::errc() || end != value.data() + value.size())
    return std::nullopt;
  return ms;
}

int WriteLatencyTimer(const std::string& path, int ms) {
  // As a shell writes it: sysfs ignores the truncation, a test bed needs it.
  const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return errno;
  const std::string text = std::to_string(ms);
  const ssize_t n = ::write(fd, text.data(), text.size());
  int error = n == static_cast<ssize_t>(text.size()) ? 0 : n < 0 ? errno : EIO;
  if (::close(fd) != 0 && error == 0) error = errno;
  return error;
}

}  // namespace zrm
