#pragma once
// What `zrm48ctl watch` prints for the instruments of a line: the rows of
// the table on a terminal and the CSV lines for scripts.

#include <chrono>
#include <string>

#include "bus/bus_snapshot.h"

namespace zrm {

// The table's head line.
std::string WatchTableHead();

// One row of the table, without its line end: "*" for a row whose last poll
// failed (its values are the last ones answered), address, type, serial,
// firmware, each channel's value and status text, the set point and break
// lamps of each channel, the relays, the time since the last answer at
// `now`, and the availability. Every column keeps its width in characters.
std::string WatchTableRow(const BusSnapshot& s, std::chrono::steady_clock::time_point now);

// `line` cut to at most `columns` characters (0: not cut), so that a
// terminal never wraps a row and the redraw stays in place.
std::string CutToColumns(const std::string& line, std::size_t columns);

// One CSV line of an answered poll, without its line end: the local time of
// the answer (2026-12-08T16:57:01.123), the address, the serial "PPP-SSSSS",
// each channel's value as sent (the shortest text that reads back the same
// float; "nan" for a not-a-number) and status code, and the relay byte (bit
// 0 relay 1, bit 1 relay 2).
std::string WatchCsvLine(const BusSnapshot& s);

}  // namespace zrm
