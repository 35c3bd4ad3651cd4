#pragma once
// The trend history as spreadsheet text: semicolon-separated fields, "." as
// the decimal point whatever the locale, CR LF line ends, UTF-8, one header
// line naming the columns, with each channel's unit where its sensor type
// gives one.

#include <array>
#include <string>
#include <vector>

#include "monitor/trend_history.h"

namespace zrm {

// Columns: time of day (hh:mm:ss.mmm); channel 1 value and status code;
// channel 2 value and status code; relay 1 and relay 2 (0 or 1); set points 1
// and 2 of channel 1, then of channel 2. Values carry four decimals.
// `units` are the channels' units ("°C"; empty for none), channel 1 first.
std::string TrendCsv(const std::vector<TrendSample>& samples,
                     const std::array<std::string, 2>& units);

}  // namespace zrm
