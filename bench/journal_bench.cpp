// zrm48bench_journal: what the write journal costs a whole write, and how
// long completing a write cut off halfway takes against its budget (a whole
// read, the wire time of what still differs, and half a second), through the
// real serial port and link against the emulated instrument with its line
// timing on, at 9600 bit/s. Prints a Markdown table; it times, it does not
// judge.
//
//   zrm48bench_journal [--runs N]

#include <unistd.h>

#include <charconv>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/instrument_identity.h"
#include "app/journal_repair.h"
#include "app/write_journal.h"
#include "bench_host.h"
#include "counting_line.h"
#include "lib/simulator.h"
#include "link/link.h"
#include "platform/serial_port.h"
#include "platform/silent_operator.h"
#include "sample_stats.h"
#include "settings/changes_transfer.h"
#include "settings/device_transfer.h"

namespace zrm::bench {
namespace {

constexpr unsigned kBaud = 9600;
constexpr std::chrono::milliseconds kTurnaround{5};
constexpr double kRepairAllowanceMs = 500;
// Where the cut-off write stops: after the identity and half of its frames.
constexpr std::size_t kIdentityReads = 4;
constexpr std::size_t kHalfOfTheWrite = 55;

// The emulated instrument on a fresh pseudo-terminal, reached through the
// real serial port and a counting line; opened again with the memory a
// vanished instrument was left with.
class Rig {
 public:
  Rig() : counting_(port_) {}

  bool Open(const std::optional<sim::ParameterMemory>& memory, std::string& error) {
    link_.reset();
    port_.Close();
    sim::SimulatorOptions options;
    options.baud = kBaud;
    options.line_timing = true;
    options.turnaround = kTurnaround;
    options.memory = memory;
    simulator_ = std::make_unique<sim::Simulator>(options);
    if (!simulator_->Start(&error)) return false;
    if (!port_.Open(simulator_->SlavePath(), kBaud, error)) return false;
    link_ = std::make_unique<Link>(counting_, LinkParams{}, nullptr);
    return true;
  }

  // Times `run` once, after the silence of an earlier restart; its exchanges
  // are then in Counting().
  double TimeMs(const std::function<ExchangeResult()>& run, ExchangeResult& r) {
    while (simulator_->Restarting()) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    counting_.Clear();
    const auto start = SteadyClock::now();
    r = run();
    return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
  }

  Link& TheLink() { return *link_; }
  sim::Simulator& Instrument() { return *simulator_; }
  const CountingLine& Counting() const { return counting_; }

 private:
  SerialPort port_;
  CountingLine counting_;
  std::unique_ptr<sim::Simulator> simulator_;
  std::unique_ptr<Link> link_;
};

struct Row {
  std::string what;
  double median_ms = 0;
  std::string against;
  double against_ms = 0;
};

void PrintRow(const Row& row) {
  std::printf("| %s | %.0f | %s | %.0f | %.3f |\n", row.what.c_str(), row.median_ms,
              row.against.c_str(), row.against_ms, row.median_ms / row.against_ms);
  std::fflush(stdout);
}

// The median of `runs` timings of `run`; empty (and the failure printed)
// when a run did not succeed.
std::optional<double> MedianOf(Rig& rig, int runs, const std::string& what,
                               const std::function<ExchangeResult()>& run) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    ExchangeResult r = result::kOk;
    times.push_back(rig.TimeMs(run, r));
    if (r != result::kOk) {
      std::printf("| %s | failed with result %u | | | |\n", what.c_str(), unsigned(r));
      return std::nullopt;
    }
  }
  return bench::Median(times);
}

// The settings a cut-off write was sending: four set points moved, spread
// over both channels' groups.
DeviceSettings MovedSetPoints(DeviceSettings s) {
  for (ChannelSettings& channel : s.channel) {
    channel.th1 += 1.0f;
    channel.th2 -= 1.0f;
  }
  return s;
}

// "Дописать" as the session runs it, without the checks before writing
// (the emulated instrument's own settings would stop them) and the backup
// file: the identity, the journal looked up, the whole read, and what still
// differs written, journalled.
ExchangeResult Resume(Link& link, const std::string& dir, const DeviceSettings& image,
                      Operator& op) {
  DeviceSettings found;
  if (ExchangeResult r = ReadInstrumentIdentity(link, image, found)) return r;
  const RepairPlan plan = PlanRepair(dir, found, RepairKind::kResume);
  if (plan.finding != RepairFinding::kReady) return result::kFile;
  DeviceSettings held = image;
  if (ExchangeResult r = ReadDeviceSettings(link, held, op)) return r;
  JournalLock lock;
  if (ExchangeResult r = OpenJournalEntry(dir, found, plan.target, {}, op, lock)) return r;
  std::vector<WrittenParameter> written;
  std::vector<WrittenParameter> unfinished;
  const ExchangeResult r = WriteChangedSettings(
      link, plan.target, ChangedParameters(held, plan.target), op, written, unfinished);
  if (r == result::kOk) CloseJournalEntry(dir, found);
  return r;
}

