#pragma once
// The plan file of a batch, read and checked before anything runs: a plan
// runs whole or not at all.

#include <string>
#include <vector>

#include "cli/batch_plan.h"
#include "cli/cli_operator.h"

namespace zrm {

// A plan ready to run, with what every results row says of it.
struct LoadedPlan {
  std::vector<PlanRow> rows;
  std::string path;  // absolute, so that --resume from another folder finds the same plan
  std::string hash;  // ContentHash of the file's bytes
};

// Reads and checks the plan file `path`. 0 with `plan` filled; otherwise
// the exit status after the reason was told: 14 when the file cannot be
// read, 64 when it does not parse or a row cannot run (every such row is
// listed; a row whose device is the program's own terminal is one).
int LoadPlan(const std::string& path, CliOperator& op, LoadedPlan& plan);

}  // namespace zrm
