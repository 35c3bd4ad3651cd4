#pragma once
// How the configuration page writes values: F() for floats ("%8.4f"), N()
// for integers, the sensor and set point type names and the accuracy of a
// sensor type. A code without a name or table entry prints "код N" instead;
// no table is read outside its bounds.

#include <cstdint>
#include <string>

#include "settings/device_settings.h"

namespace zrm {

// "%8.4f": "  0.2500".
std::string F(float value);

// Decimal, no fill, a minus sign when negative.
std::string N(std::int64_t value);

// "код 31".
std::string CodeText(std::int64_t code);

// The sensor type name of `dat`, or "код N" outside 0..24.
std::string SensorName(std::int32_t dat);

// "Нет", "Понижение", "Повышение" indexed directly by the stored code, or
// "код N" outside 0..2.
std::string SetpointTypeName(std::int32_t code);

// F(pogr) + " %" of the range table entry of `dat`; "код N" outside 0..24
// (no percent sign, so the code cannot be read as an accuracy).
std::string AccuracyText(const SensorRangeTable& ranges, std::int32_t dat);

}  // namespace zrm
