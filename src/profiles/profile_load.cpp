#include "profiles/profile_file.h"

#include <variant>

#include "platform/number_text.h"
#include "platform/private_profile.h"
#include "profiles/channel_keys.h"
#include "profiles/new_profile.h"
#include "profiles/profile_texts.h"
#include "profiles/profile_values.h"
#include "profiles/profile_write.h"
#include "settings/sensor_types.h"

namespace zrm {

namespace {

// Reads keys of one profile into record fields with the value rules of the
// profile format; a missing key reads as its absent text.
class KeyReader {
 public:
  explicit KeyReader(const PrivateProfile& profile) : profile_(profile) {}

  void Int(const std::string& section, const std::string& key, std::int32_t& field,
           std::int32_t absent) const {
    field = ParseProfileInt(profile_.GetString(section, key, std::to_string(absent))).value_or(absent);
  }

  void Float(const std::string& section, const std::string& key, float& field,
             std::string_view absent) const {
    ParseProfileFloat(profile_.GetString(section, key, std::string(absent)), field);
  }

  void Text(const std::string& section, const std::string& key, std::string& field,
            std::string_view absent) const {
    field = profile_.GetString(section, key, std::string(absent));
  }

  void Channel(int channel, ChannelSettings& settings) const {
    const std::string section = ChannelSection(channel);
    for (const ChannelKey& key : ChannelKeys()) {
      const std::string name(key.name);
      const std::string absent = ChannelKeyText(key.absent, channel);
      if (auto field = std::get_if<std::int32_t ChannelSettings::*>(&key.field))
        Int(section, name, settings.**field, *ParseProfileInt(absent));
      else if (auto field = std::get_if<float ChannelSettings::*>(&key.field))
        Float(section, name, settings.**field, absent);
      else
        Text(section, name, settings.*std::get<std::string ChannelSettings::*>(key.field), absent);
    }
  }

 private:
  const PrivateProfile& profile_;
};

void ReadRelay(const KeyReader& read, RelaySettings& relay) {
  read.Int("RELE", "select", relay.select, 1);
  read.Int("RELE", "use", relay.use, 1);
  read.Int("RELE", "test", relay.test, 0);
  read.Int("RELE", "rel0_msk0", relay.rel0_msk0, 0);
  read.Int("RELE", "rel0_msk1", relay.rel0_msk1, 0);
  read.Int("RELE", "rel1_msk0", relay.rel1_msk0, 0);
  read.Int("RELE", "rel1_msk1", relay.rel1_msk1, 0);
}

void ReadCalibrationProcedure(const KeyReader& read, CalibrationParameters& grad) {
  read.Int("Grad", "kalib_usr", grad.kalib_usr, 8);
  read.Int("Grad", "kalib_del", grad.kalib_del, 90);
  read.Int("Grad", "usr_ref", grad.usr_ref, 8);
  read.Int("Grad", "del_ref", grad.del_ref, 90);
  read.Int("Grad", "usr_ku", grad.usr_ku, 8);
  read.Int("Grad", "del_ku", grad.del_ku, 40);
  read.Int("Grad", "usr_ki", grad.usr_ki, 8);
  read.Int("Grad", "del_ki", grad.del_ki, 40);
}

void ReadDescription(const KeyReader& read, ProfileDescription& description) {
  read.Text("Definition", "txt0", description.txt[0], profile_texts::kAbsentDescription);
  for (int line = 1; line < 4; ++line)
    read.Text("Definition", "txt" + std::to_string(line), description.txt[line], "");
}

void ReadGeneral(const KeyReader& read, GeneralSettings& general) {
  read.Int("ERR", "err_ver", general.err_ver, 1);
  read.Int("GEN", "proc_ver", general.proc_ver, 0);
  read.Int("GEN", "gen_select", general.gen_select, 1);
  read.Int("GEN", "use_max", general.use_max, 0);
}

void ReadCalibrationLimits(const KeyReader& read, CalibrationParameters& grad) {
  read.Float("Grad", "rref_min", grad.rref_min, "5000.0");
  read.Float("Grad", "rref_max", grad.rref_max, "9000.0");
  read.Float("Grad", "uref_min", grad.uref_min, "18.0");
  read.Float("Grad", "uref_max", grad.uref_max, "32.0");
  read.Float("Grad", "ku_min", grad.ku_min, "75.0");
  read.Float("Grad", "ku_max", grad.ku_max, "115.0");
  read.Float("Grad", "ku10_min", grad.ku10_min, "7.5");
  read.Float("Grad", "ku10_max", grad.ku10_max, "11.5");
  read.Float("Grad", "ki05_min", grad.ki05_min, "14.0");
  read.Float("Grad", "ki05_max", grad.ki05_max, "22.0");
  read.Float("Grad", "ki020_min", grad.ki020_min, "14.0");
  read.Float("Grad", "ki020_max", grad.ki020_max, "22.0");
}

void ReadSensorRanges(const KeyReader& read, SensorRangeTable& ranges) {
  const SensorRangeTable absent = DefaultSensorRanges();
  for (int code = 0; code < kSensorTypeCount; ++code) {
    const std::string section = "Dat_bound" + std::to_string(code);
    read.Float(section, "max", ranges[code].max, FormatGeneral(absent[code].max, 9));
    read.Float(section, "min", ranges[code].min, FormatGeneral(absent[code].min, 9));
    read.Float(section, "pogr", ranges[code].pogr, FormatGeneral(absent[code].pogr, 9));
  }
}

// Every key of `profile` into the record.
void ReadRecord(const PrivateProfile& profile, DeviceSettings& settings) {
  const KeyReader read(profile);
  read.Channel(1, settings.channel[0]);
  read.Channel(2, settings.channel[1]);
  ReadRelay(read, settings.relay);
  ReadCalibrationProcedure(read, settings.calibration);
  ReadDescription(read, settings.description);
  ReadGeneral(read, settings.general);
  read.Int("Grad", "wr_grad_immid", settings.calibration.wr_grad_immid, 1);
  read.Int("GEN", "otk_type", settings.general.otk_type, 47);
  ReadCalibrationLimits(read, settings.calibration);
  ReadSensorRanges(read, settings.sensor_ranges);
}

// The profile at `path` in memory; a complete new profile when no file is
// there (written to disk only by a caller that saves it).
PrivateProfile ProfileOrNew(const std::string& path) {
  PrivateProfile profile = PrivateProfile::Load(path);
  if (!FileExists(path)) WriteEntries(profile, NewProfileEntries());
  return profile;
}

}  // namespace

DescriptionLines LoadProfile(const std::string& path, DeviceSettings& settings, Operator& op) {
  PrivateProfile profile = ProfileOrNew(path);
  ReadRecord(profile, settings);

  // Everything is read before the file is touched, so a profile that cannot
  // be written still loads completely.
  profile.SetString("Grad", "wr_grad_immid", "1");
  profile.SetString("GEN", "otk_type", std::to_string(settings.general.otk_type));
  SaveOrReport(profile, op);
  return settings.description.txt;
}

DescriptionLines ReadProfile(const std::string& path, DeviceSettings& settings) {
  ReadRecord(ProfileOrNew(path), settings);
  return settings.description.txt;
}

DescriptionLines LoadNewProfile(DeviceSettings& settings) {
  PrivateProfile profile{std::string()};
  WriteEntries(profile, NewProfileEntries());
  ReadRecord(profile, settings);
  return settings.description.txt;
}

}  // namespace zrm
