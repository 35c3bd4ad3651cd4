#pragma once
// A serial device opened with termios: raw 8N1, no flow control, NUL bytes
// kept, DTR raised and RTS dropped, exclusive to this program. Reads wait with
// poll() for the first byte or the deadline, so a reply is taken as soon as it
// arrives. A device that vanishes (USB adapter pulled) is closed at once and
// can be opened again with Reopen(). A USB adapter is put into low-latency
// mode, and the RS-485 mode is switched on when asked for (serial_modes.h).

#include <cstdint>
#include <string>

#include "platform/line.h"
#include "platform/serial_control.h"
#include "platform/serial_modes.h"

namespace zrm {

class SerialPort : public Line {
 public:
  // `control` answers the driver requests of the modes and must outlive
  // the port.
  explicit SerialPort(SerialControl& control = KernelSerialControl()) : control_(control) {}
  ~SerialPort() override;
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  // Closes what is open, then opens `path` at `speed` bits per second (4800,
  // 9600, 19200, 38400 or 57600). On failure returns false and sets `reason`
  // to "path: why", in words a technician can act on; a driver that refuses
  // a mode of `modes` is such a failure. The path, speed and modes are kept
  // for Reopen() either way.
  bool Open(const std::string& path, std::int32_t speed, std::string& reason,
            PortModes modes = {});

  // What the user should be told about the device opened last (a USB
  // adapter's slow latency timer), once: the same news of the same device is
  // not given again by a later open, and taking it clears it.
  std::string TakeNotice();

  // Switches the open device to `speed` (as Open takes it) without closing
  // it, and keeps the speed for Reopen(). False with `reason` ("path: why")
  // when the speed is not supported, the device refuses it or none is open.
  bool SetSpeed(std::int32_t speed, std::string& reason);

  // Closes the device and forgets it: Reopen() opens nothing until the next
  // Open().
  void Close();

  // False too when the open device has hung up (it vanished while nothing
  // was exchanged): the descriptor is dead, and Reopen() finds the device
  // that may have come back on the same path.
  bool IsOpen() const override;
  bool Reopen() override;
  void Write(const std::uint8_t* data, std::size_t size) override;
  LineRead Read(std::uint8_t* buffer, std::size_t capacity,
                SteadyClock::time_point deadline) override;
  void DiscardInput() override;

 private:
  // Closes the descriptor, keeping path and speed for Reopen().
  void CloseDevice();

  // Closes the device after it reported a hang-up or an I/O error.
  LineRead Vanished();

  SerialControl& control_;
  int fd_ = -1;
  std::string path_;
  std::int32_t speed_ = 0;
  PortModes modes_;
  std::string notice_;  // not taken yet
  std::string told_;    // the last notice of an open, so that it is given once
  bool vanished_ = false;  // the device hung up since it was last opened
};

// "path: reason" for an open that failed with `error` (an errno value); for
// "permission denied" it names the group that owns the device.
std::string DescribeOpenError(const std::string& path, int error);

}  // namespace zrm
