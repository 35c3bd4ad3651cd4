#pragma once
// Loading the settings record from a profile file (*.prf) and saving it to
// one. The caller collects the editor into the record before either call and
// shows the record again after a load.

#include <array>
#include <string>

#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// The four lines of the window's description box.
using DescriptionLines = std::array<std::string, 4>;

// Fills `settings` from the profile at `path`, creating a complete new
// profile there first when no file exists. Every key is read before the file
// is written; then "Grad" wr_grad_immid = 1 and "GEN" otk_type (the value
// just read) are written back. A write that fails is shown once as "Unable to
// write to <path>" and the load still completes. Returns the four
// description lines (also stored in settings.description).
DescriptionLines LoadProfile(const std::string& path, DeviceSettings& settings, Operator& op);

// Fills `settings` from the profile at `path` exactly as LoadProfile does,
// but never writes the file: nothing is written back and a missing file is
// read as a new profile without creating it. For the commands that compare a
// profile with the instrument or write it into one, which must leave the
// profile as they found it. Returns the four description lines.
DescriptionLines ReadProfile(const std::string& path, DeviceSettings& settings);

// Fills `settings` as LoadProfile does from a profile it has just created,
// built in memory without any file. Returns the four description lines.
DescriptionLines LoadNewProfile(DeviceSettings& settings);

// Stores `description_lines` in the record and writes the 102 keys of a save
// to the profile at `path`; its other keys stay as they are. The file is
// replaced as a whole, so a failure ("Unable to write to <path>" shown)
// leaves the previous content intact. Returns true when the file was written.
bool SaveProfile(const std::string& path, DeviceSettings& settings,
                 const DescriptionLines& description_lines, Operator& op);

// SaveProfile that tells nobody: on failure returns false with the system's
// reason in `reason`, for callers that report the failure in their own words.
bool SaveProfileGivingReason(const std::string& path, DeviceSettings& settings,
                             const DescriptionLines& description_lines, std::string& reason);

// True when the profile at `path` holds at least one key that a profile
// load reads; a file of other content is no profile.
bool HoldsProfileKeys(const std::string& path);

// True when the profile at `path` holds every key a saved profile carries:
// a file cut short would load its missing keys as defaults.
bool HoldsEveryProfileKey(const std::string& path);

}  // namespace zrm
