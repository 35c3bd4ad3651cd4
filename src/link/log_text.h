#pragma once
// Pieces shared by the two text logs.

#include <string>

#include "link/exchange_log.h"

namespace zrm {

// "%02u:%02u:%02u" of the hour, minute and second.
std::string ClockText(const TimeOfDay& time);

// Opens `path` for appending, writes `text` unchanged and closes the file.
// False when the file cannot be opened or written.
bool AppendToFile(const std::string& path, const std::string& text);

}  // namespace zrm
