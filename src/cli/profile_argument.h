#pragma once
// A profile named on the command line for a command that sends it to the
// instrument or compares it with it.

#include <string>

#include "app/session.h"
#include "platform/operator.h"

namespace zrm {

// True when `path` is a readable regular file that holds a profile's keys.
// A missing one would be created as a new profile, a file of other content
// would load as a profile of defaults and a pipe would be empty by the time
// it is loaded, and each would then be written to the instrument; all are
// refused with the reason on stderr, as are a folder and a device.
bool ProfileUsable(const std::string& path, Operator& op);

// Opens the profile `path` in the session as the window's "Открыть" does
// (the session, having no window, leaves the file unchanged), after
// ProfileUsable; false (the failure shown as 14) when it is not usable.
bool OpenNamedProfile(Session& session, const std::string& path, Operator& op);

}  // namespace zrm
