#include "platform/serial_control.h"

#include <sys/ioctl.h>

#include <cerrno>

namespace zrm {

namespace {

class KernelControl : public SerialControl {
 public:
  int GetSerial(int fd, serial_struct& info) override { return Call(fd, TIOCGSERIAL, &info); }
  int SetSerial(int fd, const serial_struct& info) override {
    serial_struct copy = info;
    return Call(fd, TIOCSSERIAL, &copy);
  }
  int SetRs485(int fd, const serial_rs485& mode) override {
    serial_rs485 copy = mode;  // the driver writes back what it applied
    return Call(fd, TIOCSRS485, &copy);
  }

 private:
  static int Call(int fd, unsigned long request, void* argument) {
    return ::ioctl(fd, request, argument) == 0 ? 0 : errno;
  }
};

}  // namespace

SerialControl& KernelSerialControl() {
  static KernelControl control;
  return control;
}

}  // namespace zrm
