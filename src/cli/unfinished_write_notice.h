#pragma once
// The line every command prints on stderr once it has identified an
// instrument whose write was left unfinished.

#include <string>

#include "cli/cli_operator.h"
#include "settings/device_settings.h"

namespace zrm {

// Tells "Запись в прибор …, начатая …, не завершена." when the journal of
// `working_dir` holds an unfinished write for `instrument`, or names the
// entry that cannot be read; says nothing otherwise. The command goes on.
void TellUnfinishedWrite(const std::string& working_dir, const DeviceSettings& instrument,
                         CliOperator& op);

}  // namespace zrm
