// zrm48bench_fleet: the two measures of many instruments.
//   - A batch of `read` rows over 4 lines × 4 instruments at 9600 bit/s with
//     line timing, run by zrm48ctl: its wall time against the slowest line's
//     own time (the same batch with that line alone) and against the lines
//     one after another.
//   - A whole read over ser2net on the loopback, raw and RFC 2217, against
//     the same read on the direct line.
// Prints Markdown tables; nothing passes or fails on the figures.
//
//   zrm48bench_fleet --ctl PATH [--runs N]

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench_host.h"
#include "child_process.h"
#include "lib/simulator.h"
#include "link/link.h"
#include "platform/port_line.h"
#include "platform/silent_operator.h"
#include "sample_stats.h"
#include "settings/device_transfer.h"

extern char** environ;

namespace zrm::bench {
namespace {

constexpr int kLines = 4;
constexpr int kInstrumentsPerLine = 4;

sim::SimulatorOptions TimedBus() {
  sim::SimulatorOptions options;
  options.line_timing = true;
  options.more_addresses = {2, 3, 4};
  return options;
}

// The wall time of `zrm48ctl batch` over the rows of `lines`, in ms; negative
// when it did not succeed.
double TimedBatch(const std::string& ctl, const std::vector<std::string>& lines) {
  const std::string dir = MakeEmptyFolder();
  std::ofstream plan(dir + "/plan.csv");
  plan << "device,address,action,profile\n";
  for (int a = 1; a <= kInstrumentsPerLine; ++a)
    for (const std::string& line : lines) plan << line << "," << a << ",read,\n";
  plan.close();
  const ChildRun run = RunChild({ctl, "--dir", dir, "batch", dir + "/plan.csv"}, dir, {});
  RemoveFolder(dir);
  return run.started && run.exit_status == 0 ? run.wall_ms : -1;
}

void BatchRows(const std::string& ctl, int runs) {
  std::vector<std::unique_ptr<sim::Simulator>> buses;
  std::vector<std::string> paths;
  for (int i = 0; i < kLines; ++i) {
    buses.push_back(std::make_unique<sim::Simulator>(TimedBus()));
    std::string error;
    if (!buses.back()->Start(&error)) {
      std::printf("simulator: %s\n", error.c_str());
      return;
    }
    paths.push_back(buses.back()->SlavePath());
  }
  std::vector<double> parallel, slowest, serial;
  for (int r = 0; r < runs; ++r) {
    double slowest_line = 0, sum = 0;
    for (const std::string& path : paths) {
      const double alone = TimedBatch(ctl, {path});
      slowest_line = std::max(slowest_line, alone);
      sum += alone;
    }
    parallel.push_back(TimedBatch(ctl, paths));
    slowest.push_back(slowest_line);
    serial.push_back(sum);
  }
  if (*std::min_element(parallel.begin(), parallel.end()) < 0 ||
      *std::min_element(slowest.begin(), slowest.end()) < 0) {
    std::printf("a batch failed\n");
    return;
  }
  std::printf("load average: %s\n\n", LoadAverages().c_str());
  std::printf(
      "| batch read | rows | runs | slowest line alone ms | lines in turn ms | all lines ms "
      "(median) | ÷ slowest line | speed-up over lines in turn |\n"
      "|---|---:|---:|---:|---:|---:|---:|---:|\n");
  const double p = Median(parallel), s = Median(slowest), t = Median(serial);
  std::printf("| %d lines × %d instruments, 9600 bit/s | %d | %d | %.0f | %.0f | %.0f | %.3f | %.2f |\n",
              kLines, kInstrumentsPerLine, kLines * kInstrumentsPerLine, runs, s, t, p, p / s,
              t / p);
}

// ser2net serving `device` on a loopback port; stopped when destroyed.
class Ser2Net {
 public:
  Ser2Net(const std::string& device, const std::string& accepter, int port) {
    dir_ = MakeEmptyFolder();
    std::ofstream(dir_ + "/s.yaml") << "connection: &l\n  accepter: " << accepter
                                     << ",127.0.0.1," << port << "\n  connector: serialdev,"
                                     << device << ",9600n81,local\n"
                                     // Data goes on as it comes, not gathered for a few
                                     // character times: a reply is short and awaited.
                                     << "  options:\n    chardelay: false\n";
    std::vector<std::string> args = {"ser2net", "-n", "-u", "-c", dir_ + "/s.yaml", "-P",
                                     dir_ + "/pid"};
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    if (posix_spawnp(&pid_, "ser2net", &quiet, nullptr, argv.data(), environ) != 0) pid_ = -1;
    posix_spawn_file_actions_destroy(&quiet);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // until it listens
  }
  ~Ser2Net() {
    if (pid_ > 0) {
      ::kill(pid_, SIGTERM);
      ::waitpid(pid_, nullptr, 0);
    }
    RemoveFolder(dir_);
  }
  bool Started() const { return pid_ > 0; }

