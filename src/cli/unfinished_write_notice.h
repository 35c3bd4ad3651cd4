#pragma once
// The line every command prints on stderr (a batch row: beside its row)
// once it has identified an instrument whose write was left unfinished.

#include <string>

#include "platform/operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Tells "Запись в прибор …, начатая …, не завершена." when the journal of
// `working_dir` holds an unfinished write for `instrument`, or names the
// entry that cannot be read, as a notice of `op`; says nothing otherwise.
// The command goes on.
void TellUnfinishedWrite(const std::string& working_dir, const DeviceSettings& instrument,
                         Operator& op);

}  // namespace zrm
