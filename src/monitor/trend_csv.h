#pragma once
// The trend history as spreadsheet text: semicolon-separated fields, "." as
// the decimal point whatever the locale, CR LF line ends, UTF-8, one header
// line naming the columns with the channels' names and units.

#include <array>
#include <string>
#include <vector>

#include "monitor/trend_history.h"

namespace zrm {

// A channel's name and unit as the settings give them (either may be empty).
struct ChannelCaption {
  std::string name;
  std::string unit;
};

// Columns: time of day (hh:mm:ss.mmm); channel 1 value and status code;
// channel 2 value and status code; relay 1 and relay 2 (0 or 1); set points 1
// and 2 of channel 1, then of channel 2. Values carry four decimals.
std::string TrendCsv(const std::vector<TrendSample>& samples,
                     const std::array<ChannelCaption, 2>& channels);

}  // namespace zrm
