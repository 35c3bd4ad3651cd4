#pragma once
// The options of an RS-485 bus on one line: an instrument at each address,
// all working at one speed, the line timed and the client's speed checked
// (a client at another speed hears garbage), as a search meets it.

#include <vector>

#include "lib/simulator.h"

namespace zrm::sim {

// `addresses` must not be empty; the first is the instrument the memory
// accessors see.
SimulatorOptions BusOptions(const std::vector<unsigned>& addresses, unsigned baud);

}  // namespace zrm::sim
