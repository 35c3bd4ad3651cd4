#include "profiles/default_profiles.h"

#include <algorithm>
#include <array>

#include "platform/private_profile.h"
#include "profiles/profile_texts.h"
#include "profiles/profile_write.h"

namespace zrm {

namespace {

// The values in which the default profiles differ from each other; both
// channels get the same channel values.
struct ModelValues {
  int dat;
  int th_type1;
  int th_type2;
  const char* his1;
  int rel0_msk0;
  int rel1_msk0;
  int rel1_msk1;
  int proc_ver;
};

constexpr std::array<ModelValues, kDefaultProfileCount> kModelValues = {{
    {17, 2, 2, "0.02", 1, 6, 0, 0},   // ZRM4810
    {17, 0, 0, "0.02", 1, 2, 0, 0},   // ZRM4811
    {17, 0, 0, "0.02", 1, 0, 1, 1},   // ZRM4813
    {17, 0, 0, "10.0", 16, 8, 0, 2},  // ZRM4816
    {19, 2, 0, "0.02", 1, 0, 1, 1},   // burn-in run
    {22, 0, 0, "0.02", 0, 0, 0, 1},   // resistance accuracy
    {20, 0, 0, "0.02", 0, 0, 0, 1},   // 100 mV accuracy
    {23, 0, 0, "0.02", 0, 0, 0, 1},   // 10 V accuracy
    {19, 0, 0, "0.02", 0, 0, 0, 1},   // current accuracy
}};

constexpr int kPogrU100 = 6;
constexpr int kPogrU10 = 7;

ProfileEntries::iterator Find(ProfileEntries& entries, std::string_view section,
                              std::string_view key) {
  return std::find_if(entries.begin(), entries.end(), [&](const ProfileEntry& e) {
    return e.section == section && e.key == key;
  });
}

void Set(ProfileEntries& entries, std::string_view section, std::string_view key,
         const std::string& value) {
  Find(entries, section, key)->value = value;
}

// The 100 mV profile has always listed the step keys before the hystereses.
void MoveStepsBeforeHystereses(ProfileEntries& entries, std::string_view section) {
  const auto his1 = Find(entries, section, "his1");
  const auto spd_th = Find(entries, section, "spd_th");
  const auto spd_his = Find(entries, section, "spd_his");
  std::rotate(his1, spd_th, spd_his + 1);
}

}  // namespace

ProfileEntries DefaultProfileEntries(int index) {
  const ModelValues& model = kModelValues.at(index);
  const auto& texts = profile_texts::kDefaultProfiles.at(index);
  ProfileEntries entries = NewProfileEntries();
  entries.erase(Find(entries, "GEN", "otk_type"));
  for (const char* section : {"CH1", "CH2"}) {
    Set(entries, section, "dat", std::to_string(model.dat));
    Set(entries, section, "th_type1", std::to_string(model.th_type1));
    Set(entries, section, "th_type2", std::to_string(model.th_type2));
    Set(entries, section, "his1", model.his1);
    if (index == kPogrU100) MoveStepsBeforeHystereses(entries, section);
  }
  Set(entries, "RELE", "rel0_msk0", std::to_string(model.rel0_msk0));
  Set(entries, "RELE", "rel1_msk0", std::to_string(model.rel1_msk0));
  Set(entries, "RELE", "rel1_msk1", std::to_string(model.rel1_msk1));
  Set(entries, "Grad", "kalib_del", "90");
  Set(entries, "ERR", "err_ver", "0");
  Set(entries, "GEN", "proc_ver", std::to_string(model.proc_ver));
  Set(entries, "GEN", "use_max", "0");
  for (int line = 0; line < 3; ++line)
    Set(entries, "Definition", "txt" + std::to_string(line), std::string(texts.lines[line]));
  if (index == kPogrU10) Set(entries, "Dat_bound6", "min", "-100.0");
  return entries;
}

int CreateDefaultProfiles(const std::string& directory, Operator& op) {
  int created = 0;
  std::string failures;
  for (int index = 0; index < kDefaultProfileCount; ++index) {
    const std::string name(profile_texts::kDefaultProfiles[index].file);
    const std::string path = directory.empty() ? name : directory + "/" + name;
    if (FileExists(path)) continue;
    ClearFileAttributes(path);
    PrivateProfile profile(path);
    WriteEntries(profile, DefaultProfileEntries(index));
    std::string reason;
    if (profile.Save(reason)) {
      ++created;
    } else {
      if (!failures.empty()) failures += '\n';
      failures += UnableToWriteText(path);
    }
  }
  if (!failures.empty())
    op.ShowMessage(failures, std::string(profile_texts::kErrorCaption), MessageIcon::kError);
  return created;
}

}  // namespace zrm
