#pragma once
// The measurement log of each instrument polled by the window "Приборы на
// линии": one file per instrument, named for its number, with the lines of
// the measurement log (IZM.txt keeps its own rules and is not written here).

#include <string>

#include "bus/bus_snapshot.h"
#include "link/exchange_log.h"

namespace zrm::gui {

// "IZM-047-12345.txt": the prefix in three digits, the serial number in five.
std::string InstrumentLogName(const BusIdentity& identity);

// The line of an answered poll: the local time of the answer, the relay
// byte and each channel's value and status as the page "Текущие значения"
// would log them (a signalling not-a-number as -444.0 with status 4, the
// display clamping).
MeasurementRecord BusMeasurementOf(const BusSnapshot& snapshot);

// Appends the line of `snapshot` to dir/InstrumentLogName when the
// instrument's identity is known: 0, 14 when the file cannot be opened, or 0
// with nothing written while the instrument has no known number.
ExchangeResult LogInstrumentMeasurement(const std::string& dir, const BusSnapshot& snapshot);

}  // namespace zrm::gui
