#pragma once
// The line of the port in use, chosen by its path: "tcp://HOST:PORT" and
// "rfc2217://HOST:PORT" are network lines (TcpLine), any other path a local
// serial device (SerialPort). The rest of the program sees one Line.

#include <cstdint>
#include <string>

#include "platform/line.h"
#include "platform/serial_port.h"
#include "platform/tcp_line.h"

namespace zrm {

class PortLine : public Line {
 public:
  // `control` answers a serial device's mode requests and must outlive the
  // line.
  explicit PortLine(SerialControl& control = KernelSerialControl()) : serial_(control) {}

  // Closes what is open, then opens `path` at `speed` bits per second in
  // `modes`. On failure returns false and sets `reason` to "path: why"; the
  // RS-485 mode of a network line is such a failure (the device server's
  // port is set up on the server).
  bool Open(const std::string& path, std::int32_t speed, std::string& reason,
            PortModes modes = {});

  // What the user should be told once about the device (SerialPort::
  // TakeNotice); a network line has nothing to tell.
  std::string TakeNotice() { return serial_.TakeNotice(); }

  // Closes the line and forgets it: Reopen() opens nothing until the next
  // Open().
  void Close();

  // Switches the open line to `speed` without closing it (see
  // SerialPort::SetSpeed and TcpLine::SetSpeed).
  bool SetSpeed(std::int32_t speed, std::string& reason);

  bool IsOpen() const override { return active_->IsOpen(); }
  bool Reopen() override { return active_->Reopen(); }
  void Write(const std::uint8_t* data, std::size_t size) override { active_->Write(data, size); }
  LineRead Read(std::uint8_t* buffer, std::size_t capacity,
                SteadyClock::time_point deadline) override {
    return active_->Read(buffer, capacity, deadline);
  }
  void DiscardInput() override { active_->DiscardInput(); }

 private:
  SerialPort serial_;
  TcpLine network_;
  Line* active_ = &serial_;
};

}  // namespace zrm
