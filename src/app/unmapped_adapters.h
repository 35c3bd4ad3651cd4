#pragma once
// USB adapters that no port number stands for: the usual reason a new user's
// instrument does not answer (the list offers COM1..COM4, which mean ttyS0..3
// until [PORTS] says otherwise).

#include <string>
#include <vector>

#include "discovery/serial_device.h"
#include "link/link_config.h"

namespace zrm {

// The USB adapters among `devices` whose node is not the device of any of
// the configuration's port paths (a path may be a by-id or other symbolic
// link to it).
std::vector<SerialDevice> UnmappedAdapters(const std::vector<SerialDevice>& devices,
                                           const LinkConfig& config);

}  // namespace zrm
