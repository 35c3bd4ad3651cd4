#pragma once
// The program's own settings file, zrm48setup.ini in the working folder,
// beside dev.dat (which keeps only the keys the instrument's tools know).
// Section [BACKUP], key BeforeWrite: 1 makes every whole write save a
// backup of the instrument first; missing or anything else is off.
// Section [SEARCH]: the device of the last search that found instruments
// (Device) and their addresses (Addresses, "1,3,7"), the instruments a bus
// poll of that device starts from.

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

}  // namespace zrm
