#pragma once
// One row of a batch: a fresh start-up without a window on the row's device
// and address, then the row's action as the single commands do it. Files go
// to the working folder: read saves <type>-<prefix>-<serial>.prf, report
// certificates/ZRM<type>-<prefix>-<serial>.pdf, each under another name
// (BatchFiles) when a row of the same batch wrote that file before.

#include <functional>
#include <string>

#include "cli/batch_files.h"
#include "cli/batch_operator.h"
#include "cli/batch_plan.h"
#include "cli/batch_results.h"
#include "report/configuration_page.h"

namespace zrm {

// Writes the configuration page to a PDF file; false with the reason in
// `error`. The batch runs it where Qt may draw (the main thread).
using PdfRenderer =
    std::function<bool(const ConfigurationPage& page, const std::string& path, std::string& error)>;

// Runs `row` in the working folder `dir`, its history sent on to
// `history_url` (--history) when not empty; the result row is complete but
// for the time and the plan. Its message is the row's own, or the first `op`
// was shown, or the result's. `files` holds the files the batch has written.
ResultRow RunPlanRow(const PlanRow& row, const std::string& dir, const std::string& history_url,
                     BatchOperator& op, const PdfRenderer& render_pdf, BatchFiles& files);

}  // namespace zrm
