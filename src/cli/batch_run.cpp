#include "cli/batch_run.h"

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <thread>

#include "app/link_config_file.h"
#include "cli/batch_display.h"
#include "cli/batch_hash.h"
#include "cli/batch_row.h"
#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "cli/interrupt_as_esc.h"
#include "cli/main_thread_jobs.h"
#include "report_render/report_pdf.h"

namespace zrm {

namespace {

constexpr auto kDisplayPeriod = std::chrono::milliseconds(100);

// True when `row` is one of the rows that succeeded before with the profile
// as it is now; that success is then used up.
bool SucceededBefore(const PlanRow& row, SucceededRows& succeeded,
                     std::map<std::string, std::string>& profile_hashes) {
  if (succeeded.empty()) return false;
  std::string profile_hash;
  if (NeedsProfile(row.action)) {
    const auto known = profile_hashes.find(row.profile);
    profile_hash = known != profile_hashes.end()
                       ? known->second
                       : profile_hashes[row.profile] = FileContentHash(row.profile);
  }
  const auto done = succeeded.find({row.device, row.address, row.action_text, profile_hash});
  if (done == succeeded.end() || done->second == 0) return false;
  --done->second;
  return true;
}

// The rows grouped by device in the order the plan first names each; rows
// that already succeeded with the same profile (with --resume) are left out
// and counted.
std::vector<std::unique_ptr<BusLine>> LinesOf(const std::vector<PlanRow>& rows,
                                              SucceededRows succeeded, std::size_t& skipped) {
  std::vector<std::unique_ptr<BusLine>> lines;
  std::map<std::string, std::string> profile_hashes;  // each profile read once
  for (const PlanRow& row : rows) {
    if (SucceededBefore(row, succeeded, profile_hashes)) {
      ++skipped;
      continue;
    }
    auto line = std::find_if(lines.begin(), lines.end(),
                             [&](const auto& l) { return l->device == row.device; });
    if (line == lines.end()) {
      lines.push_back(std::make_unique<BusLine>());
      lines.back()->device = row.device;
      line = lines.end() - 1;
    }
    (*line)->rows.push_back(row);
  }
  return lines;
}

// The rows that ran but could not be appended to the results file.
struct UnrecordedRows {
  std::atomic<bool> any{false};  // no new row starts once set
  std::mutex mutex;
  std::string error;  // "path: why" of the first failed append
  std::vector<ResultRow> rows;
};

struct BatchContext {
  std::string dir;
  bool answer_yes;
  ResultRow plan;  // the plan's path and hash for every row
  ResultsFile& results;
  BatchFiles& files;
  BatchDisplay& display;
  MainThreadJobs& main_thread;
  UnrecordedRows& unrecorded;
};

// Appends a finished row with its time and plan; a row the file cannot take
// is kept for stderr and stops the batch.
void Record(ResultRow& result, BatchContext& context) {
  result.time = ResultTimeNow();
  result.plan = context.plan.plan;
  result.plan_hash = context.plan.plan_hash;
  std::string error;
  if (context.results.Append(result, error)) return;
  UnrecordedRows& lost = context.unrecorded;
  std::lock_guard lock(lost.mutex);
  if (lost.error.empty()) lost.error = error;
  lost.rows.push_back(result);
  lost.any = true;
}

// The rows of one line in turn, until Ctrl-C or a row the results file
// could not take.
void RunLine(BusLine& line, BatchContext& context) {
  const PdfRenderer render_pdf = [&context](const ConfigurationPage& page, const std::string& path,
                                            std::string& error) {
    bool ok = false;
    context.main_thread.RunAndWait([&] { ok = RenderConfigurationPagePdf(page, path, error); });
    return ok;
  };
  for (const PlanRow& row : line.rows) {
    if (InterruptPending() || context.unrecorded.any) return;
    BatchOperator op(context.answer_yes);
    line.Begin(&row, &op);
    ResultRow result = RunPlanRow(row, context.dir, op, render_pdf, context.files);
    line.End();
    Record(result, context);
    if (result.result != 0) ++line.failed;
    ++line.done;
    context.display.RowFinished(result);
  }
}

bool ReadPlan(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  text = content.str();
  return true;
}

// Every unsound row on stderr, and true when there was one: a plan runs
// whole or not at all.
bool RefuseUnsoundRows(const std::vector<PlanRow>& rows, const std::string& plan, CliOperator& op) {
  const std::vector<std::string> faults = PlanFaults(rows);
  for (const std::string& fault : faults) op.Tell(plan + ": " + fault);
  if (!faults.empty()) op.Tell(plan + ": " + cli_texts::kPlanNotRun);
  return !faults.empty();
}

// The rows that ran but are not in the results file, as its lines, so that
// none is lost.
void TellUnrecorded(const UnrecordedRows& lost, CliOperator& op) {
  op.Tell(cli_texts::kResultsLost + lost.error);
  op.Tell(cli_texts::kResultsNotRecorded);
  for (const ResultRow& row : lost.rows) op.Tell(ResultLine(row));
}

}  // namespace

int RunBatch(const CliOptions& options, CliOperator& op, std::FILE* out) {
  std::string text;
  if (!ReadPlan(options.file, text)) {
    op.Tell(cli_texts::kNoPlan + options.file);
    return static_cast<int>(result::kFile);
  }
  std::vector<PlanRow> rows;
  std::string error;
  if (!ParsePlan(text, rows, error)) {
    op.Tell(options.file + ": " + error);
    return kUsageExit;
  }
  if (RefuseUnsoundRows(rows, options.file, op)) return kUsageExit;
  const std::string results_path =
      options.results.empty() ? options.dir + "/results.csv" : options.results;
  ResultsFile results;
  if (!results.Open(results_path, error)) {
    op.Tell(cli_texts::kCannotWriteResults + error);
    return static_cast<int>(result::kFile);
  }
  ResultRow plan;
  plan.plan = std::filesystem::absolute(options.file).lexically_normal().string();
  plan.plan_hash = ContentHash(text);
  SucceededRows succeeded;
  std::string warning;
  if (options.resume)
    succeeded = ReadSucceededRows(results_path, plan.plan, plan.plan_hash, warning);
  if (!warning.empty()) op.Tell(warning);
  std::size_t skipped = 0;
  const auto lines = LinesOf(rows, succeeded, skipped);
  // dev.dat made once, before the rows read it at the same time.
  LoadLinkConfig(options.dir, op);

  // Ctrl-C is kept pending for every worker to see; blocked before they start.
  TreatInterruptAsEsc();
  std::vector<BusLine*> shown;
  for (const auto& line : lines) shown.push_back(line.get());
  BatchDisplay display(out, isatty(fileno(out)) == 1, shown);
  MainThreadJobs main_thread;
  BatchFiles files;
  UnrecordedRows unrecorded;
  BatchContext context{options.dir, options.yes, plan,        results,
                       files,       display,     main_thread, unrecorded};

  std::atomic<std::size_t> next_line{0};
  std::atomic<std::size_t> running{0};
  const std::size_t worker_count =
      std::min<std::size_t>(lines.size(), options.jobs > 0 ? options.jobs : kDefaultBatchJobs);
  std::vector<std::thread> workers;
  running = worker_count;
  for (std::size_t w = 0; w < worker_count; ++w) {
    workers.emplace_back([&] {
      for (std::size_t i; (i = next_line++) < lines.size();) RunLine(*lines[i], context);
      --running;
    });
  }
  while (running > 0) {
    main_thread.RunPending();
    display.Draw();
    std::this_thread::sleep_for(kDisplayPeriod);
  }
  for (std::thread& worker : workers) worker.join();
  display.Draw();

  std::size_t done = 0;
  std::size_t failed = 0;
  for (const auto& line : lines) {
    done += line->done;
    failed += line->failed;
  }
  const bool stopped = TakeInterrupt();
  if (unrecorded.any) TellUnrecorded(unrecorded, op);
  op.Tell(cli_texts::kBatchSummary + std::to_string(rows.size()) + cli_texts::kBatchSucceeded +
          std::to_string(done - failed + skipped) + cli_texts::kBatchFailedRows +
          std::to_string(failed) + cli_texts::kBatchNotRun +
          std::to_string(rows.size() - done - skipped));
  if (unrecorded.any) return static_cast<int>(result::kFile);
  if (stopped) return static_cast<int>(result::kUserAbort);
  return failed > 0 ? kBatchRowsFailedExit : 0;
}

}  // namespace zrm
