#pragma once
// What a batch shows while it runs. On a terminal: one line per bus line,
// redrawn in place (rows done of the line's total, the row under way and its
// step). Otherwise: one plain line per finished row.

#include <atomic>
#include <cstdio>
#include <mutex>
#include <string>
#include <vector>

#include "cli/batch_operator.h"
#include "cli/batch_plan.h"
#include "cli/batch_results.h"

namespace zrm {

// One bus line of the batch and how far it is; shared by its worker and the
// display.
struct BusLine {
  std::string device;
  std::vector<PlanRow> rows;
  std::atomic<std::size_t> done{0};
  std::atomic<std::size_t> failed{0};

  // The row under way and its operator, for the display; set by the worker.
  void Begin(const PlanRow* row, const BatchOperator* op);
  void End();
  // "read, адрес 3: Идет чтение настроек канала 1 — …", or empty when idle.
  std::string Current() const;

 private:
  mutable std::mutex mutex_;
  const PlanRow* row_ = nullptr;
  const BatchOperator* op_ = nullptr;
};

class BatchDisplay {
 public:
  // `live`: redraw the lines in place (stdout is a terminal).
  BatchDisplay(std::FILE* out, bool live, const std::vector<BusLine*>& lines);

  // Redraws the lines (live only).
  void Draw();
  // Prints a finished row (plain only); safe from any thread.
  void RowFinished(const ResultRow& row);
  // Prints a notice of a row on `err` ("/dev/ttyUSB0 адрес 3: text"), above
  // the live lines, which are drawn again below it; safe from any thread.
  void RowNotice(std::FILE* err, const ResultRow& row, const std::string& text);

 private:
  std::FILE* out_;
  bool live_;
  std::vector<BusLine*> lines_;
  std::size_t drawn_ = 0;  // lines on the screen from the last Draw
  std::mutex print_mutex_;
};

}  // namespace zrm
