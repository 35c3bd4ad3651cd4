#pragma once
// The memory of a plausible configured instrument: a two-channel 4813 with a
// Pt100 sensor on channel 1 and a 4-20 mA signal on channel 2, set points and
// relay masks set up, serial number 047 12345, firmware 1.1.10, made 17.3.2021.

#include "lib/parameter_memory.h"

namespace zrm::sim {

ParameterMemory DefaultInstrumentMemory();

}  // namespace zrm::sim
