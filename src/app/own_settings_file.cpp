#include "app/own_settings_file.h"

#include "platform/number_text.h"
#include "platform/private_profile.h"

namespace zrm {

namespace {

constexpr const char* kBackupSection = "BACKUP";
constexpr const char* kBeforeWriteKey = "BeforeWrite";
constexpr const char* kSearchSection = "SEARCH";
constexpr const char* kBusViewSection = "BUS_VIEW";
constexpr const char* kLogPerInstrumentKey = "LogPerInstrument";

std::string PortKey(std::int32_t port_number) { return "COM" + std::to_string(port_number); }

bool SwitchOn(const std::string& dir, const char* section, const char* key) {
  const PrivateProfile file = PrivateProfile::Load(OwnSettingsPath(dir));
  return TrimBlanks(file.GetString(section, key, "0")) == "1";
}

bool StoreString(const std::string& dir, const char* section, const std::string& key,
                 const std::string& value, std::string& error) {
  PrivateProfile file = PrivateProfile::Load(OwnSettingsPath(dir));
  file.SetString(section, key, value);
  if (!file.Modified()) return true;
  return file.Save(error);
}

}  // namespace

std::string OwnSettingsPath(const std::string& dir) { return dir + "/zrm48setup.ini"; }

bool BackupBeforeWrite(const std::string& dir) {
  return SwitchOn(dir, kBackupSection, kBeforeWriteKey);
}

bool SetBackupBeforeWrite(const std::string& dir, bool on, std::string& error) {
  return StoreString(dir, kBackupSection, kBeforeWriteKey, on ? "1" : "0", error);
}

std::string LastSearchAddresses(const std::string& dir, std::int32_t port_number) {
  const PrivateProfile file = PrivateProfile::Load(OwnSettingsPath(dir));
  return std::string(TrimBlanks(file.GetString(kSearchSection, PortKey(port_number), "")));
}

bool StoreLastSearchAddresses(const std::string& dir, std::int32_t port_number,
                              const std::vector<std::uint32_t>& addresses, std::string& error) {
  std::string list;
  for (const std::uint32_t address : addresses)
    list += (list.empty() ? "" : ",") + std::to_string(address);
  return StoreString(dir, kSearchSection, PortKey(port_number), list, error);
}

bool BusViewLogPerInstrument(const std::string& dir) {
  return SwitchOn(dir, kBusViewSection, kLogPerInstrumentKey);
}

bool SetBusViewLogPerInstrument(const std::string& dir, bool on, std::string& error) {
  return StoreString(dir, kBusViewSection, kLogPerInstrumentKey, on ? "1" : "0", error);
}

}  // namespace zrm
