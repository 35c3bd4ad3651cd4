#pragma once
// The group a device belongs to, and how a user joins it: what a technician
// needs when a serial device refuses to open.

#include <string>

namespace zrm {

// Name of the group that owns `path`; "dialout", the usual serial group,
// when the device cannot be examined.
std::string OwningGroup(const std::string& path);

// "sudo usermod -aG dialout $USER": the command that lets the user open a
// device owned by `group` (after logging in again).
std::string JoinGroupCommand(const std::string& group);

}  // namespace zrm
