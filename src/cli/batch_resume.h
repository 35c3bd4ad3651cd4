#pragma once
// What a batch runs: the plan's rows grouped by bus line, less the rows that
// succeeded before when it resumes.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "cli/batch_display.h"
#include "cli/batch_plan.h"
#include "cli/batch_plan_file.h"
#include "cli/batch_results.h"
#include "cli/cli_operator.h"

namespace zrm {

struct BatchLines {
  std::vector<std::unique_ptr<BusLine>> lines;  // in the order the plan first names each device
  std::size_t skipped = 0;                      // rows left out as done before
};

// The rows of the plan grouped by device. A row is left out while
// `succeeded` holds an unused success of the same device, address, action
// and profile as the profile is now; each success covers one row, so a row
// the plan names twice and that succeeded once runs once more.
BatchLines LinesToRun(const std::vector<PlanRow>& rows, SucceededRows succeeded);

// The rows of `plan` that succeeded before in the results file `path`; a
// results file that cannot tell is said on stderr and resumes nothing.
SucceededRows EarlierSuccesses(const std::string& path, const LoadedPlan& plan, CliOperator& op);

}  // namespace zrm
