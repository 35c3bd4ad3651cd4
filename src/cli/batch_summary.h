#pragma once
// How a batch ended: the summary line on stderr, the rows the results file
// could not take, and the exit status.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "cli/batch_display.h"
#include "cli/batch_workers.h"
#include "cli/cli_operator.h"

namespace zrm {

// Exit status when the batch ran but some rows failed; --resume runs them
// again.
inline constexpr int kBatchRowsFailedExit = 75;

struct BatchTally {
  std::size_t rows = 0;     // in the plan
  std::size_t done = 0;     // ran in this batch, failed or not
  std::size_t failed = 0;   // ran and failed
  std::size_t skipped = 0;  // succeeded before (--resume)
};

// The tally of a plan of `rows` rows after its lines ran.
BatchTally TallyOf(std::size_t rows, const std::vector<std::unique_ptr<BusLine>>& lines,
                   std::size_t skipped);

// "Пакет: строк 11, выполнено 10, с ошибкой 1, не выполнено 0".
std::string SummaryLine(const BatchTally& tally);

// Tells the rows that could not be recorded (as results lines, so that none
// is lost) and the summary; returns the exit status: 14 when a row could
// not be recorded, else 20 after Ctrl-C, else kBatchRowsFailedExit when a
// row failed, else 0.
int EndBatch(const BatchTally& tally, bool stopped, const UnrecordedRows& unrecorded,
             CliOperator& op);

}  // namespace zrm
