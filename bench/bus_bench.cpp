// zrm48bench_bus: one sweep of the bus poll over a line of eight emulated
// instruments with line timing on, through the real serial port, against
// the wire time of its status polls. Prints one Markdown table row; it
// times, it does not judge.
//
//   zrm48bench_bus [--runs N]

#include <charconv>
#include <chrono>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "bench_host.h"
#include "bus/bus_line_poll.h"
#include "counting_line.h"
#include "lib/simulator.h"
#include "platform/serial_port.h"
#include "transfer_row.h"

namespace zrm::bench {
namespace {

constexpr unsigned kBaud = 9600;
constexpr std::chrono::milliseconds kTurnaround{5};
constexpr std::uint32_t kInstruments = 8;

sim::SimulatorOptions EightInstruments() {
  sim::SimulatorOptions options;
  for (std::uint32_t address = 2; address <= kInstruments; ++address)
    options.more_addresses.push_back(address);
  options.baud = kBaud;
  options.line_timing = true;
  options.turnaround = kTurnaround;
  return options;
}

// Runs one untimed sweep (the identities, the line's first use), then
// `runs` timed ones; prints the row, or why there is none.
int MeasureSweeps(int runs) {
  sim::Simulator simulator(EightInstruments());
  SerialPort port;
  std::string error;
  if (!simulator.Start(&error) || !port.Open(simulator.SlavePath(), kBaud, error)) {
    std::printf("| bus sweep | %u | no instruments: %s |\n", kBaud, error.c_str());
    return 1;
  }
  CountingLine counting(port);
  std::vector<std::uint32_t> addresses;
  for (std::uint32_t address = 1; address <= kInstruments; ++address) addresses.push_back(address);
  BusLinePoll poll(0, counting, kBaud, addresses, BusTiming{});
  std::vector<TimedRun> timed;
  for (int run = -1; run < runs; ++run) {
    counting.Clear();
    const auto start = SteadyClock::now();
    for (std::uint32_t i = 0; i < kInstruments; ++i) {
      const BusSnapshot s = poll.PollNext();
      if (s.last_result != result::kOk) {
        std::printf("| bus sweep | %u | address %u failed with result %u |\n", kBaud, s.address,
                    static_cast<unsigned>(s.last_result));
        return 1;
      }
    }
    const auto end = SteadyClock::now();
    if (run < 0) continue;
    timed.push_back({std::chrono::duration<double, std::milli>(end - start).count(),
                     counting.Exchanges(), counting.ReplyTimes()});
  }
  const std::string name = "bus sweep, " + std::to_string(kInstruments) + " instruments";
  std::printf(
      "%s\n",
      FormatTransferRow(Summarize(name, {kBaud, double(kTurnaround.count())}, timed)).c_str());
  return 0;
}

}  // namespace
}  // namespace zrm::bench

int main(int argc, char** argv) {
  using namespace zrm::bench;
  int runs = 7;
  if (argc == 3 && std::string_view(argv[1]) == "--runs") {
    const std::string_view text = argv[2];
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), runs);
    if (ec != std::errc() || end != text.data() + text.size() || runs < 1) argc = 0;
  }
  if (argc != 1 && argc != 3) {
    std::fprintf(stderr, "usage: zrm48bench_bus [--runs N]\n");
    return 64;
  }
  std::printf(
      "A sweep of the bus poll against emulated instruments with line timing, "
      "turnaround %lld ms\n",
      static_cast<long long>(kTurnaround.count()));
  std::printf("%s; %s; load average before: %s\n\n", UtcNow().c_str(),
              ProcessorDescription().c_str(), LoadAverages().c_str());
  std::printf("%s\n", TransferTableHead().c_str());
  const int status = MeasureSweeps(runs);
  std::printf("\nload average after: %s\n", LoadAverages().c_str());
  return status;
}
