// zrm48bench_transfer: the whole read and write of the settings image, and
// one poll of the current values, through the real serial port and link
// against the emulated instrument with its line timing on. Prints one
// Markdown table row per transfer and speed; it times, it does not judge.
//
//   zrm48bench_transfer [--runs N] [--polls N] [--baud B]

#include <charconv>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "bench_host.h"
#include "counting_line.h"
#include "lib/simulator.h"
#include "link/link.h"
#include "monitor/current_values.h"
#include "platform/serial_port.h"
#include "platform/silent_operator.h"
#include "settings/changes_transfer.h"
#include "settings/device_transfer.h"
#include "transfer_row.h"

namespace zrm::bench {
namespace {

constexpr unsigned kSpeeds[] = {4800, 9600, 19200, 38400};
constexpr unsigned kPollSpeed = 9600;
constexpr std::chrono::milliseconds kTurnaround{5};

struct Options {
  int runs = 7;
  int polls = 21;
  int only_baud = 0;  // 0: every speed
};

// The emulated instrument on a pseudo-terminal, opened through the real
// serial port, with the link over a counting line.
class TransferRig {
 public:
  explicit TransferRig(unsigned baud)
      : baud_(baud),
        simulator_(SimulatorAt(baud)),
        counting_(port_),
        link_(counting_, {}, nullptr) {}

  // Starts the instrument and opens its line; false with the reason in `error`.
  bool Open(std::string& error) {
    if (!simulator_.Start(&error)) return false;
    return port_.Open(simulator_.SlavePath(), static_cast<std::int32_t>(baud_), error);
  }

  // Times `transfer` once; false (with its result in `failure`) when it
  // did not succeed.
  bool Time(const std::function<ExchangeResult(Link&)>& transfer, TimedRun& run,
            ExchangeResult& failure) {
    WaitWhileRestarting();
    counting_.Clear();
    const auto start = SteadyClock::now();
    failure = transfer(link_);
    const auto end = SteadyClock::now();
    run.wall_ms = std::chrono::duration<double, std::milli>(end - start).count();
    run.exchanges = counting_.Exchanges();
    run.reply_ms = counting_.ReplyTimes();
    return failure == result::kOk;
  }

 private:
  static sim::SimulatorOptions SimulatorAt(unsigned baud) {
    sim::SimulatorOptions options;
    options.baud = baud;
    options.line_timing = true;
    options.turnaround = kTurnaround;
    return options;
  }

  // After the restart that ends a write the instrument is silent for a
  // while; a run must not start inside that silence.
  void WaitWhileRestarting() {
    while (simulator_.Restarting()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

  const unsigned baud_;
  sim::Simulator simulator_;
  SerialPort port_;
  CountingLine counting_;
  Link link_;
};

void SwitchOnAllGroups(DeviceSettings& s) {
  s.channel[0].select = 1;
  s.channel[1].select = 1;
  s.relay.select = 1;
  s.general.gen_select = 1;
}

// Runs `transfer` once untimed (first use of the port), then `runs` times.
// Prints the row, or why there is none.
void MeasureTransfer(TransferRig& rig, const std::string& name, unsigned baud, int runs,
                     const std::function<ExchangeResult(Link&)>& transfer) {
  std::vector<TimedRun> timed;
  TimedRun run;
  ExchangeResult failure = result::kOk;
  for (int i = -1; i < runs; ++i) {
    if (!rig.Time(transfer, run, failure)) {
      std::printf("| %s | %u | failed with result %u |\n", name.c_str(), baud,
                  static_cast<unsigned>(failure));
      return;
    }
    if (i >= 0) timed.push_back(run);
  }
  std::printf("%s\n", FormatTransferRow(Summarize(name, {baud, double(kTurnaround.count())},
                                                  timed)).c_str());
  std::fflush(stdout);
}

void MeasureSpeed(unsigned baud, const Options& options) {
  TransferRig rig(baud);
  std::string error;
  if (!rig.Open(error)) {
    std::printf("| all | %u | no instrument: %s |\n", baud, error.c_str());
    return;
  }
  SilentOperator op(true);
  DeviceSettings image;
  MeasureTransfer(rig, "ReadDeviceSettings", baud, options.runs, [&](Link& link) {
    SwitchOnAllGroups(image);
    return ReadDeviceSettings(link, image, op);
  });
  // The write sends back what the instrument holds, so every read-back matches.
  MeasureTransfer(rig, "WriteDeviceSettings", baud, options.runs, [&](Link& link) {
    DeviceSettings copy = image;
    return WriteDeviceSettings(link, copy, op);
  });
  if (baud != kPollSpeed) return;
  // The write of changes with one set point changed: the instrument read,
  // compared, and only that set point's steps written, then the restart.
  // Successive runs move the set point up and down by 1.
  float step = 1.0f;
  MeasureTransfer(rig, "changes write, one set point", baud, options.runs, [&](Link& link) {
    DeviceSettings instrument = image;
    if (const ExchangeResult r = ReadDeviceSettings(link, instrument, op)) return r;
    DeviceSettings target = instrument;
    target.channel[0].th1 += step;
    step = -step;
    std::vector<WrittenParameter> written;
    std::vector<WrittenParameter> unfinished;
    return WriteChangedSettings(link, target, ChangedParameters(instrument, target), op, written,
                                unfinished);
  });
  CurrentValues held;
  MeasureTransfer(rig, "poll cycle", baud, options.polls, [&](Link& link) {
    StatusBlock block{};
    const ExchangeResult r = link.ReadStatusBlock(block);
    if (r == result::kOk) DecodeStatusBlock(block, held);
    return r;
  });
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string_view text = argv[i + 1];
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || value < 1) return false;
    if (name == "--runs") options.runs = value;
    else if (name == "--polls") options.polls = value;
    else if (name == "--baud") options.only_baud = value;
    else return false;
  }
  return argc % 2 == 1;
}

}  // namespace
}  // namespace zrm::bench

int main(int argc, char** argv) {
  using namespace zrm::bench;
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: zrm48bench_transfer [--runs N] [--polls N] [--baud B]\n");
    return 64;
  }
  std::printf("Transfers against the emulated instrument with line timing, turnaround %lld ms\n",
              static_cast<long long>(kTurnaround.count()));
  std::printf("%s; %s; load average before: %s\n\n", UtcNow().c_str(),
              ProcessorDescription().c_str(), LoadAverages().c_str());
  std::printf("%s\n", TransferTableHead().c_str());
  for (unsigned baud : kSpeeds)
    if (options.only_baud == 0 || unsigned(options.only_baud) == baud) MeasureSpeed(baud, options);
  std::printf("\nload average after: %s\n", LoadAverages().c_str());
  return 0;
}
