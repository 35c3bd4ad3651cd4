#pragma once
// The checked write of one parameter of an instrument on the bus, done as
// the window's write of changes does it, and the repair of one that failed
// after it had changed something.

#include <optional>
#include <string>
#include <vector>

#include "bus/bus_events.h"
#include "link/parameter_access.h"
#include "settings/device_settings.h"
#include "settings/written_parameters.h"

namespace zrm {

// What a plant write that failed midway owes the instrument: the settings
// it held before, and the parameters the write touched (a set point type
// prepared to 0, a value written or not read back).
struct BusRepair {
  DeviceSettings before;
  std::vector<WrittenParameter> touched;
};

// Reads the instrument's settings; puts `value` into the parameter and runs
// the checks before writing of its channel, every question answered No (a
// value they refuse or question is refused with their text, and nothing is
// written); journals the write under `working_dir`; writes the changed
// parameter with the set point's preparation, read-back, 47 and restart;
// closes the journal entry on success. A value the instrument already holds
// is not written. A value that is not a finite number is refused at once.
// When the write fails after it changed something, `repair` says what to
// put back, and the outcome's message names what the instrument holds now
// (a set point switched off).
BusWriteOutcome WriteBusParameter(ParameterAccess& link, BusParameter parameter, float value,
                                  const std::string& working_dir,
                                  std::optional<BusRepair>& repair);

// Puts back what the instrument held before the failed write (the set point
// type last, as every write restores it), verified by read-back, then 47
// and the restart, holding the instrument's journal lock; removes the
// journal entry once done.
BusWriteOutcome RepairBusWrite(ParameterAccess& link, const BusRepair& repair,
                               const std::string& working_dir);

}  // namespace zrm
