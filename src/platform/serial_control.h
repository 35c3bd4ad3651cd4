#pragma once
// The driver requests a serial port's modes need beyond termios: the
// low-latency flag of a USB adapter and the kernel's RS-485 mode. Only the
// driver of a real adapter or UART answers them, so the port calls them
// through this interface, and tests stand in for the driver.

#include <linux/serial.h>

namespace zrm {

class SerialControl {
 public:
  virtual ~SerialControl() = default;

  // Each returns 0, or the errno value the driver refused with.
  virtual int GetSerial(int fd, serial_struct& info) = 0;         // TIOCGSERIAL
  virtual int SetSerial(int fd, const serial_struct& info) = 0;   // TIOCSSERIAL
  virtual int SetRs485(int fd, const serial_rs485& mode) = 0;     // TIOCSRS485
};

// The kernel's own answers: the ioctl on the descriptor. It holds no state.
SerialControl& KernelSerialControl();

}  // namespace zrm
