// Telling a profile from some other file: a file that holds none of the keys
// a load reads would load as a profile of defaults only, and a command that
// writes it to an instrument must refuse it as it refuses a missing file.

#include "platform/private_profile.h"
#include "profiles/channel_keys.h"
#include "profiles/profile_file.h"

namespace zrm {

namespace {

// The keys outside the channel sections that every saved profile carries.
struct SectionKey {
  const char* section;
  const char* key;
};
constexpr SectionKey kRecordKeys[] = {
    {"RELE", "select"},  {"RELE", "rel0_msk0"}, {"GEN", "gen_select"},  {"GEN", "proc_ver"},
    {"GEN", "otk_type"}, {"ERR", "err_ver"},    {"Definition", "txt0"},
};

}  // namespace

bool HoldsProfileKeys(const std::string& path) {
  const PrivateProfile profile = PrivateProfile::Load(path);
  for (const SectionKey& k : kRecordKeys)
    if (profile.HasKey(k.section, k.key)) return true;
  for (int channel = 1; channel <= 2; ++channel)
    for (const ChannelKey& key : ChannelKeys())
      if (profile.HasKey(ChannelSection(channel), std::string(key.name))) return true;
  return false;
}

bool HoldsEveryProfileKey(const std::string& path) {
  const PrivateProfile profile = PrivateProfile::Load(path);
  for (const SectionKey& k : kRecordKeys)
    if (!profile.HasKey(k.section, k.key)) return false;
  for (int channel = 1; channel <= 2; ++channel)
    for (const ChannelKey& key : ChannelKeys())
      if (!profile.HasKey(ChannelSection(channel), std::string(key.name))) return false;
  return true;
}

}  // namespace zrm
