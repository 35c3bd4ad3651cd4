#pragma once
// The modes a serial port is put in at open, beyond termios: a USB adapter
// answers short replies at once (low latency), and a port on an RS-485
// transceiver lets the kernel drive the transmitter with RTS.

#include <string>

#include "platform/serial_control.h"

namespace zrm {

// What a port is opened for beyond its speed.
struct PortModes {
  bool rs485 = false;  // the kernel's RS-485 mode, RTS raised while sending

  bool operator==(const PortModes&) const = default;
};

// Puts the open device `fd` (opened as `path`) into low-latency mode when it
// is a USB adapter, and brings the driver's latency timer down to 1 ms
// where it is higher. Returns what the user should be told once: empty, or
// "path: …" with the timer's cost and the command that sets it, when the
// timer stays higher because this program may not change it. Anything else
// (a pseudo-terminal, a built-in UART) is left alone.
std::string PrepareLowLatency(int fd, const std::string& path, SerialControl& control);

// Switches the open device `fd` into RS-485 mode with RTS on send. False
// with `why` (the driver's reason in words) when the driver refuses.
bool EnableRs485(int fd, SerialControl& control, std::string& why);

}  // namespace zrm
