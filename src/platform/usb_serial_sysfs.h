#pragma once
// What sysfs tells about the adapter behind a serial device: whether the
// tty hangs on USB, and where its driver keeps the latency timer (the time
// an FTDI-like chip holds received bytes before it sends a short packet).

#include <sys/types.h>

#include <optional>
#include <string>

namespace zrm {

struct UsbSerialFacts {
  bool usb = false;           // the tty belongs to a USB device (usb-serial or cdc_acm)
  std::string latency_timer;  // path of the driver's latency_timer; empty when it has none
};

// The facts of the character device `device` (the open port's st_rdev),
// found through /sys/dev/char/MAJOR:MINOR and the device's parents. A device
// that sysfs does not list (a pseudo-terminal) is no USB adapter.
UsbSerialFacts UsbSerialFactsOf(dev_t device);

// The latency timer in milliseconds as the attribute at `path` holds it;
// empty when it cannot be read or holds no number.
std::optional<int> ReadLatencyTimer(const std::string& path);

// Sets the latency timer at `path` to `ms`; 0, or the errno value of the
// refusal (EACCES for anyone but root).
int WriteLatencyTimer(const std::string& path, int ms);

}  // namespace zrm
