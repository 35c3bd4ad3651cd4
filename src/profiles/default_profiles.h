#pragma once
// The ready-made profiles of the instrument models and the service tasks
// (burn-in run, accuracy checks of the inputs), created at start-up where
// they are missing. A file that exists is never touched.

#include <string>

#include "platform/operator.h"
#include "profiles/new_profile.h"

namespace zrm {

inline constexpr int kDefaultProfileCount = 9;

// The 196 keys of default profile `index` (0..8) in the order they are
// written.
ProfileEntries DefaultProfileEntries(int index);

// Creates each missing default profile in `directory`. Files that cannot be
// written are reported together in one message ("Unable to write to <path>"
// for each) and the others are still created. Returns how many files were
// created.
int CreateDefaultProfiles(const std::string& directory, Operator& op);

}  // namespace zrm
