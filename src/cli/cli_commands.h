#pragma once
// The commands of zrm48ctl. Each does what the window does for the same
// action, over the same core routines, and returns the exit status: 0, or
// the ExchangeResult that ended it, whose message is already on stderr.
// Results go to `out`; messages, questions and progress go through `op`.

#include <cstdio>

#include "cli/cli_operator.h"
#include "cli/cli_options.h"

namespace zrm {

// Exit status of a usage error.
inline constexpr int kUsageExit = 64;

// "Прочитать из прибора", then the settings saved to options.file; prints
// the device identity.
int RunRead(const CliOptions& options, CliOperator& op, std::FILE* out);

// The profile options.file opened, then "Записать в прибор".
int RunWrite(const CliOptions& options, CliOperator& op, std::FILE* out);

// "Сформировать страницу" on the page "Конфигурация"; prints the page.
int RunReport(const CliOptions& options, CliOperator& op, std::FILE* out);

// options.count polls of the current values; one measurement log line per
// good poll.
int RunStatus(const CliOptions& options, CliOperator& op, std::FILE* out);

// One raw read or write of a parameter.
int RunGet(const CliOptions& options, CliOperator& op, std::FILE* out);
int RunSet(const CliOptions& options, CliOperator& op, std::FILE* out);

// Exit status of a diff that found differences.
inline constexpr int kDiffersExit = 65;

// The instrument read and compared with the profile options.file; one line
// per difference.
int RunDiff(const CliOptions& options, CliOperator& op, std::FILE* out);

// The instrument read and saved as a backup; prints the backup's path.
int RunBackup(const CliOptions& options, CliOperator& op, std::FILE* out);

// Searches the port for instruments; one line per instrument found. 0 when
// any was found, 20 when stopped by Ctrl-C before any, else 2.
int RunScan(const CliOptions& options, CliOperator& op, std::FILE* out);

// Lists the machine's serial devices, one line each: path, by-id name,
// description, access.
int RunPorts(const CliOptions& options, CliOperator& op, std::FILE* out);

// The events of the history of changes that match the options, or with
// --verify the check of its chains (exit 65 naming the first event that
// does not match). 66 when no event matches.
int RunHistory(const CliOptions& options, CliOperator& op, std::FILE* out);

// Exit statuses of resume and rollback that found nothing to do.
inline constexpr int kNothingUnfinishedExit = 66;  // no unfinished write for this instrument
inline constexpr int kNoBackupExit = 67;           // a rollback without a backup

// The unfinished write of the connected instrument completed: the changes
// still needed towards the settings it was sending are written.
int RunResume(const CliOptions& options, CliOperator& op, std::FILE* out);

// The unfinished write of the connected instrument rolled back: the changes
// needed towards the backup taken before it are written.
int RunRollback(const CliOptions& options, CliOperator& op, std::FILE* out);

// Polls every instrument of the line in turn, sweep after sweep: on a
// terminal a table redrawn in place, else one CSV line per answered poll;
// 0 after options.sweeps sweeps (0: until Ctrl-C) or at Ctrl-C.
int RunWatch(const CliOptions& options, CliOperator& op, std::FILE* out);

}  // namespace zrm
