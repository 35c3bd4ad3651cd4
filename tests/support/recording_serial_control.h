#pragma once
// A driver that records the mode requests a port makes (TIOCGSERIAL,
// TIOCSSERIAL, TIOCSRS485) and answers them as scripted: no adapter or
// RS-485 UART is plugged in where the tests run.

#include <sys/ioctl.h>

#include <ostream>
#include <vector>

#include "platform/serial_control.h"

namespace zrm::test {

class RecordingSerialControl : public SerialControl {
 public:
  struct Call {
    unsigned long request = 0;  // TIOCGSERIAL, TIOCSSERIAL or TIOCSRS485
    int flags = 0;              // the serial flags or RS-485 flags passed in; 0 for a get

    bool operator==(const Call&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Call& call) {
      return out << "{0x" << std::hex << call.request << ", 0x" << call.flags << std::dec << "}";
    }
  };

  int GetSerial(int /*fd*/, serial_struct& info) override {
    calls.push_back({TIOCGSERIAL, 0});
    info.flags = driver_flags;
    return get_serial_error;
  }
  int SetSerial(int /*fd*/, const serial_struct& info) override {
    calls.push_back({TIOCSSERIAL, info.flags});
    return 0;
  }
  int SetRs485(int /*fd*/, const serial_rs485& mode) override {
    calls.push_back({TIOCSRS485, static_cast<int>(mode.flags)});
    return rs485_error;
  }

  std::vector<Call> calls;
  int driver_flags = 0;      // the flags TIOCGSERIAL reports
  int get_serial_error = 0;  // errno of TIOCGSERIAL, 0: answered
  int rs485_error = 0;       // errno of TIOCSRS485, 0: accepted
};

}  // namespace zrm::test
