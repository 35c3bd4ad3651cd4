#include "cli/batch_run.h"

#include <unistd.h>

#include "app/link_config_file.h"
#include "cli/batch_plan_file.h"
#include "cli/batch_resume.h"
#include "cli/batch_workers.h"
#include "cli/cli_texts.h"
#include "cli/interrupt_as_esc.h"

namespace zrm {

namespace {

std::string ResultsPath(const CliOptions& options) {
  return options.results.empty() ? options.dir + "/results.csv" : options.results;
}

// Runs the lines with the display on `out` and returns how the batch ended.
int RunAndSum(const CliOptions& options, const LoadedPlan& plan, BatchLines& to_run,
              ResultsFile& results, CliOperator& op, std::FILE* out) {
  std::vector<BusLine*> shown;
  for (const auto& line : to_run.lines) shown.push_back(line.get());
  BatchDisplay display(out, isatty(fileno(out)) == 1, shown);
  MainThreadJobs main_thread;
  BatchFiles files;
  UnrecordedRows unrecorded;
  BatchContext context{options.dir, options.history_url, options.yes, plan, results, files,
                       display,     main_thread,         unrecorded};
  RunLines(to_run.lines, options.jobs > 0 ? options.jobs : kDefaultBatchJobs, context);
  const BatchTally tally = TallyOf(plan.rows.size(), to_run.lines, to_run.skipped);
  return EndBatch(tally, TakeInterrupt(), unrecorded, op);
}

}  // namespace

int RunBatch(const CliOptions& options, CliOperator& op, std::FILE* out) {
  LoadedPlan plan;
  if (const int refused = LoadPlan(options.file, op, plan); refused != 0) return refused;
  const std::string results_path = ResultsPath(options);
  ResultsFile results;
  std::string error;
  if (!results.Open(results_path, error)) {
    op.Tell(cli_texts::kCannotWriteResults + error);
    return static_cast<int>(result::kFile);
  }
  BatchLines to_run = LinesToRun(
      plan.rows, options.resume ? EarlierSuccesses(results_path, plan, op) : SucceededRows{});
  // dev.dat made once, before the rows read it at the same time.
  LoadLinkConfig(options.dir, op);
  // Ctrl-C is kept pending for every worker to see; blocked before they start.
  TreatInterruptAsEsc();
  return RunAndSum(options, plan, to_run, results, op, out);
}

}  // namespace zrm
