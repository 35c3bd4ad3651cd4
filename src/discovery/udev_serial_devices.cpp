#include "discovery/udev_serial_devices.h"

#include <libudev.h>

#include <algorithm>
#include <memory>
#include <sstream>
#include <string_view>

#include "discovery/device_access.h"

namespace zrm {

namespace {

constexpr std::string_view kByIdFolder = "/dev/serial/by-id/";

struct UdevFree {
  void operator()(udev* u) const { udev_unref(u); }
  void operator()(udev_enumerate* e) const { udev_enumerate_unref(e); }
  void operator()(udev_device* d) const { udev_device_unref(d); }
};
template <class T>
using UdevPtr = std::unique_ptr<T, UdevFree>;

std::string Text(const char* value) { return value != nullptr ? value : ""; }

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// The by-id link among the device's links, if any.
std::string ByIdLink(udev_device* device) {
  std::istringstream links(Text(udev_device_get_property_value(device, "DEVLINKS")));
  std::string link;
  while (links >> link)
    if (StartsWith(link, kByIdFolder)) return link;
  return "";
}

// The driver udev names for a USB adapter, else the first one up the tree
// past the serial core's own port and controller devices (newer kernels put
// "port" and "ctrl" between the tty and the UART's driver, serial8250).
std::string DriverOf(udev_device* device) {
  const std::string usb_driver = Text(udev_device_get_property_value(device, "ID_USB_DRIVER"));
  if (!usb_driver.empty()) return usb_driver;
  for (udev_device* d = device; d != nullptr; d = udev_device_get_parent(d)) {
    const char* driver = udev_device_get_driver(d);
    if (driver != nullptr && Text(udev_device_get_subsystem(d)) != "serial-base") return driver;
  }
  return "";
}

// A built-in port is real when its UART type is known (not 0, "unknown").
bool HasUart(udev_device* device) {
  const std::string type = Text(udev_device_get_sysattr_value(device, "type"));
  return !type.empty() && type != "0";
}

void ReadUsbStrings(udev_device* device, SerialDevice& out) {
  udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
  if (usb == nullptr) return;
  out.vendor_id = Text(udev_device_get_sysattr_value(usb, "idVendor"));
  out.product_id = Text(udev_device_get_sysattr_value(usb, "idProduct"));
  out.manufacturer = Text(udev_device_get_sysattr_value(usb, "manufacturer"));
  out.product = Text(udev_device_get_sysattr_value(usb, "product"));
  out.serial = Text(udev_device_get_sysattr_value(usb, "serial"));
}

// The device as discovery reports it; false for a tty that is no serial port.
bool Describe(udev_device* device, SerialDevice& out) {
  const std::string name = Text(udev_device_get_sysname(device));
  out.usb = StartsWith(name, "ttyUSB") || StartsWith(name, "ttyACM");
  if (!out.usb && !(StartsWith(name, "ttyS") && HasUart(device))) return false;
  out.path = Text(udev_device_get_devnode(device));
  if (out.path.empty()) out.path = "/dev/" + name;
  out.by_id = ByIdLink(device);
  out.driver = DriverOf(device);
  if (out.usb) ReadUsbStrings(device, out);
  CheckAccess(out);
  return true;
}

}  // namespace

std::vector<SerialDevice> ListSerialDevices() {
  std::vector<SerialDevice> devices;
  UdevPtr<udev> context(udev_new());
  if (!context) return devices;
  UdevPtr<udev_enumerate> scan(udev_enumerate_new(context.get()));
  if (!scan || udev_enumerate_add_match_subsystem(scan.get(), "tty") < 0 ||
      udev_enumerate_scan_devices(scan.get()) < 0)
    return devices;
  udev_list_entry* entry = nullptr;
  udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(scan.get())) {
    UdevPtr<udev_device> device(
        udev_device_new_from_syspath(context.get(), udev_list_entry_get_name(entry)));
    SerialDevice found;
    if (device && Describe(device.get(), found)) devices.push_back(found);
  }
  std::sort(devices.begin(), devices.end(),
            [](const SerialDevice& a, const SerialDevice& b) { return a.path < b.path; });
  return devices;
}

}  // namespace zrm
