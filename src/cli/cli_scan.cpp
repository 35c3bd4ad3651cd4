#include <algorithm>
#include <cstdio>

#include "app/app_texts.h"
#include "app/found_instrument_text.h"
#include "app/history_recorder.h"
#include "app/instrument_search.h"
#include "app/link_config_file.h"
#include "app/own_settings_file.h"
#include "cli/cli_commands.h"
#include "cli/cli_texts.h"
#include "cli/interrupt_as_esc.h"
#include "cli/unfinished_write_notice.h"
#include "link/exchange_result.h"
#include "platform/serial_port.h"

namespace zrm {

namespace {

// The port searched: --device, else dev.dat's port in the mode dev.dat
// gives it; --rs485 asks for the RS-485 mode either way.
struct ScanPort {
  std::string device;
  PortModes modes = {};
};

ScanPort PortToScan(const CliOptions& options, CliOperator& op) {
  if (!options.device.empty()) return {options.device, {.rs485 = options.rs485}};
  const LinkConfig config = LoadLinkConfig(options.dir, op);
  return {config.PortPath(), {.rs485 = options.rs485 || config.PortModesInUse().rs485}};
}

// The addresses found, kept as the last search of `device` for watch and
// the bus view; a file that cannot be written is told, the scan goes on.
void KeepFound(const CliOptions& options, const std::string& device, const SearchOutcome& outcome,
               CliOperator& op) {
  std::vector<std::uint32_t> addresses;
  for (const FoundInstrument& found : outcome.found)
    if (std::find(addresses.begin(), addresses.end(), found.address) == addresses.end())
      addresses.push_back(found.address);
  std::string error;
  if (addresses.empty() || SaveLastSearch(options.dir, device, addresses, error)) return;
  op.Tell(cli_texts::kCannotKeepSearch + OwnSettingsPath(options.dir) + ": " + error);
}

int ScanExit(const SearchOutcome& outcome) {
  if (!outcome.found.empty()) return 0;
  if (outcome.end == SearchEnd::kStopped) return static_cast<int>(result::kUserAbort);
  return static_cast<int>(result::kNoAnswer);
}

}  // namespace

int RunScan(const CliOptions& options, CliOperator& op, std::FILE* out) {
  TreatInterruptAsEsc();
  const auto [device, modes] = PortToScan(options, op);
  SerialPort port;
  std::string reason;
  if (!port.Open(device, options.plan.speeds.front(), reason, modes)) {
    op.Tell(reason);
    return static_cast<int>(result::kNoAnswer);
  }
  if (const std::string notice = port.TakeNotice(); !notice.empty()) op.Tell(notice);
  SearchLine line{
      port, [&port](std::int32_t speed, std::string& why) { return port.SetSpeed(speed, why); }};
  const SearchOutcome outcome = SearchInstruments(line, options.plan, op);
  for (const FoundInstrument& found : outcome.found)
    std::fprintf(out, "%s\n", FoundInstrumentLine(found).c_str());
  std::fflush(out);
  KeepFound(options, device, outcome, op);
  HistoryRecorder history(options.dir, "zrm48ctl");
  if (std::string error; !StoreSearchEvents(history, device, outcome, error)) op.Tell(error);
  for (const FoundInstrument& found : outcome.found)
    if (found.identified) TellUnfinishedWrite(options.dir, FoundIdentity(found), op);
  for (const GarbledAnswer& garbled : outcome.garbled) op.Tell(GarbledAnswerLine(garbled));
  if (outcome.end != SearchEnd::kCompleted) op.Tell(SearchEndText(outcome));
  if (outcome.found.empty() && outcome.end != SearchEnd::kStopped)
    op.Tell(app_texts::kSearchNothingFound);
  return ScanExit(outcome);
}

}  // namespace zrm
