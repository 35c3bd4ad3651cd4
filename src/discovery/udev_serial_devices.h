#pragma once
// The machine's serial devices read with libudev: USB adapters (ttyUSB,
// ttyACM) with their stable by-id names, driver, USB ids and strings, and
// the built-in ttyS ports that have a real UART behind them (the kernel
// makes dozens of ttyS nodes without hardware; those are left out).

#include <vector>

#include "discovery/serial_device.h"

namespace zrm {

// Every serial device, sorted by path, with its access for this user. Empty
// when udev cannot be read.
std::vector<SerialDevice> ListSerialDevices();

}  // namespace zrm
