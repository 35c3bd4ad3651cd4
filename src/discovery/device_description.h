#pragma once
// A serial device in one line of words, for lists the technician reads.

#include <string>

#include "discovery/serial_device.h"

namespace zrm {

// "FTDI FT232R USB UART (0403:6001, ftdi_sio)" for a USB adapter (its
// strings, as far as it has them), "встроенный порт (serial8250)" for a
// built-in one.
std::string DeviceDescription(const SerialDevice& device);

// "/dev/ttyUSB0\t/dev/serial/by-id/…\tdescription\taccess": the line of
// `zrm48ctl ports`; "-" stands for a missing by-id name.
std::string DeviceLine(const SerialDevice& device);

}  // namespace zrm
