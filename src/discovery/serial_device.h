#pragma once
// One serial device of the machine as discovery reports it.

#include <string>

namespace zrm {

struct SerialDevice {
  std::string path;       // the device node, "/dev/ttyUSB0"
  std::string by_id;      // stable name, "/dev/serial/by-id/usb-FTDI_…"; empty if none
  std::string driver;     // "ftdi_sio", "cp210x", "serial8250"
  std::string vendor_id;  // USB ids in four hex digits; empty for a built-in port
  std::string product_id;
  std::string manufacturer;  // USB strings as the adapter reports them
  std::string product;
  std::string serial;
  bool usb = false;         // a USB adapter (ttyUSB, ttyACM), else a built-in port
  bool accessible = false;  // this user may open it for reading and writing
  std::string group;        // the group that owns the node (when not accessible)

  // The name to store for the device: by-id when it has one (ttyUSB numbers
  // change between plugs), else the node.
  const std::string& StableName() const { return by_id.empty() ? path : by_id; }
};

}  // namespace zrm
