#pragma once
// The program's own settings file, zrm48setup.ini in the working folder,
// beside dev.dat (which keeps only the keys the instrument's tools know).
// Section [BACKUP], key BeforeWrite: 1 makes every whole write save a
// backup of the instrument first; missing or anything else is off.
// Section [SEARCH]: the device of the last search that found instruments
// (Device) and their addresses (Addresses, "1,3,7"), the instruments a bus
// poll of that device starts from. Section [BUS_VIEW], key
// LogPerInstrument: 1 writes each answered poll of the window "Приборы на
// линии" to a measurement log of its own per instrument.
// Section [HISTORY], key Database: the plant's PostgreSQL database the
// history of changes is sent to (postgresql://…); missing or empty: the
// working folder's history.sqlite alone.

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

// The last search that found instruments: its device and their addresses
// as written ("1,3,7"); both empty when none was kept.
struct LastSearch {
  std::string device;
  std::string addresses;
};

// [SEARCH] of dir/zrm48setup.ini.
LastSearch LoadLastSearch(const std::string& dir);

// Keeps `device` and `addresses` (in the order given) as the last search,
// keeping whatever else the file holds. False with the system's reason in
// `error` when the file cannot be written.
bool SaveLastSearch(const std::string& dir, const std::string& device,
                    const std::vector<std::uint32_t>& addresses, std::string& error);

// True when [BUS_VIEW] LogPerInstrument is 1.
bool BusViewLogPerInstrument(const std::string& dir);

// Stores that switch as SetBackupBeforeWrite does.
bool SetBusViewLogPerInstrument(const std::string& dir, bool on, std::string& error);

// [HISTORY] Database as written, and the line of the file that holds it (0
// when there is none).
struct HistoryDatabaseSetting {
  std::string url;
  int line = 0;
};
HistoryDatabaseSetting LoadHistoryDatabase(const std::string& dir);

}  // namespace zrm
