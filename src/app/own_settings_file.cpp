#include "app/own_settings_file.h"

#include "platform/number_text.h"
#include "platform/private_profile.h"

namespace zrm {

namespace {

constexpr const char* kSection = "BACKUP";
constexpr const char* kBeforeWriteKey = "BeforeWrite";
constexpr const char* kSearchSection = "SEARCH";
constexpr const char* kDeviceKey = "Device";
constexpr const char* kAddressesKey = "Addresses";

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

LastSearch LoadLastSearch(const std::string& dir) {
  const PrivateProfile file = PrivateProfile::Load(OwnSettingsPath(dir));
  return {std::string(TrimBlanks(file.GetString(kSearchSection, kDeviceKey, ""))),
          std::string(TrimBlanks(file.GetString(kSearchSection, kAddressesKey, "")))};
}

bool SaveLastSearch(const std::string& dir, const std::string& device,
                    const std::vector<std::uint32_t>& addresses, std::string& error) {
  std::string list;
  for (const std::uint32_t address : addresses)
    list += (list.empty() ? "" : ",") + std::to_string(address);
  PrivateProfile file = PrivateProfile::Load(OwnSettingsPath(dir));
  file.SetString(kSearchSection, kDeviceKey, device);
  file.SetString(kSearchSection, kAddressesKey, list);
  if (!file.Modified()) return true;
  return file.Save(error);
}

}  // namespace zrm
