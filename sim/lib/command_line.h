#pragma once
// The options of the zrm48sim program.

#include <map>
#include <string>
#include <vector>

#include "lib/simulator.h"

namespace zrm::sim {

struct ProgramOptions {
  SimulatorOptions simulator;
  std::string link_path;    // --link: symbolic link kept pointing at the slave
  std::string memory_path;  // --memory: memory file applied over the default instrument
  // --memory ADDRESS:FILE: the memory file of the instrument at that address.
  std::map<unsigned, std::string> memory_paths_at;
  bool dump_memory = false; // --dump-memory: print the memory file and exit
  bool help = false;
  bool version = false;      // --version: print the version line and exit
};

// Reads the arguments after the program name. False with a message in
// `error` on an unknown option, a missing or bad value.
bool ParseCommandLine(const std::vector<std::string>& args, ProgramOptions& options,
                      std::string& error);

// The usage text printed by --help and after a usage error.
std::string UsageText();

}  // namespace zrm::sim
