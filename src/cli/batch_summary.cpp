#include "cli/batch_summary.h"

#include "cli/cli_texts.h"
#include "link/exchange_result.h"

namespace zrm {

namespace {

void TellUnrecorded(const UnrecordedRows& lost, CliOperator& op) {
  op.Tell(cli_texts::kResultsLost + lost.error);
  op.Tell(cli_texts::kResultsNotRecorded);
  for (const ResultRow& row : lost.rows) op.Tell(ResultLine(row));
}

}  // namespace

BatchTally TallyOf(std::size_t rows, const std::vector<std::unique_ptr<BusLine>>& lines,
                   std::size_t skipped) {
  BatchTally tally{rows, 0, 0, skipped};
  for (const auto& line : lines) {
    tally.done += line->done;
    tally.failed += line->failed;
  }
  return tally;
}

std::string SummaryLine(const BatchTally& tally) {
  return cli_texts::kBatchSummary + std::to_string(tally.rows) + cli_texts::kBatchSucceeded +
         std::to_string(tally.done - tally.failed + tally.skipped) + cli_texts::kBatchFailedRows +
         std::to_string(tally.failed) + cli_texts::kBatchNotRun +
         std::to_string(tally.rows - tally.done - tally.skipped);
}

int EndBatch(const BatchTally& tally, bool stopped, const UnrecordedRows& unrecorded,
             CliOperator& op) {
  if (unrecorded.any) TellUnrecorded(unrecorded, op);
  op.Tell(SummaryLine(tally));
  if (unrecorded.any) return static_cast<int>(result::kFile);
  if (stopped) return static_cast<int>(result::kUserAbort);
  return tally.failed > 0 ? kBatchRowsFailedExit : 0;
}

}  // namespace zrm
