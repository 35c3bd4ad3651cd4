#include "app/own_settings_file.h"

#include "platform/number_text.h"
#include "platform/private_profile.h"

namespace zrm {

namespace {

constexpr const char* kSection = "BACKUP";
constexpr const char* kBeforeWriteKey = "BeforeWrite";

}  // namespace

std::string OwnSettingsPath(const std::string& dir) { return dir + "/zrm48setup.ini"; }

bool BackupBeforeWrite(const std::string& dir) {
  const PrivateProfile file = PrivateProfile::Load(OwnSettingsPath(dir));
  return TrimBlanks(file.GetString(kSection, kBeforeWriteKey, "0")) == "1";
}

bool SetBackupBeforeWrite(const std::string& dir, bool on, std::string& error) {
  PrivateProfile file = PrivateProfile::Load(OwnSettingsPath(dir));
  file.SetString(kSection, kBeforeWriteKey, on ? "1" : "0");
  if (!file.Modified()) return true;
  return file.Save(error);
}

}  // namespace zrm
