#pragma once
// The checked write of one parameter of an instrument on the bus, done as
// the window's write of changes does it, and the repair of one that failed
// after it had changed something.

#include <optional>
#include <string>
#include <vector>

#include "app/write_journal.h"
#include "bus/bus_events.h"
#include "link/parameter_access.h"
#include "settings/device_settings.h"
#include "settings/written_parameters.h"

namespace zrm {

// The instrument a plant write goes to: who it is (its type, prefix and
// serial number as its identity read found them) and where its journal
// entry lives.
struct BusWriteTarget {
  GeneralSettings identity;
  JournalPlace journal;
};

// What a plant write that failed midway owes the instrument: the values it
// held before, those the write meant to put in, and the parameters the
// write touched (a set point type prepared to 0, a value written or not
// read back).
struct BusRepair {
  DeviceSettings before;
  DeviceSettings meant;
  std::vector<WrittenParameter> touched;
};

// Reads only what the write of the one parameter needs: its value, its set
// point type, and what the checks before writing read with it (the range
// for a hysteresis). Runs those checks, every question answered No (a value
// they refuse or question is refused with their text, and nothing is
// written); journals the write as one of that parameter; writes it with the
// set point's preparation, read-back, 47 and restart; closes the journal
// entry on success. A value the instrument already holds is not written. A
// value that is not a finite number is refused at once. When the write
// fails after it changed something, `repair` says what to put back, and the
// outcome's message names what the instrument holds now (a set point
// switched off).
BusWriteOutcome WriteBusParameter(ParameterAccess& link, const BusWriteTarget& target,
                                  BusParameter parameter, float value,
                                  std::optional<BusRepair>& repair);

// Puts back what the instrument held before the failed write (the set point
// type last, as every write restores it), verified by read-back, then 47
// and the restart, holding the instrument's journal lock; removes the
// journal entry once done.
BusWriteOutcome RepairBusWrite(ParameterAccess& link, const BusWriteTarget& target,
                               const BusRepair& repair);

}  // namespace zrm
