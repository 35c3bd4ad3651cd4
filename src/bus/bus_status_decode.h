#pragma once
// A status block into an instrument's snapshot, the values as sent.

#include "bus/bus_snapshot.h"
#include "link/parameter_access.h"

namespace zrm {

// Stores relays, keys, status codes and flags as the page decodes them, but
// each channel's value as the float the instrument sent: a not-a-number
// stays one (with the page's status code for it) and no display clamping.
void DecodeBusStatus(const StatusBlock& block, BusSnapshot& snapshot);

}  // namespace zrm
