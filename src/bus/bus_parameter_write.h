#pragma once
// The checked write of one parameter of an instrument on the bus, done as
// the window's write of changes does it.

#include <string>

#include "bus/bus_events.h"
#include "link/parameter_access.h"

namespace zrm {

// Reads the instrument's settings; puts `value` into the parameter and runs
// the checks before writing of its channel, every question answered No (a
// value they refuse or question is refused with their text, and nothing is
// written); journals the write under `working_dir`; writes the changed
// parameter with the set point's preparation, read-back, 47 and restart;
// closes the journal entry on success. A value the instrument already holds
// is not written. A value that is not a finite number is refused at once.
BusWriteOutcome WriteBusParameter(ParameterAccess& link, BusParameter parameter, float value,
                                  const std::string& working_dir);

}  // namespace zrm
