// zrm48ctl: the setup utility's commands for scripts, test jigs and
// production lines, over the same core as the window.

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/batch_run.h"
#include "cli/cli_commands.h"
#include "cli/usage_text.h"

namespace {

int UsageError(const std::string& error) {
  std::fprintf(stderr, "zrm48ctl: %s\n%s", error.c_str(), zrm::UsageText().c_str());
  return zrm::kUsageExit;
}

int RunCommand(const zrm::CliOptions& options, zrm::CliOperator& op) {
  using zrm::CliCommand;
  switch (options.command) {
    case CliCommand::kRead: return zrm::RunRead(options, op, stdout);
    case CliCommand::kWrite: return zrm::RunWrite(options, op, stdout);
    case CliCommand::kReport: return zrm::RunReport(options, op, stdout);
    case CliCommand::kStatus: return zrm::RunStatus(options, op, stdout);
    case CliCommand::kGet: return zrm::RunGet(options, op, stdout);
    case CliCommand::kSet: return zrm::RunSet(options, op, stdout);
    case CliCommand::kDiff: return zrm::RunDiff(options, op, stdout);
    case CliCommand::kBackup: return zrm::RunBackup(options, op, stdout);
    case CliCommand::kBatch: return zrm::RunBatch(options, op, stdout);
    case CliCommand::kScan: return zrm::RunScan(options, op, stdout);
    case CliCommand::kPorts: return zrm::RunPorts(options, op, stdout);
    case CliCommand::kResume: return zrm::RunResume(options, op, stdout);
    case CliCommand::kRollback: return zrm::RunRollback(options, op, stdout);
    case CliCommand::kWatch: return zrm::RunWatch(options, op, stdout);
    case CliCommand::kHistory: return zrm::RunHistory(options, op, stdout);
  }
  return zrm::kUsageExit;
}

}  // namespace

int main(int argc, char** argv) {
  zrm::CliOptions options;
  std::string error;
  if (!zrm::ParseCliOptions(std::vector<std::string>(argv + 1, argv + argc), options, error))
    return UsageError(error);
  if (options.help) {
    std::fputs(zrm::UsageText().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("%s\n", zrm::VersionText().c_str());
    return 0;
  }
  std::error_code ignored;
  if (!std::filesystem::is_directory(options.dir, ignored))
    return UsageError("--dir " + options.dir + ": not a folder");

  zrm::CliOperator op(stderr, options.yes, zrm::ProgressWanted(stderr, options.quiet));
  return RunCommand(options, op);
}
