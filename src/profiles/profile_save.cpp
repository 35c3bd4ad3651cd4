#include "profiles/profile_file.h"

#include <variant>

#include "platform/private_profile.h"
#include "profiles/channel_keys.h"
#include "profiles/profile_values.h"
#include "profiles/profile_write.h"

namespace zrm {

namespace {

std::string ChannelValueText(const ChannelSettings& settings, const ChannelField& field) {
  if (auto f = std::get_if<std::int32_t ChannelSettings::*>(&field)) return std::to_string(settings.**f);
  if (auto f = std::get_if<float ChannelSettings::*>(&field)) return FormatProfileFloat(settings.**f);
  return settings.*std::get<std::string ChannelSettings::*>(field);
}

void WriteChannel(PrivateProfile& profile, int channel, const ChannelSettings& settings) {
  const std::string section = ChannelSection(channel);
  for (std::string_view name : ChannelSaveOrder())
    profile.SetString(section, std::string(name),
                      ChannelValueText(settings, FindChannelKey(name).field));
}

void WriteInt(PrivateProfile& profile, const std::string& section, const std::string& key,
              std::int32_t value) {
  profile.SetString(section, key, std::to_string(value));
}

// The profile at `path` with the 102 keys of a save set in memory.
PrivateProfile ProfileWithSettings(const std::string& path, DeviceSettings& settings,
                                   const DescriptionLines& description_lines) {
  ClearFileAttributes(path);
  PrivateProfile profile = PrivateProfile::Load(path);
  WriteChannel(profile, 1, settings.channel[0]);
  WriteChannel(profile, 2, settings.channel[1]);

  const RelaySettings& relay = settings.relay;
  WriteInt(profile, "RELE", "select", relay.select);
  WriteInt(profile, "RELE", "use", relay.use);
  WriteInt(profile, "RELE", "test", relay.test);
  WriteInt(profile, "RELE", "rel0_msk0", relay.rel0_msk0);
  WriteInt(profile, "RELE", "rel0_msk1", relay.rel0_msk1);
  WriteInt(profile, "RELE", "rel1_msk0", relay.rel1_msk0);
  WriteInt(profile, "RELE", "rel1_msk1", relay.rel1_msk1);

  WriteInt(profile, "Grad", "kalib_usr", settings.calibration.kalib_usr);
  WriteInt(profile, "Grad", "kalib_del", settings.calibration.kalib_del);

  settings.description.txt = description_lines;
  for (int line = 0; line < 4; ++line)
    profile.SetString("Definition", "txt" + std::to_string(line), description_lines[line]);

  const GeneralSettings& general = settings.general;
  WriteInt(profile, "GEN", "gen_select", general.gen_select);
  WriteInt(profile, "GEN", "proc_ver", general.proc_ver);
  WriteInt(profile, "ERR", "err_ver", general.err_ver);
  WriteInt(profile, "GEN", "use_max", general.use_max);
  WriteInt(profile, "GEN", "otk_type", general.otk_type);
  return profile;
}

}  // namespace

bool SaveProfile(const std::string& path, DeviceSettings& settings,
                 const DescriptionLines& description_lines, Operator& op) {
  PrivateProfile profile = ProfileWithSettings(path, settings, description_lines);
  return SaveOrReport(profile, op);
}

bool SaveProfileGivingReason(const std::string& path, DeviceSettings& settings,
                             const DescriptionLines& description_lines, std::string& reason) {
  PrivateProfile profile = ProfileWithSettings(path, settings, description_lines);
  return profile.Save(reason);
}

}  // namespace zrm
