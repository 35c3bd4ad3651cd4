#pragma once
// The configuration page's line about the last write into the instrument,
// taken from the history of changes of the working folder.

#include <string>

#include "settings/device_settings.h"

namespace zrm {

// "Последняя запись в прибор: 08.12.2026 12:01:05, ivanov (stand-3)" for the
// last write into `instrument` (its type and number as read) that the
// history of `working_dir` records, with its message when it did not end
// well; a write of changes that found nothing to write does not count.
// Empty when the history holds no such write or the instrument is not
// identified; empty with `error` naming the file and why when the history
// cannot be read.
std::string LastWriteLine(const std::string& working_dir, const DeviceSettings& instrument,
                          std::string& error);

}  // namespace zrm
