#pragma once
// The emulated instrument behind a fixed device path (a symbolic link, as a
// dev.dat [PORTS] entry would name it), which can vanish and come back on a
// new pseudo-terminal at the same path with its memory kept.

#include <memory>
#include <string>
#include <vector>

#include "lib/simulator.h"

namespace zrm::test {

class InstrumentAtPath {
 public:
  // `link_path` becomes the symbolic link to the instrument's device.
  explicit InstrumentAtPath(std::string link_path);
  ~InstrumentAtPath();

  // Starts a fresh instrument (the default one unless `options` says
  // otherwise) and points the link at it. False with a message on failure.
  bool Start(sim::SimulatorOptions options, std::string& error);

  // The device node disappears with the pulled adapter.
  void Unplug();

  // Brings back a vanished instrument on a new pseudo-terminal at the same
  // path: same memory and faults, the share faults with a new seed.
  bool ComeBack(std::string& error);

  sim::Simulator& Now() { return *current_; }
  const std::string& Path() const { return link_path_; }

  // Every frame every incarnation received, with the seed it ran with.
  struct Frames {
    std::uint64_t seed = 0;
    std::vector<sim::ReceivedFrame> frames;
  };
  std::vector<Frames> AllFrames() const;

 private:
  std::string link_path_;
  sim::SimulatorOptions options_;
  std::unique_ptr<sim::Simulator> current_;
  std::vector<Frames> earlier_;
};

}  // namespace zrm::test
