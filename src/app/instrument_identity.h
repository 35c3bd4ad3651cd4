#pragma once
// What names an instrument: its type, the prefix and the serial number, read
// with four single-byte reads. A write reads them before its first frame so
// that its journal entry names the instrument it goes into, and the window
// reads them once the current values answer, to look up that instrument's
// journal.

#include "link/parameter_access.h"
#include "settings/device_settings.h"

namespace zrm {

// Copies `s` into `instrument` with the type, the prefix and the serial
// number read from the instrument. Nothing is written to it. On failure
// returns the read's result and leaves `instrument` as it was.
ExchangeResult ReadInstrumentIdentity(ParameterAccess& link, const DeviceSettings& s,
                                      DeviceSettings& instrument);

}  // namespace zrm
