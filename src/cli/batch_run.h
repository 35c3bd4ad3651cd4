#pragma once
// zrm48ctl batch: the rows of a plan, one worker per line (rows of one device
// in turn, different devices in parallel, at most --jobs at once), each row's
// result appended to the results file as it ends, a live display of the
// lines on a terminal and a line per row otherwise.

#include <cstdio>

#include "cli/cli_operator.h"
#include "cli/cli_options.h"

namespace zrm {

// Exit status when the batch ran but some rows failed; --resume runs them
// again.
inline constexpr int kBatchRowsFailedExit = 75;

// Runs the plan options.file; 0 when every row succeeded (or had succeeded
// before, with --resume), 20 when Ctrl-C stopped it, kBatchRowsFailedExit
// when a row failed, 14 when the plan or the results file cannot be used,
// 64 for a plan with a bad row.
int RunBatch(const CliOptions& options, CliOperator& op, std::FILE* out);

}  // namespace zrm
