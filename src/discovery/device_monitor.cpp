#include "discovery/device_monitor.h"

#include <libudev.h>

#include <algorithm>
#include <sstream>
#include <string_view>

namespace zrm {

struct DeviceMonitor::Impl {
  udev* context = nullptr;
  udev_monitor* monitor = nullptr;
};

bool DeviceEvent::Names(const std::string& path) const {
  return !path.empty() &&
         (path == node || std::find(links.begin(), links.end(), path) != links.end());
}

DeviceMonitor::DeviceMonitor() : impl_(std::make_unique<Impl>()) {
  impl_->context = udev_new();
  if (impl_->context == nullptr) return;
  // "udev", not "kernel": the news comes once udev has made the node, its
  // links and its permissions.
  impl_->monitor = udev_monitor_new_from_netlink(impl_->context, "udev");
  if (impl_->monitor == nullptr ||
      udev_monitor_filter_add_match_subsystem_devtype(impl_->monitor, "tty", nullptr) < 0 ||
      udev_monitor_enable_receiving(impl_->monitor) < 0) {
    if (impl_->monitor != nullptr) udev_monitor_unref(impl_->monitor);
    impl_->monitor = nullptr;
  }
}

DeviceMonitor::~DeviceMonitor() {
  if (impl_->monitor != nullptr) udev_monitor_unref(impl_->monitor);
  if (impl_->context != nullptr) udev_unref(impl_->context);
}

int DeviceMonitor::Fd() const {
  return impl_->monitor != nullptr ? udev_monitor_get_fd(impl_->monitor) : -1;
}

std::optional<DeviceEvent> DeviceMonitor::Receive() {
  if (impl_->monitor == nullptr) return std::nullopt;
  udev_device* device = udev_monitor_receive_device(impl_->monitor);
  if (device == nullptr) return std::nullopt;
  const char* action = udev_device_get_action(device);
  const char* node = udev_device_get_devnode(device);
  std::optional<DeviceEvent> event;
  const std::string_view what = action != nullptr ? action : "";
  if (node != nullptr && (what == "add" || what == "remove")) {
    event = DeviceEvent{what == "add", node, {}};
    const char* links = udev_device_get_property_value(device, "DEVLINKS");
    std::istringstream words(links != nullptr ? links : "");
    for (std::string link; words >> link;) event->links.push_back(link);
  }
  udev_device_unref(device);
  return event;
}

}  // namespace zrm
