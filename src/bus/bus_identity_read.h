#pragma once
// The identity of an instrument on the bus and the values of its writable
// parameters, read with ordinary single reads over the line's link.

#include <array>
#include <optional>

#include "bus/bus_snapshot.h"
#include "link/parameter_access.h"
#include "settings/device_settings.h"

namespace zrm {

// The identity as the record's general settings hold it.
GeneralSettings GeneralOf(const BusIdentity& identity);

using BusParameterValues = std::array<std::optional<float>, 8>;  // indexed like kBusParameters

// Reads the device type, the serial number with its prefix, the firmware
// version, each channel's setup, then the eight writable parameters. Stops at the first failure
// and returns it; `identity` and `values` change only on success.
ExchangeResult ReadBusIdentity(ParameterAccess& link, BusIdentity& identity,
                               BusParameterValues& values);

}  // namespace zrm
