#pragma once
// The program's own settings file, zrm48setup.ini in the working folder,
// beside dev.dat (which keeps only the keys the instrument's tools know).
// Section [BACKUP], key BeforeWrite: 1 makes every whole write save a
// backup of the instrument first; missing or anything else is off.

#include <string>

namespace zrm {

// dir/zrm48setup.ini.
std::string OwnSettingsPath(const std::string& dir);

// True when [BACKUP] BeforeWrite is 1.
bool BackupBeforeWrite(const std::string& dir);

// Stores the switch, keeping whatever else the file holds. False with the
// system's reason in `error` when the file cannot be written.
bool SetBackupBeforeWrite(const std::string& dir, bool on, std::string& error);

}  // namespace zrm
