#pragma once
// zrm48ctl batch: the rows of a plan, one worker per line (rows of one device
// in turn, different devices in parallel, at most --jobs at once, 32 when it
// is not given), each row's result appended to the results file as it ends,
// a live display of the lines on a terminal and a line per row otherwise.

#include <cstddef>
#include <cstdio>

#include "cli/batch_summary.h"
#include "cli/cli_operator.h"
#include "cli/cli_options.h"

namespace zrm {

// Lines run at once without --jobs: enough for a production line, and few
// enough threads for any machine however many lines the plan names.
inline constexpr std::size_t kDefaultBatchJobs = 32;

// Runs the plan options.file; 0 when every row succeeded (or had succeeded
// before, with --resume), 14 when the plan or the results file cannot be
// used or a row's result could not be appended (the batch stops), 20 when
// Ctrl-C stopped it, kBatchRowsFailedExit when a row failed, 64 for a plan
// with an unsound row (nothing runs).
int RunBatch(const CliOptions& options, CliOperator& op, std::FILE* out);

}  // namespace zrm
