#pragma once
// The 25 sensor (input) types of a channel: their names as the window lists
// them, their default measuring ranges, and the nominal ranges of the unified
// current and voltage signals.

#include <array>
#include <cstdint>
#include <string_view>

#include "settings/device_settings.h"

namespace zrm {

// Names of the sensor type codes 0..24, exactly as the lists show them.
extern const std::array<std::string_view, kSensorTypeCount> kSensorTypeNames;

// The range table a profile without "Dat_bound" sections gives.
SensorRangeTable DefaultSensorRanges();

// True for a code that indexes the sensor range table in the editor's range
// rule: 0..16, 22 and 24.
bool UsesSensorRange(std::int32_t dat);

// The unit a sensor type's values come in: "°C" for the thermocouples and
// resistance thermometers, "Ом" for resistance measurement; empty for the
// unified signals, which the instrument scales to the user's range.
std::string_view SensorUnit(std::int32_t dat);

// Nominal range of a unified signal (17..21, 23); false for other codes.
bool UnifiedSignalRange(std::int32_t dat, float& max, float& min);

}  // namespace zrm
