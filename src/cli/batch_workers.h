#pragma once
// The workers of a batch: one bus line at a time each, its rows in turn,
// every finished row appended to the results file at once; the main thread
// meanwhile draws the display and renders the PDF pages the rows ask for.

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "cli/batch_display.h"
#include "cli/batch_files.h"
#include "cli/batch_plan_file.h"
#include "cli/batch_results.h"
#include "cli/main_thread_jobs.h"

namespace zrm {

// The rows that ran but could not be appended to the results file.
struct UnrecordedRows {
  std::atomic<bool> any{false};  // no new row starts once set
  std::mutex mutex;
  std::string error;  // "path: why" of the first failed append
  std::vector<ResultRow> rows;
};

// What the workers share.
struct BatchContext {
  std::string dir;  // the working folder
  std::string history_url;  // --history: the plant's database of the rows' history
  bool answer_yes;
  const LoadedPlan& plan;
  ResultsFile& results;
  BatchFiles& files;
  BatchDisplay& display;
  MainThreadJobs& main_thread;
  UnrecordedRows& unrecorded;
};

// Gives `result` its time and plan and appends it; a row the file cannot
// take is kept in context.unrecorded, which stops the batch.
void RecordRow(ResultRow& result, BatchContext& context);

// Runs every line on at most `jobs` workers (one each while there are
// fewer lines) and returns when all have ended; on the calling thread it
// meanwhile runs the PDF jobs and redraws the display. A line stops at
// Ctrl-C or once a row could not be recorded.
void RunLines(const std::vector<std::unique_ptr<BusLine>>& lines, std::size_t jobs,
              BatchContext& context);

}  // namespace zrm
