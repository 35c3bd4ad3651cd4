#include <sys/ioctl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "app/own_settings_file.h"
#include "app/session.h"
#include "bus/address_list.h"
#include "bus/bus_line_poll.h"
#include "cli/cli_commands.h"
#include "cli/command_session.h"
#include "cli/interrupt_as_esc.h"
#include "cli/watch_lines.h"
#include "link/link.h"

namespace zrm {

namespace {

using std::chrono::steady_clock;

// How long a line whose device vanished rests before it is tried again.
constexpr std::chrono::seconds kVanishedRest{1};
// How often a wait between sweeps looks for Ctrl-C.
constexpr std::chrono::milliseconds kInterruptCheck{20};

// --addresses; else the instruments the last search found on this device;
// else dev.dat's address.
std::vector<std::uint32_t> WatchAddresses(const CliOptions& options, const Session& session) {
  if (!options.watch_addresses.empty()) return options.watch_addresses;
  const std::string device = options.device.empty() ? session.PortPath() : options.device;
  const LastSearch last = LoadLastSearch(options.dir);
  std::vector<std::uint32_t> found;
  std::string ignored;
  if (last.device == device && ParseAddressList(last.addresses, found, ignored)) return found;
  return {LinkParamsOf(session.Config()).net_address};
}

// The table on a terminal, redrawn in place after every poll; CSV lines
// elsewhere.
class WatchOutput {
 public:
  // Piped, every line is an answered poll: scripts count and split lines
  // without a header to skip.
  WatchOutput(std::FILE* out, bool terminal) : out_(out), terminal_(terminal) {}

  // The terminal's width now (it may change while the table runs); 0 when
  // it does not say.
  std::size_t Columns() const {
    winsize size{};
    return ioctl(fileno(out_), TIOCGWINSZ, &size) == 0 ? size.ws_col : 0;
  }

  void Polled(const BusSnapshot& polled, const std::vector<BusSnapshot>& all) {
    if (terminal_)
      Redraw(all);
    else if (polled.last_result == result::kOk)
      std::fprintf(out_, "%s\n", WatchCsvLine(polled).c_str());
    std::fflush(out_);
  }

 private:
  void Redraw(const std::vector<BusSnapshot>& all) {
    // Back to the table's first line; each line then clears what was left.
    if (drawn_ > 0) std::fprintf(out_, "\x1b[%zuA\r", drawn_);
    const std::size_t columns = Columns();
    const auto line = [&](const std::string& text) {
      std::fprintf(out_, "%s\x1b[K\n", CutToColumns(text, columns).c_str());
    };
    line(WatchTableHead());
    const auto now = steady_clock::now();
    for (const BusSnapshot& s : all) line(WatchTableRow(s, now));
    drawn_ = all.size() + 1;
  }

  std::FILE* out_;
  bool terminal_;
  std::size_t drawn_ = 0;
};

// Waits until `until`; false when Ctrl-C came first.
bool RestUntil(steady_clock::time_point until) {
  while (steady_clock::now() < until) {
    if (TakeInterrupt()) return false;
    std::this_thread::sleep_for(
        std::min<steady_clock::duration>(kInterruptCheck, until - steady_clock::now()));
  }
  return !TakeInterrupt();
}

// One sweep; false when Ctrl-C came between two polls.
bool Sweep(BusLinePoll& poll, std::size_t instruments, WatchOutput& output) {
  for (std::size_t i = 0; i < instruments; ++i) {
    if (TakeInterrupt()) return false;
    const BusSnapshot polled = poll.PollNext();
    output.Polled(polled, poll.Snapshots());
  }
  return true;
}

}  // namespace

int RunWatch(const CliOptions& options, CliOperator& op, std::FILE* out) {
  TreatInterruptAsEsc();
  Session session(options.dir);
  if (!StartCommandSession(session, op, options)) return kDeviceNotOpenedExit;
  const std::vector<std::uint32_t> addresses = WatchAddresses(options, session);
  const LinkParams params = LinkParamsOf(session.Config());
  BusTiming timing;
  timing.poll_ms = options.interval_ms;
  timing.timeout_ms = params.timeout_ms;
  timing.attempts = params.attempts;
  Line& line = session.InstrumentLine();
  BusLinePoll poll(0, line, params.speed, addresses, timing);
  WatchOutput output(out, isatty(fileno(out)) == 1);
  for (std::uint32_t sweep = 0; options.sweeps == 0 || sweep < options.sweeps; ++sweep) {
    const auto start = steady_clock::now();
    if (!Sweep(poll, addresses.size(), output)) break;
    const bool last = options.sweeps != 0 && sweep + 1 == options.sweeps;
    const auto rest = line.IsOpen() ? std::chrono::milliseconds(options.interval_ms)
                                    : std::chrono::milliseconds(kVanishedRest);
    if (!last && !RestUntil(start + rest)) break;
  }
  return 0;
}

}  // namespace zrm
