#include "app/unmapped_adapters.h"

#include <sys/stat.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace zrm {

namespace {

using NodeId = std::pair<dev_t, ino_t>;

// The file a path leads to, links followed; empty when it leads nowhere now.
std::optional<NodeId> NodeOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return NodeId{info.st_dev, info.st_ino};
}

bool Mapped(const SerialDevice& device, const LinkConfig& config) {
  const std::optional<NodeId> node = NodeOf(device.path);
  return std::any_of(
      std::begin(config.port_paths), std::end(config.port_paths), [&](const std::string& path) {
        return path == device.path || (!device.by_id.empty() && path == device.by_id) ||
               (node && NodeOf(path) == node);
      });
}

}  // namespace

std::vector<SerialDevice> UnmappedAdapters(const std::vector<SerialDevice>& devices,
                                           const LinkConfig& config) {
  std::vector<SerialDevice> unmapped;
  for (const SerialDevice& device : devices)
    if (device.usb && !Mapped(device, config)) unmapped.push_back(device);
  return unmapped;
}

}  // namespace zrm
