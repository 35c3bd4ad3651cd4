#pragma once
// The symbolic link zrm48sim keeps pointing at its slave device, so that a
// fixed path (dev.dat, --device) reaches a pseudo-terminal whose number
// changes from run to run.

#include <string>

namespace zrm::sim {

// Makes `link` a symbolic link to `target`, replacing an older symbolic
// link there; refuses to replace anything else. False with a message in `error`.
bool CreateDeviceSymlink(const std::string& link, const std::string& target, std::string& error);

// Removes `link` when it still is the symbolic link to `target`.
void RemoveDeviceSymlink(const std::string& link, const std::string& target);

}  // namespace zrm::sim
