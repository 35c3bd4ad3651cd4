#pragma once
// Writing a profile to disk and telling the user when that fails.

#include <string>

#include "platform/operator.h"
#include "platform/private_profile.h"

namespace zrm {

// "Unable to write to <path>".
std::string UnableToWriteText(const std::string& path);

// Saves the profile to its path; on failure shows "Unable to write to <path>"
// as an error and returns false.
bool SaveOrReport(PrivateProfile& profile, Operator& op);

}  // namespace zrm
