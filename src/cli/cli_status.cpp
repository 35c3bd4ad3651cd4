#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "app/session.h"
#include "cli/command_session.h"
#include "cli/cli_commands.h"
#include "monitor/current_values_poll.h"

namespace zrm {

namespace {

// The measurement log line without its CR LF, for stdout.
std::string WithoutLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

}  // namespace

int RunStatus(const CliOptions& options, CliOperator& op, std::FILE* out) {
  Session session(options.dir);
  if (!StartCommandSession(session, op, options)) return kDeviceNotOpenedExit;
  const std::string log_path = session.MeasurementLogPath();

  CurrentValues held;
  ExchangeResult first_failure = result::kOk;
  for (std::uint32_t poll = 0; poll < options.count; ++poll) {
    if (poll > 0) std::this_thread::sleep_for(std::chrono::milliseconds(options.interval_ms));
    TimeOfDay wait_start{};
    const PollOutcome outcome = session.PollCurrentValues(held, wait_start);
    const MeasurementRecord record = MeasurementOf(held, wait_start);
    if (outcome.result == result::kOk) {
      std::fprintf(out, "%s\n", WithoutLineEnd(FormatMeasurementLine(record)).c_str());
      std::fflush(out);
    } else {
      op.Tell(outcome.view.link_state.text);
      if (first_failure == result::kOk) first_failure = outcome.result;
    }
    // As on the page, every second poll writes the measurement log when it
    // succeeded; a failed one measured nothing.
    if (poll % 2 == 1 && outcome.result == result::kOk && !log_path.empty())
      Ignore(LogMeasurement(log_path, record),
             "the log is a by-product of the polls: a line it cannot take is lost, the polls "
             "and their lines on stdout go on");
  }
  ShowExchangeError(op, first_failure);
  return static_cast<int>(first_failure);
}

}  // namespace zrm
