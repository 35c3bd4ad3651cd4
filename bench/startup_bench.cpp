// zrm48bench_startup: how long the programs take to get going in an empty
// folder, and how much memory they need. For zrm48ctl read: from start to its
// first request on the wire (dev.dat created on the way) and to its end, the
// whole read at 9600 bit/s included. For the window: from start to its first
// painted frame (dev.dat, recent.prf and the default profiles created on the
// way) and to its end after it is closed. Prints a Markdown table.
//
//   zrm48bench_startup [--ctl PATH] [--window PATH] [--runs N]

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "bench_host.h"
#include "child_process.h"
#include "lib/simulator.h"
#include "platform/number_text.h"
#include "sample_stats.h"

namespace zrm::bench {
namespace {

constexpr unsigned kCtlBaud = 9600;  // the speed of a fresh dev.dat
// What the window bench program prints when its first frame is painted,
// followed by the steady clock's count of nanoseconds.
constexpr std::string_view kFirstPaintTag = "first-paint-ns ";

struct Options {
  std::string ctl;
  std::string window;
  int runs = 5;
};

struct StartupSamples {
  std::vector<double> startup_ms, total_ms, peak_mib;
  std::vector<std::string> files;  // of the last run
  std::string failure;
};

double MsBetween(SteadyClock::time_point from, SteadyClock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

std::string Join(const std::vector<std::string>& names) {
  std::string text;
  for (const auto& n : names) text += (text.empty() ? "" : ", ") + n;
  return text;
}

void PrintRow(const std::string& program, const std::string& startup_what,
              const StartupSamples& s) {
  if (!s.failure.empty()) {
    std::printf("| %s | failed: %s |\n", program.c_str(), s.failure.c_str());
    return;
  }
  std::printf("| %s | %zu | %s: %s | %s | %s | %zu: %s |\n", program.c_str(), s.total_ms.size(),
              startup_what.c_str(), FormatFixed(Median(s.startup_ms), 0, 1).c_str(),
              FormatFixed(Median(s.total_ms), 0, 1).c_str(),
              FormatFixed(Median(s.peak_mib), 0, 1).c_str(), s.files.size(),
              Join(s.files).c_str());
}

// One run of `argv` in a fresh empty folder; "{dir}" in an argument stands
// for the folder's path. False with `failure` set when it did not end with 0.
bool RunInEmptyFolder(std::vector<std::string> argv, const std::vector<std::string>& env,
                      ChildRun& run, std::vector<std::string>& files, std::string& failure) {
  const std::string dir = MakeEmptyFolder();
  if (dir.empty()) {
    failure = "no temporary folder";
    return false;
  }
  for (auto& a : argv)
    if (const auto at = a.find("{dir}"); at != std::string::npos) a.replace(at, 5, dir);
  run = RunChild(argv, dir, env);
  files = FolderEntries(dir);
  RemoveFolder(dir);
  if (!run.started) failure = run.error;
  else if (run.exit_status != 0) failure = "exit status " + std::to_string(run.exit_status);
  return failure.empty();
}

StartupSamples MeasureCtlRead(const Options& options) {
  StartupSamples samples;
  sim::SimulatorOptions sim_options;
  sim_options.baud = kCtlBaud;
  sim_options.line_timing = true;
  sim::Simulator simulator(sim_options);
  if (!simulator.Start(&samples.failure)) return samples;
  for (int i = 0; i < options.runs; ++i) {
    simulator.ClearFrames();
    ChildRun run;
    if (!RunInEmptyFolder({options.ctl, "--dir", "{dir}", "--device", simulator.SlavePath(),
                           "read", "{dir}/read.prf"},
                          {}, run, samples.files, samples.failure))
      return samples;
    const auto frames = simulator.Frames();
    if (frames.empty()) {
      samples.failure = "no request reached the instrument";
      return samples;
    }
    samples.startup_ms.push_back(MsBetween(run.spawned, frames.front().first_byte));
    samples.total_ms.push_back(run.wall_ms);
    samples.peak_mib.push_back(static_cast<double>(run.peak_rss_kib) / 1024);
  }
  return samples;
}

// The steady clock's time printed by the window bench program.
bool FirstPaintTime(const std::string& output, SteadyClock::time_point& when) {
  const auto at = output.find(kFirstPaintTag);
  if (at == std::string::npos) return false;
  const char* begin = output.data() + at + kFirstPaintTag.size();
  long long ns = 0;
  if (std::from_chars(begin, output.data() + output.size(), ns).ec != std::errc()) return false;
  when = SteadyClock::time_point(std::chrono::nanoseconds(ns));
  return true;
}

StartupSamples MeasureWindow(const Options& options) {
  StartupSamples samples;
  for (int i = 0; i < options.runs; ++i) {
    ChildRun run;
    if (!RunInEmptyFolder({options.window, "--first-paint"}, {"QT_QPA_PLATFORM=offscreen"}, run,
                          samples.files, samples.failure))
      return samples;
    SteadyClock::time_point painted;
    if (!FirstPaintTime(run.output, painted)) {
      samples.failure = "the window reported no painted frame";
      return samples;
    }
    samples.startup_ms.push_back(MsBetween(run.spawned, painted));
    samples.total_ms.push_back(run.wall_ms);
    samples.peak_mib.push_back(static_cast<double>(run.peak_rss_kib) / 1024);
  }
  return samples;
}

bool ParseOptions(int argc, char** argv, Options& options) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string name = argv[i];
    const std::string value = argv[i + 1];
    // The children start in other folders, so their paths must not be relative.
    if (name == "--ctl") options.ctl = std::filesystem::absolute(value).string();
    else if (name == "--window") options.window = std::filesystem::absolute(value).string();
    else if (name == "--runs") {
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(),
                                             options.runs);
      if (ec != std::errc() || end != value.data() + value.size() || options.runs < 1)
        return false;
    } else return false;
  }
  return argc % 2 == 1;
}

}  // namespace
}  // namespace zrm::bench

int main(int argc, char** argv) {
  using namespace zrm::bench;
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    std::fprintf(stderr, "usage: zrm48bench_startup [--ctl PATH] [--window PATH] [--runs N]\n");
    return 64;
  }
  std::printf("Start-up in an empty folder; %s; load average: %s\n\n", UtcNow().c_str(),
              LoadAverages().c_str());
  std::printf("| program | runs | start-up ms (median) | whole run ms (median) | "
              "peak memory MiB (median) | files it left |\n|---|---:|---|---:|---:|---|\n");
  if (!options.ctl.empty())
    PrintRow("zrm48ctl read", "to first request", MeasureCtlRead(options));
  if (!options.window.empty())
    PrintRow("zrm48setup window", "to first paint", MeasureWindow(options));
  return 0;
}
