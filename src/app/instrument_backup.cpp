#include "app/instrument_backup.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/app_texts.h"
#include "editor/editor_binding.h"
#include "platform/system_reason.h"
#include "profiles/profile_file.h"
#include "settings/device_transfer.h"
#include "settings/instrument_identity_text.h"

namespace zrm {

namespace {

namespace fs = std::filesystem;

std::string TwoDigits(int v) { return (v < 10 ? "0" : "") + std::to_string(v); }

std::string Stamp(const std::tm& at) {
  return std::to_string(at.tm_year + 1900) + TwoDigits(at.tm_mon + 1) + TwoDigits(at.tm_mday) +
         "-" + TwoDigits(at.tm_hour) + TwoDigits(at.tm_min) + TwoDigits(at.tm_sec);
}

std::string DisplayTime(const std::tm& at) {
  return TwoDigits(at.tm_mday) + "." + TwoDigits(at.tm_mon + 1) + "." +
         std::to_string(at.tm_year + 1900) + " " + TwoDigits(at.tm_hour) + ":" +
         TwoDigits(at.tm_min) + ":" + TwoDigits(at.tm_sec);
}

// A name no earlier backup has: a second backup within the same second
// gets "-2", "-3", ... before the extension.
std::string FreshPath(const std::string& folder, const std::string& name) {
  const std::string stem = name.substr(0, name.size() - 4);
  std::string path = folder + "/" + name;
  for (int n = 2; fs::exists(path); ++n)
    path = folder + "/" + stem + "-" + std::to_string(n) + ".prf";
  return path;
}

ExchangeResult Refuse(Operator& op, const std::string& where, const std::string& why) {
  op.ShowMessage(std::string(app_texts::kBackupNotSaved) + where + ": " + why,
                 app_texts::kBackupCaption, MessageIcon::kError);
  return result::kFile;
}

}  // namespace

std::string BackupFolder(const std::string& working_dir) { return working_dir + "/backup"; }

std::string BackupFileName(const DeviceSettings& instrument, const std::tm& at) {
  return InstrumentFileStem(instrument.general) + "-" + Stamp(at) + ".prf";
}

ExchangeResult SaveBackup(const DeviceSettings& instrument, Operator& op, const BackupPlace& place,
                          std::string& path) {
  const std::time_t now = std::time(nullptr);
  std::tm at{};
  localtime_r(&now, &at);
  const std::string folder = BackupFolder(place.working_dir);
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) return Refuse(op, folder, SystemReason(error.value()));
  const std::string target = FreshPath(folder, BackupFileName(instrument, at));

  // Through the editor and back, as a read saved to a file goes.
  DeviceSettings record = instrument;
  EditorForm form;
  SettingsToEditor(record, form, place.port_number);
  EditorToSettings(form, record, op);
  const DescriptionLines description = {app_texts::kBackupDescription +
                                            ModelNumber(instrument.general.proc_ver) + " " +
                                            DeviceNumber(instrument.general),
                                        app_texts::kBackupReadAt + DisplayTime(at), "", ""};
  std::string reason;
  if (!SaveProfileGivingReason(target, record, description, reason))
    return Refuse(op, target, reason);
  path = target;
  return result::kOk;
}

ExchangeResult ReadAndSaveBackup(ParameterAccess& link, const DeviceSettings& s, Operator& op,
                                 const BackupPlace& place, std::string& path) {
  DeviceSettings instrument = s;
  if (ExchangeResult r = ReadDeviceSettings(link, instrument, op)) return r;
  return SaveBackup(instrument, op, place, path);
}

std::vector<std::string> BackupsOf(const std::string& working_dir, const DeviceSettings& s) {
  std::vector<std::string> found;
  std::error_code error;
  const std::string prefix = InstrumentFileStem(s.general) + "-";
  for (const auto& entry : fs::directory_iterator(BackupFolder(working_dir), error)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind(prefix, 0) == 0 && entry.path().extension() == ".prf")
      found.push_back(entry.path().string());
  }
  // The stamp after the prefix sorts by time; a second backup of the same
  // second ("-2") sorts after the first once the extension is set aside.
  const auto stem = [](const std::string& path) { return path.substr(0, path.size() - 4); };
  std::sort(found.begin(), found.end(),
            [&stem](const std::string& a, const std::string& b) { return stem(a) > stem(b); });
  return found;
}

}  // namespace zrm
