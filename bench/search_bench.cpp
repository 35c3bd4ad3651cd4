// zrm48bench_search: the instrument search over 5 speeds × addresses 1..32
// against an in-process bus of three instruments at 19200 bit/s with line
// timing, timed against the sum of its probe windows (each probe's request
// and longest reply on the wire plus the 50 ms margin). Prints a Markdown
// table row per run count.
//
//   zrm48bench_search [--runs N]

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/instrument_probe.h"
#include "app/instrument_search.h"
#include "bench_host.h"
#include "lib/bus_options.h"
#include "platform/number_text.h"
#include "platform/serial_port.h"
#include "platform/silent_operator.h"
#include "sample_stats.h"

namespace zrm::bench {
namespace {

constexpr std::int32_t kBusSpeed = 19200;

// The plan's probe windows added up: the least a search that waits out every
// silent address can take.
double WindowSumMs(const SearchPlan& plan) {
  std::chrono::microseconds sum{0};
  for (const std::int32_t speed : plan.speeds)
    for (std::uint32_t a = plan.first_address; a <= plan.last_address; ++a)
      sum += ProbeWindow(speed, a, plan.margin_ms);
  return std::chrono::duration<double, std::milli>(sum).count();
}

// One search on a fresh bus; the wall time in ms, or a negative number when
// the three instruments were not found exactly.
double TimedSearch(const SearchPlan& plan, std::string& failure) {
  sim::Simulator bus(sim::BusOptions({3, 7, 12}, kBusSpeed));
  SerialPort port;
  if (!bus.Start(&failure) || !port.Open(bus.SlavePath(), plan.speeds.front(), failure)) return -1;
  SearchLine line{
      port, [&port](std::int32_t speed, std::string& why) { return port.SetSpeed(speed, why); }};
  SilentOperator op(true);
  const auto start = SteadyClock::now();
  const SearchOutcome outcome = SearchInstruments(line, plan, op);
  const auto end = SteadyClock::now();
  if (outcome.found.size() != 3 || outcome.end != SearchEnd::kCompleted) {
    failure = "found " + std::to_string(outcome.found.size()) + " instruments, not 3";
    return -1;
  }
  return std::chrono::duration<double, std::milli>(end - start).count();
}

}  // namespace
}  // namespace zrm::bench

int main(int argc, char** argv) {
  using namespace zrm;
  using namespace zrm::bench;
  int runs = 3;
  if (argc == 3 && std::string(argv[1]) == "--runs") runs = std::max(1, std::atoi(argv[2]));
  const SearchPlan plan;  // 4800..57600, addresses 1..32, 50 ms margin
  std::vector<double> wall_ms;
  for (int i = 0; i < runs; ++i) {
    std::string failure;
    const double ms = TimedSearch(plan, failure);
    if (ms < 0) {
      std::printf("search failed: %s\n", failure.c_str());
      return 1;
    }
    wall_ms.push_back(ms);
  }
  const double windows = WindowSumMs(plan);
  std::printf("load average: %s\n\n", LoadAverages().c_str());
  std::printf(
      "| search | probes | found | runs | probe windows ms | wall ms (median) | ratio "
      "(median) | ratio (worst) |\n|---|---:|---:|---:|---:|---:|---:|---:|\n");
  std::printf(
      "| 5 speeds × 1..32, bus of 3 at 19200 | %zu | 3 | %d | %s | %s | %s | %s |\n",
      plan.ProbeCount(), runs, FormatFixed(windows, 0, 1).c_str(),
      FormatFixed(Median(wall_ms), 0, 1).c_str(),
      FormatFixed(Median(wall_ms) / windows, 0, 3).c_str(),
      FormatFixed(*std::max_element(wall_ms.begin(), wall_ms.end()) / windows, 0, 3).c_str());
  return 0;
}
