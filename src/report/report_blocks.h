#pragma once
// The blocks the configuration page is made of: a channel's sensor and
// display settings, a relay's logic and a channel's correction data. Each
// appends its lines to the body.

#include <string>
#include <vector>

#include "settings/device_settings.h"

namespace zrm {

using PageLines = std::vector<std::string>;

// Sensor type, range, accuracy, the square-root line (only for the unified
// signals 17..21 with the root switched on), averaging, decimals.
void AppendChannelBlock(PageLines& body, const ChannelSettings& ch, const SensorRangeTable& ranges);

// "Логика работы реле r:" and one line per event bit of its masks: set
// points and breaks of both channels, then the valve outputs (bit 0x40 before
// 0x20, which takes two lines). `relay` is 1 or 2.
void AppendRelayBlock(PageLines& body, const RelaySettings& relays, int relay);

// Relay 1, an empty line, relay 2, an empty line.
void AppendBothRelayBlocks(PageLines& body, const RelaySettings& relays);

// Zero shift, span adjustment and the correction polynomial.
void AppendCorrectionBlock(PageLines& body, const ChannelSettings& ch);

}  // namespace zrm
