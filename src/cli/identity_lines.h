#pragma once
// The device identity that `zrm48ctl read` prints, one key=value line each.

#include <string>

#include "settings/device_settings.h"

namespace zrm {

// "serial_number=12345\notk_type=047\nfirmware_version=1.1.10\ndate=17.3.2021\n":
// the serial number in decimal, the prefix in three digits, the firmware
// version as C.B.A and the manufacturing date as d.m.yyyy without leading
// zeros.
std::string IdentityLines(const DeviceSettings& s);

}  // namespace zrm
