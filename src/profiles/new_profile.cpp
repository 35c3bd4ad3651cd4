#include "profiles/new_profile.h"

#include "platform/number_text.h"
#include "profiles/channel_keys.h"
#include "profiles/profile_texts.h"
#include "settings/sensor_types.h"

namespace zrm {

namespace {

// A range end as the range table writes it: one decimal ("200.0", "-50.0").
std::string RangeText(float value) { return FormatFixed(value, 0, 1); }

void AddChannels(ProfileEntries& entries) {
  for (int channel = 1; channel <= 2; ++channel)
    for (const ChannelKey& key : ChannelKeys())
      entries.push_back({ChannelSection(channel), std::string(key.name),
                         ChannelKeyText(key.fresh, channel)});
}

void AddSensorRanges(ProfileEntries& entries) {
  const SensorRangeTable ranges = DefaultSensorRanges();
  for (int code = 0; code < kSensorTypeCount; ++code) {
    const std::string section = "Dat_bound" + std::to_string(code);
    entries.push_back({section, "max", RangeText(ranges[code].max)});
    entries.push_back({section, "min", RangeText(ranges[code].min)});
    entries.push_back({section, "pogr", FormatGeneral(ranges[code].pogr, 9)});
  }
}

}  // namespace

ProfileEntries NewProfileEntries() {
  ProfileEntries entries;
  AddChannels(entries);
  const std::initializer_list<ProfileEntry> general = {
      {"RELE", "select", "1"},
      {"RELE", "test", "0"},
      {"RELE", "use", "1"},
      {"RELE", "rel0_msk0", "0"},
      {"RELE", "rel0_msk1", "0"},
      {"RELE", "rel1_msk0", "0"},
      {"RELE", "rel1_msk1", "0"},
      {"Grad", "kalib_usr", "8"},
      {"Grad", "kalib_del", "180"},
      {"ERR", "err_ver", "1"},
      {"GEN", "gen_select", "1"},
      {"GEN", "proc_ver", "0"},
      {"GEN", "use_max", "1"},
      {"GEN", "dev_type", "47"},
      {"GEN", "otk_type", "47"},
      {"Definition", "txt0", std::string(profile_texts::kNewDescription)},
      {"Definition", "txt1", ""},
      {"Definition", "txt2", ""},
      {"Definition", "txt3", ""},
      {"Grad", "rref_min", "5000.0"},
      {"Grad", "rref_max", "9000.0"},
      {"Grad", "uref_min", "18.0"},
      {"Grad", "uref_max", "32.0"},
      {"Grad", "ku_min", "75.0"},
      {"Grad", "ku_max", "115.0"},
      {"Grad", "ku10_min", "7.5"},
      {"Grad", "ku10_max", "11.5"},
      {"Grad", "ki05_min", "14.0"},
      {"Grad", "ki05_max", "22.0"},
      {"Grad", "ki020_min", "14.0"},
      {"Grad", "ki020_max", "22.0"},
      {"Grad", "usr_ref", "8"},
      {"Grad", "usr_ku", "8"},
      {"Grad", "usr_ki", "8"},
      {"Grad", "del_ref", "90"},
      {"Grad", "del_ku", "40"},
      {"Grad", "del_ki", "40"},
      {"Grad", "wr_grad_immid", "1"},
  };
  entries.insert(entries.end(), general);
  AddSensorRanges(entries);
  return entries;
}

void WriteEntries(PrivateProfile& profile, const ProfileEntries& entries) {
  for (const ProfileEntry& entry : entries) profile.SetString(entry.section, entry.key, entry.value);
}

}  // namespace zrm
