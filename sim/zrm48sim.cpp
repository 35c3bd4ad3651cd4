// zrm48sim: an emulated ZRM 48xx instrument on a pseudo-terminal. Prints the
// slave device path on its first stdout line and serves until SIGINT or
// SIGTERM (or until a "vanish" fault closes the device).

#include <signal.h>

#include <cstdio>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

#include "lib/command_line.h"
#include "lib/default_instrument.h"
#include "lib/device_symlink.h"
#include "lib/memory_file.h"
#include "lib/simulator.h"

namespace {

constexpr int kExitUsage = 64;
constexpr int kExitFailure = 1;

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

// Waits for SIGINT/SIGTERM (blocked, so the serving thread never takes them)
// while the device is still served.
void WaitForStop(const zrm::sim::Simulator& simulator, const sigset_t& signals) {
  const timespec tick{0, 200'000'000};
  while (simulator.Serving()) {
    if (sigtimedwait(&signals, nullptr, &tick) > 0) return;
  }
}

int Serve(const zrm::sim::ProgramOptions& options) {
  const sigset_t signals = StopSignals();
  pthread_sigmask(SIG_BLOCK, &signals, nullptr);
  zrm::sim::Simulator simulator(options.simulator);
  std::string error;
  if (!simulator.Start(&error)) {
    std::cerr << "zrm48sim: " << error << "\n";
    return kExitFailure;
  }
  const std::string path = simulator.SlavePath();
  // The link exists before the path is printed: a script may use either at once.
  if (!options.link_path.empty() &&
      !zrm::sim::CreateDeviceSymlink(options.link_path, path, error)) {
    std::cerr << "zrm48sim: " << error << "\n";
    return kExitFailure;
  }
  std::cout << path << std::endl;  // flushed: scripts read it at once
  WaitForStop(simulator, signals);
  simulator.Stop();
  if (!options.link_path.empty()) zrm::sim::RemoveDeviceSymlink(options.link_path, path);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  zrm::sim::ProgramOptions options;
  std::string error;
  if (!zrm::sim::ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), options,
                                  error)) {
    std::cerr << "zrm48sim: " << error << "\n" << zrm::sim::UsageText();
    return kExitUsage;
  }
  if (options.help) {
    std::cout << zrm::sim::UsageText();
    return 0;
  }
  if (options.version) {
    std::cout << "zrm48sim " << ZRM_VERSION << "\n";
    return 0;
  }
  zrm::sim::ParameterMemory memory = zrm::sim::DefaultInstrumentMemory();
  if (!options.memory_path.empty() && !zrm::sim::LoadMemoryFile(options.memory_path, memory, error)) {
    std::cerr << "zrm48sim: " << error << "\n";
    return kExitFailure;
  }
  if (options.dump_memory) {
    std::cout << zrm::sim::MemoryFileText(memory);
    return 0;
  }
  options.simulator.memory = memory;
  for (const auto& [address, path] : options.memory_paths_at) {
    zrm::sim::ParameterMemory own = zrm::sim::DefaultInstrumentMemory();
    if (!zrm::sim::LoadMemoryFile(path, own, error)) {
      std::cerr << "zrm48sim: " << error << "\n";
      return kExitFailure;
    }
    options.simulator.memory_at[address] = own;
  }
  return Serve(options);
}
