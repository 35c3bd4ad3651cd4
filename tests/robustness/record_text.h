#pragma once
// Records for the whole-image transfer tests. RecordText gives a record as
// comparable text: the profile a save writes for it,
// plus the fields a profile does not carry (serial number, firmware version,
// manufacturing date). Two records read from the same instrument give the
// same text.

#include <string>

#include "settings/device_settings.h"

namespace zrm::test {

std::string RecordText(const DeviceSettings& s);

// A record with every transfer group switched on (both channels, the relay
// logic, the general parameters), as the read and write commands set it.
DeviceSettings EveryGroupOn();

}  // namespace zrm::test