// A whole journalled write into the rig's instrument that vanishes halfway,
// then the instrument back with what it holds, and "Дописать" timed: the
// identity, the journal, the whole read and what still differs written.
// Returns its time and the wire time of the exchanges after the read.
std::optional<std::pair<double, double>> CompleteACutOffWrite(Rig& rig, const std::string& dir,
                                                              const DeviceSettings& image,
                                                              std::size_t read_exchanges,
                                                              Operator& op, std::string& error) {
  if (!rig.Open(std::nullopt, error)) return std::nullopt;
  DeviceSettings target = MovedSetPoints(image);
  sim::Fault vanish{sim::FaultKind::kVanish, {}, 0};
  vanish.when.request_number =
      rig.Instrument().RequestsReceived() + kIdentityReads + kHalfOfTheWrite + 1;
  rig.Instrument().AddFault(vanish);
  DeviceSettings instrument;
  if (ReadInstrumentIdentity(rig.TheLink(), image, instrument) != result::kOk) return std::nullopt;
  {
    JournalLock lock;
    if (OpenJournalEntry(dir, instrument, target, {}, op, lock) != result::kOk) return std::nullopt;
    if (WriteDeviceSettings(rig.TheLink(), target, op) == result::kOk) return std::nullopt;
  }
  if (!rig.Open(rig.Instrument().Memory(), error)) return std::nullopt;

  ExchangeResult r = result::kOk;
  const double ms = rig.TimeMs([&] { return Resume(rig.TheLink(), dir, image, op); }, r);
  if (r != result::kOk) return std::nullopt;
  const auto& exchanges = rig.Counting().Exchanges();
  const std::size_t read_end = kIdentityReads + read_exchanges;
  if (exchanges.size() < read_end) return std::nullopt;
  const std::span<const ExchangeBytes> written(exchanges.begin() + read_end, exchanges.end());
  return std::make_pair(ms, WireLimitMs(written, {kBaud, double(kTurnaround.count())}));
}

int Run(int runs) {
  const std::string dir =
      (std::filesystem::temp_directory_path() / ("zrm48bench_journal." + std::to_string(getpid())))
          .string();
  std::filesystem::create_directories(dir);
  Rig rig;
  std::string error;
  if (!rig.Open(std::nullopt, error)) {
    std::printf("no instrument: %s\n", error.c_str());
    return 1;
  }
  SilentOperator op(true);
  DeviceSettings image;
  image.channel[0].select = image.channel[1].select = image.relay.select = 1;
  image.general.gen_select = 1;
  ExchangeResult r = result::kOk;
  rig.TimeMs([&] { return ReadDeviceSettings(rig.TheLink(), image, op); }, r);
  const std::size_t read_exchanges = rig.Counting().Exchanges().size();
  DeviceSettings instrument;
  if (r != result::kOk || ReadInstrumentIdentity(rig.TheLink(), image, instrument)) {
    std::printf("the instrument could not be read\n");
    return 1;
  }

  const auto read = MedianOf(rig, runs, "whole read", [&] {
    DeviceSettings copy = image;
    return ReadDeviceSettings(rig.TheLink(), copy, op);
  });
  const auto plain = MedianOf(rig, runs, "whole write", [&] {
    DeviceSettings copy = image;
    return WriteDeviceSettings(rig.TheLink(), copy, op);
  });
  const auto journalled = MedianOf(rig, runs, "whole write, journalled", [&] {
    DeviceSettings copy = image;
    JournalLock lock;
    if (ExchangeResult e = OpenJournalEntry(dir, instrument, copy, {}, op, lock)) return e;
    const ExchangeResult e = WriteDeviceSettings(rig.TheLink(), copy, op);
    if (e == result::kOk) CloseJournalEntry(dir, instrument);
    return e;
  });
  // The whole write as "Записать в прибор" sends it, without its checks.
  const auto identified = MedianOf(rig, runs, "whole write, identity and journal", [&] {
    DeviceSettings copy = image;
    DeviceSettings found;
    if (ExchangeResult e = ReadInstrumentIdentity(rig.TheLink(), image, found)) return e;
    JournalLock lock;
    if (ExchangeResult e = OpenJournalEntry(dir, found, copy, {}, op, lock)) return e;
    const ExchangeResult e = WriteDeviceSettings(rig.TheLink(), copy, op);
    if (e == result::kOk) CloseJournalEntry(dir, found);
    return e;
  });
  if (!read || !plain || !journalled || !identified) return 1;
  PrintRow({"whole read", *read, "itself", *read});
  PrintRow({"whole write, journalled", *journalled, "whole write", *plain});
  PrintRow({"whole write, identity read and journalled", *identified, "whole write", *plain});

  std::vector<double> repair_ms;
  std::vector<double> budget_ms;
  for (int i = 0; i < runs; ++i) {
    const auto repair = CompleteACutOffWrite(rig, dir, image, read_exchanges, op, error);
    if (!repair) {
      std::printf("| \"Дописать\" after half a write | failed %s | | | |\n", error.c_str());
      return 1;
    }
    repair_ms.push_back(repair->first);
    budget_ms.push_back(*read + repair->second + kRepairAllowanceMs);
  }
  PrintRow({"\"Дописать\" after half a whole write", bench::Median(repair_ms),
            "whole read + wire time of what differed + 0.5 s", bench::Median(budget_ms)});
  std::filesystem::remove_all(dir);
  return 0;
}

}  // namespace
}  // namespace zrm::bench

int main(int argc, char** argv) {
  int runs = 5;
  if (argc == 3 && std::string_view(argv[1]) == "--runs") {
    const std::string_view text = argv[2];
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), runs);
    if (ec != std::errc() || end != text.data() + text.size() || runs < 1) argc = 0;
  }
  if (argc != 1 && argc != 3) {
    std::fprintf(stderr, "usage: zrm48bench_journal [--runs N]\n");
    return 64;
  }
  using namespace zrm::bench;
  std::printf(
      "The write journal against the emulated instrument at %u bit/s with line timing, "
      "turnaround %lld ms\n",
      kBaud, static_cast<long long>(kTurnaround.count()));
  std::printf("%s; %s; load average before: %s\n\n", UtcNow().c_str(),
              ProcessorDescription().c_str(), LoadAverages().c_str());
  std::printf("| what | median ms | compared with | its ms | ratio |\n|---|---:|---|---:|---:|\n");
  const int status = Run(runs);
  std::printf("\nload average after: %s\n", LoadAverages().c_str());
  return status;
}