 private:
  std::string dir_;
  pid_t pid_ = -1;
};

// One whole read on `path`, in ms; negative when it failed.
double TimedRead(const std::string& path) {
  PortLine line;
  std::string reason;
  if (!line.Open(path, 9600, reason)) return -1;
  Link link(line, LinkParams{}, nullptr);
  DeviceSettings s;
  s.channel[0].select = s.channel[1].select = s.relay.select = s.general.gen_select = 1;
  SilentOperator op(true);
  const auto start = SteadyClock::now();
  if (ReadDeviceSettings(link, s, op) != result::kOk) return -1;
  return std::chrono::duration<double, std::milli>(SteadyClock::now() - start).count();
}

void NetworkRows(int runs) {
  sim::SimulatorOptions options;
  options.line_timing = true;
  sim::Simulator instrument(options);
  std::string error;
  if (!instrument.Start(&error)) {
    std::printf("simulator: %s\n", error.c_str());
    return;
  }
  std::vector<double> direct;
  for (int r = 0; r < runs; ++r) direct.push_back(TimedRead(instrument.SlavePath()));
  std::printf("\n| whole read, 9600 bit/s | runs | direct ms (median) | over ser2net ms (median) | "
              "÷ direct |\n|---|---:|---:|---:|---:|\n");
  const struct {
    const char* name;
    const char* accepter;
    const char* scheme;
    int port;
  } modes[] = {{"raw TCP", "tcp", "tcp://", 47011}, {"RFC 2217", "telnet(rfc2217),tcp", "rfc2217://", 47012}};
  for (const auto& mode : modes) {
    Ser2Net server(instrument.SlavePath(), mode.accepter, mode.port);
    if (!server.Started()) {
      std::printf("| %s | ser2net did not start | | | |\n", mode.name);
      continue;
    }
    std::vector<double> network;
    const std::string path = std::string(mode.scheme) + "127.0.0.1:" + std::to_string(mode.port);
    for (int r = 0; r < runs; ++r) network.push_back(TimedRead(path));
    std::printf("| %s | %d | %.1f | %.1f | %.3f |\n", mode.name, runs, Median(direct),
                Median(network), Median(network) / Median(direct));
  }
}

}  // namespace
}  // namespace zrm::bench

int main(int argc, char** argv) {
  using namespace zrm::bench;
  std::string ctl;
  int runs = 1;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    // The batches run in folders of their own: the path must not be relative.
    if (option == "--ctl") ctl = std::filesystem::absolute(argv[i + 1]).string();
    if (option == "--runs") runs = std::max(1, std::atoi(argv[i + 1]));
  }
  if (ctl.empty()) {
    std::fprintf(stderr, "usage: zrm48bench_fleet --ctl PATH [--runs N]\n");
    return 64;
  }
  BatchRows(ctl, runs);
  NetworkRows(std::max(3, runs));
  return 0;
}
