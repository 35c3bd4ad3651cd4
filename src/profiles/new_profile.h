#pragma once
// The complete content of a newly created profile, key by key in the order
// it is written. Default model profiles start from it.

#include <string>
#include <vector>

#include "platform/private_profile.h"

namespace zrm {

struct ProfileEntry {
  std::string section;
  std::string key;
  std::string value;
};

using ProfileEntries = std::vector<ProfileEntry>;

// The 197 keys of a new profile with their New values in their short forms
// ("100", "0.2", "7491.0"), in the order they are written.
ProfileEntries NewProfileEntries();

// Writes the entries into the profile one after the other.
void WriteEntries(PrivateProfile& profile, const ProfileEntries& entries);

}  // namespace zrm
