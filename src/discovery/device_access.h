#pragma once
// Whether this user may open a serial device, and what to do when not.

#include <string>

#include "discovery/serial_device.h"

namespace zrm {

// Fills `accessible` and `group` of `device` from its node: readable and
// writable by this user, and the name of the group that owns it.
void CheckAccess(SerialDevice& device);

// "доступ есть", or "нет доступа, выполните: sudo usermod -aG dialout $USER и
// войдите в систему заново" with the device's group.
std::string AccessText(const SerialDevice& device);

}  // namespace zrm
