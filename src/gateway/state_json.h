#pragma once
// The gateway's MQTT messages about one instrument: its id, the state JSON
// of an answered poll, the info JSON of its identity and a write's result.

#include <array>
#include <optional>
#include <string>

#include "bus/bus_events.h"
#include "bus/bus_snapshot.h"

namespace zrm {

// "047-12345": the instrument's id in its topics.
std::string InstrumentId(const BusIdentity& identity);

// The model number as a number: 4810, 4813 or 4816 (the code itself for a
// code without a model).
int DeviceTypeNumber(std::int32_t device_type);

// The state message: time of the answer, both channels as sent (value,
// status, its text, the lamps), relays, keys and encoder.
std::string StateJson(const BusSnapshot& snapshot);

// The info message: type, type_name, serial, firmware, address, line.
std::string InfoJson(const BusSnapshot& snapshot, const std::string& line_device);

// How the info message ends: the address and the line it was found at.
std::string InfoPlaceJson(std::uint32_t address, const std::string& line_device);

// The parameters message: the eight writable parameters as last read from
// the instrument, {"ch1_th1": 250, …}, null for one not read yet.
std::string ParametersJson(const std::array<std::optional<float>, 8>& values);

// {"ok": true} for a write that succeeded, else the error number and message.
std::string WriteResultJson(const BusWriteOutcome& outcome);

}  // namespace zrm
