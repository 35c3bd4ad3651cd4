#pragma once
// Backups of an instrument's settings: before a write, the settings the
// instrument holds are read and saved as a profile under backup/ in the
// working folder, named for the instrument and the moment, so that a write
// can always be undone by writing the backup back.

#include <ctime>
#include <string>
#include <vector>

#include "link/parameter_access.h"
#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Where backups go and how the editor shows a record there.
struct BackupPlace {
  std::string working_dir;
  int port_number = 1;
};

// The folder of the backups: working_dir/backup.
std::string BackupFolder(const std::string& working_dir);

// "ZRM4813-047-12345-20261208-052900.prf": the model, the device number and
// the local time `at`.
std::string BackupFileName(const DeviceSettings& instrument, const std::tm& at);

// Saves `instrument` (as read) as a backup profile, exactly as a read saved
// to a file would be, with a description naming the instrument and the
// time; the file appears whole or not at all, and never replaces an earlier
// backup. On failure tells the user where and why and returns kFile.
ExchangeResult SaveBackup(const DeviceSettings& instrument, Operator& op, const BackupPlace& place,
                          std::string& path);

// Reads the instrument's settings into a copy of `s` (every group switched
// on) and saves them with SaveBackup. Returns the read's failure or kFile.
ExchangeResult ReadAndSaveBackup(ParameterAccess& link, const DeviceSettings& s, Operator& op,
                                 const BackupPlace& place, std::string& path);

// The backups of the instrument `s` names (model and device number) in
// the working folder, newest first.
std::vector<std::string> BackupsOf(const std::string& working_dir, const DeviceSettings& s);

}  // namespace zrm
