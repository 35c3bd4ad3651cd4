#include "cli/batch_workers.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "cli/batch_row.h"
#include "cli/interrupt_as_esc.h"
#include "report_render/report_pdf.h"

namespace zrm {

namespace {

constexpr auto kDisplayPeriod = std::chrono::milliseconds(100);

// Qt draws only on the thread that made its application: the page goes to
// the main thread, and the row waits for it.
PdfRenderer OnMainThread(MainThreadJobs& main_thread) {
  return
      [&main_thread](const ConfigurationPage& page, const std::string& path, std::string& error) {
        bool ok = false;
        main_thread.RunAndWait([&] { ok = RenderConfigurationPagePdf(page, path, error); });
        return ok;
      };
}

// The rows of one line in turn, until Ctrl-C or a row the results file
// could not take.
void RunLine(BusLine& line, BatchContext& context) {
  const PdfRenderer render_pdf = OnMainThread(context.main_thread);
  for (const PlanRow& row : line.rows) {
    if (InterruptPending() || context.unrecorded.any) return;
    BatchOperator op(context.answer_yes);
    line.Begin(&row, &op);
    ResultRow result =
        RunPlanRow(row, context.dir, context.history_url, op, render_pdf, context.files);
    line.End();
    RecordRow(result, context);
    if (result.result != 0) ++line.failed;
    ++line.done;
    for (const std::string& notice : op.Notices())
      context.display.RowNotice(stderr, result, notice);
    context.display.RowFinished(result);
  }
}

}  // namespace

void RecordRow(ResultRow& result, BatchContext& context) {
  result.time = ResultTimeNow();
  result.plan = context.plan.path;
  result.plan_hash = context.plan.hash;
  std::string error;
  if (context.results.Append(result, error)) return;
  UnrecordedRows& lost = context.unrecorded;
  std::lock_guard lock(lost.mutex);
  if (lost.error.empty()) lost.error = error;
  lost.rows.push_back(result);
  lost.any = true;
}

void RunLines(const std::vector<std::unique_ptr<BusLine>>& lines, std::size_t jobs,
              BatchContext& context) {
  std::atomic<std::size_t> next_line{0};
  const std::size_t worker_count = std::min(lines.size(), jobs);
  std::atomic<std::size_t> running{worker_count};
  std::vector<std::thread> workers;
  for (std::size_t w = 0; w < worker_count; ++w) {
    workers.emplace_back([&] {
      for (std::size_t i; (i = next_line++) < lines.size();) RunLine(*lines[i], context);
      --running;
    });
  }
  while (running > 0) {
    context.main_thread.RunPending();
    context.display.Draw();
    std::this_thread::sleep_for(kDisplayPeriod);
  }
  for (std::thread& worker : workers) worker.join();
  context.display.Draw();
}

}  // namespace zrm
