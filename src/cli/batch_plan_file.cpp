#include "cli/batch_plan_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/content_hash.h"
#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "cli/own_terminal.h"
#include "link/exchange_result.h"

namespace zrm {

namespace {

bool ReadPlanText(const std::string& path, std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream content;
  content << in.rdbuf();
  text = content.str();
  return true;
}

// Rows whose device is the program's own terminal cannot run either.
void MarkOwnTerminal(std::vector<PlanRow>& rows) {
  for (PlanRow& row : rows)
    if (row.fault.empty() && IsOwnTerminal(row.device)) row.fault = cli_texts::kPlanOwnTerminal;
}

// Every unsound row on stderr, and true when there was one.
bool RefuseUnsoundRows(const std::vector<PlanRow>& rows, const std::string& path, CliOperator& op) {
  const std::vector<std::string> faults = PlanFaults(rows);
  for (const std::string& fault : faults) op.Tell(path + ": " + fault);
  if (!faults.empty()) op.Tell(path + ": " + cli_texts::kPlanNotRun);
  return !faults.empty();
}

}  // namespace

int LoadPlan(const std::string& path, CliOperator& op, LoadedPlan& plan) {
  std::string text;
  if (!ReadPlanText(path, text)) {
    op.Tell(cli_texts::kNoPlan + path);
    return static_cast<int>(result::kFile);
  }
  std::string error;
  if (!ParsePlan(text, plan.rows, error)) {
    op.Tell(path + ": " + error);
    return kUsageExit;
  }
  MarkOwnTerminal(plan.rows);
  if (RefuseUnsoundRows(plan.rows, path, op)) return kUsageExit;
  plan.path = std::filesystem::absolute(path).lexically_normal().string();
  plan.hash = ContentHash(text);
  return 0;
}

}  // namespace zrm
