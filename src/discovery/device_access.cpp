#include "discovery/device_access.h"

#include <unistd.h>

#include "discovery/discovery_texts.h"
#include "platform/device_group.h"

namespace zrm {

void CheckAccess(SerialDevice& device) {
  device.accessible = ::access(device.path.c_str(), R_OK | W_OK) == 0;
  device.group = OwningGroup(device.path);
}

std::string AccessText(const SerialDevice& device) {
  if (device.accessible) return discovery_texts::kAccessible;
  return discovery_texts::kNoAccess + JoinGroupCommand(device.group) + discovery_texts::kLogInAgain;
}

}  // namespace zrm
