#include "app/own_settings_file.h"

#include "platform/number_text.h"
#include "platform/private_profile.h"

namespace zrm {

namespace {

constexpr const char* kBackupSection = "BACKUP";
constexpr const char* kBeforeWriteKey = "BeforeWrite";
constexpr const char* kSearchSection = "SEARCH";
constexpr const char* kDeviceKey = "Device";
constexpr const char* kAddressesKey = "Addresses";
constexpr const char* kBusViewSection = "BUS_VIEW";
constexpr const char* kLogPerInstrumentKey = "LogPerInstrument";
constexpr const char* kHistorySection = "HISTORY";
constexpr const char* kDatabaseKey = "Database";

bool SwitchOn(const std::string& dir, const char* section, const char* key) {
  const PrivateProfile file = PrivateProfile::Load(OwnSettingsPath(dir));
  return TrimBlanks(file.GetString(section, key, "0")) == "1";
}

bool StoreSwitch(const std::string& dir, const char* section, const char* key, bool on,
                 std::string& error) {
  PrivateProfile file = PrivateProfile::Load(OwnSettingsPath(dir));
  file.SetString(section, key, on ? "1" : "0");
  if (!file.Modified()) return true;
  return file.Save(error);
}

}  // namespace

std::string OwnSettingsPath(const std::string& dir) { return dir + "/zrm48setup.ini"; }

bool BackupBeforeWrite(const std::string& dir) {
  return SwitchOn(dir, kBackupSection, kBeforeWriteKey);
}

bool SetBackupBeforeWrite(const std::string& dir, bool on, std::string& error) {
  return StoreSwitch(dir, kBackupSection, kBeforeWriteKey, on, error);
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

bool BusViewLogPerInstrument(const std::string& dir) {
  return SwitchOn(dir, kBusViewSection, kLogPerInstrumentKey);
}

bool SetBusViewLogPerInstrument(const std::string& dir, bool on, std::string& error) {
  return StoreSwitch(dir, kBusViewSection, kLogPerInstrumentKey, on, error);
}

HistoryDatabaseSetting LoadHistoryDatabase(const std::string& dir) {
  const PrivateProfile file = PrivateProfile::Load(OwnSettingsPath(dir));
  return {std::string(TrimBlanks(file.GetString(kHistorySection, kDatabaseKey, ""))),
          file.LineOf(kHistorySection, kDatabaseKey)};
}

}  // namespace zrm
