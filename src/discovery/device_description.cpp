#include "discovery/device_description.h"

#include "discovery/device_access.h"
#include "discovery/discovery_texts.h"

namespace zrm {

namespace {

// "a b" without blanks for a missing part.
std::string Joined(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return a + b;
  return a + " " + b;
}

}  // namespace

std::string DeviceDescription(const SerialDevice& device) {
  std::string name =
      device.usb ? Joined(device.manufacturer, device.product) : discovery_texts::kBuiltinPort;
  if (name.empty()) name = discovery_texts::kUsbAdapter;
  std::string details = device.vendor_id.empty() ? "" : device.vendor_id + ":" + device.product_id;
  if (!device.driver.empty()) details += (details.empty() ? "" : ", ") + device.driver;
  return details.empty() ? name : name + " (" + details + ")";
}

std::string DeviceLine(const SerialDevice& device) {
  return device.path + "\t" + (device.by_id.empty() ? "-" : device.by_id) + "\t" +
         DeviceDescription(device) + "\t" + AccessText(device);
}

}  // namespace zrm
