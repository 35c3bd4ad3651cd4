#pragma once
// The whole-image transfers between DeviceSettings and the instrument, and
// the group transfers they are made of. Every routine reports through the
// operator (progress lines, ESC) and returns the first failure unchanged.

#include "link/parameter_access.h"
#include "platform/operator.h"
#include "settings/device_settings.h"
#include "settings/written_bytes_check.h"

namespace zrm {

// Both channels, relay logic, regulator, then (when gen_select is not 0) the
// serial number, date, firmware version, device type and error display.
ExchangeResult ReadDeviceSettings(ParameterAccess& link, DeviceSettings& s, Operator& op);

// Both channels with read-back, relay logic, regulator, device type and error
// display (when gen_select is not 0); then every device byte written is read
// back once (CheckWrittenBytes); then the value 47 and the restart. When the
// check fails, `mismatch` names the parameter and nothing after it is sent.
ExchangeResult WriteDeviceSettings(ParameterAccess& link, DeviceSettings& s, Operator& op,
                                   ByteMismatch& mismatch);
ExchangeResult WriteDeviceSettings(ParameterAccess& link, DeviceSettings& s, Operator& op);

// One channel, k = 0 for channel 1; 4 for an index other than 0 or 1.
ExchangeResult ReadChannel(ParameterAccess& link, DeviceSettings& s, Operator& op, int k);
ExchangeResult WriteChannel(ParameterAccess& link, const DeviceSettings& s, Operator& op, int k);

ExchangeResult ReadRelayLogic(ParameterAccess& link, DeviceSettings& s, Operator& op);
ExchangeResult WriteRelayLogic(ParameterAccess& link, const DeviceSettings& s, Operator& op);
ExchangeResult ReadRegulator(ParameterAccess& link, DeviceSettings& s, Operator& op);
ExchangeResult WriteRegulator(ParameterAccess& link, const DeviceSettings& s, Operator& op);

// Serial number bytes, prefix and manufacturing date, with its own panel.
ExchangeResult ReadSerialAndDate(ParameterAccess& link, DeviceSettings& s, Operator& op);
// Day, month and year (byte + 2000) of manufacture.
ExchangeResult ReadManufacturingDate(ParameterAccess& link, DeviceSettings& s);

}  // namespace zrm
