#pragma once
// Moving the one-byte device parameters (relay logic, regulator, general)
// between the record and the instrument, without read-back.

#include <span>

#include "link/parameter_access.h"
#include "settings/device_settings.h"
#include "settings/parameter_map.h"
#include "settings/transfer_progress.h"

namespace zrm {

// Reads one byte into its field (as 0..255 plus the parameter's offset); on
// failure the field keeps its value.
ExchangeResult ReadDeviceByte(ParameterAccess& link, DeviceSettings& s,
                              const DeviceByteParameter& p);

// Writes a field to its byte; the link sends values above 255 as 255.
ExchangeResult WriteDeviceByte(ParameterAccess& link, const DeviceSettings& s,
                               const DeviceByteParameter& p);

// Reads the parameters in order, letting the window breathe before each
// exchange; stops at the first failure.
ExchangeResult ReadDeviceBytes(ParameterAccess& link, DeviceSettings& s,
                               std::span<const DeviceByteParameter> params, TransferProgress& panel);

// Writes the parameters in order, letting the window breathe before each
// exchange; stops at the first failure.
ExchangeResult WriteDeviceBytes(ParameterAccess& link, const DeviceSettings& s,
                                std::span<const DeviceByteParameter> params,
                                TransferProgress& panel);

}  // namespace zrm
