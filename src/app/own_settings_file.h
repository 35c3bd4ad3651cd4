#pragma once
// The program's own settings file, zrm48setup.ini in the working folder,
// beside dev.dat (which keeps only the keys the instrument's tools know).
// Section [BACKUP], key BeforeWrite: 1 makes every whole write save a
// backup of the instrument first; missing or anything else is off.
// Section [SEARCH], keys COM1..COM4 (any port number): the addresses the
// last search found on that port, "3,7,12". Section [BUS_VIEW], key
// LogPerInstrument: 1 writes each answered poll of the window "Приборы на
// линии" to a measurement log of its own per instrument.

#include <cstdint>
#include <string>
#include <vector>

namespace zrm {

// dir/zrm48setup.ini.
std::string OwnSettingsPath(const std::string& dir);

// True when [BACKUP] BeforeWrite is 1.
bool BackupBeforeWrite(const std::string& dir);

// Stores the switch, keeping whatever else the file holds. False with the
// system's reason in `error` when the file cannot be written.
bool SetBackupBeforeWrite(const std::string& dir, bool on, std::string& error);

// The address list the last search found on port `port_number`, as stored
// ("3,7,12"); empty when that port was never searched or nothing was found.
std::string LastSearchAddresses(const std::string& dir, std::int32_t port_number);

// Stores the addresses a search found on port `port_number` in the order
// given, keeping whatever else the file holds; an empty list is stored empty.
// False with the system's reason in `error` when the file cannot be written.
bool StoreLastSearchAddresses(const std::string& dir, std::int32_t port_number,
                              const std::vector<std::uint32_t>& addresses, std::string& error);

// True when [BUS_VIEW] LogPerInstrument is 1.
bool BusViewLogPerInstrument(const std::string& dir);

// Stores that switch as SetBackupBeforeWrite does.
bool SetBusViewLogPerInstrument(const std::string& dir, bool on, std::string& error);

}  // namespace zrm
