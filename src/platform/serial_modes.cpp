#include "platform/serial_modes.h"

#include <sys/stat.h>

#include <cerrno>

#include "platform/platform_texts.h"
#include "platform/system_reason.h"
#include "platform/usb_serial_sysfs.h"

namespace zrm {

std::string PrepareLowLatency(int fd, const std::string& path, SerialControl& control) {
  struct stat info{};
  if (::fstat(fd, &info) != 0 || !S_ISCHR(info.st_mode)) return {};
  const UsbSerialFacts facts = UsbSerialFactsOf(info.st_rdev);
  if (!facts.usb) return {};
  // Low latency is a wish, not a need: a driver without it still passes
  // every byte, only later.
  serial_struct serial{};
  if (control.GetSerial(fd, serial) == 0) {
    serial.flags |= ASYNC_LOW_LATENCY;
    control.SetSerial(fd, serial);
  }
  // Not every driver lowers its timer for the flag; what sysfs shows is the
  // time the chip holds a short reply back.
  const std::optional<int> ms = ReadLatencyTimer(facts.latency_timer);
  if (!ms || *ms <= 1 || WriteLatencyTimer(facts.latency_timer, 1) == 0) return {};
  using namespace platform_texts;
  return path + ": " + kLatencyTimerHolds + std::to_string(*ms) + kLatencyTimerCost +
         facts.latency_timer + kLatencyTimerRule;
}

bool EnableRs485(int fd, SerialControl& control, std::string& why) {
  serial_rs485 mode{};
  mode.flags = SER_RS485_ENABLED | SER_RS485_RTS_ON_SEND;
  const int error = control.SetRs485(fd, mode);
  if (error == 0) return true;
  // A driver without the request answers "inappropriate ioctl": the port
  // is serial, its driver has no RS-485 mode.
  why = std::string(platform_texts::kNoRs485) +
        (error == ENOTTY ? platform_texts::kRs485Unsupported : SystemReason(error));
  return false;
}

}  // namespace zrm
