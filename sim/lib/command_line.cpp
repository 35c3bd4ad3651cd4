#include "lib/command_line.h"

#include <charconv>
#include <cstdint>

namespace zrm::sim {
namespace {

bool Number(const std::string& text, std::uint64_t low, std::uint64_t high, std::uint64_t& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size() && value >= low &&
         value <= high;
}

}  // namespace

std::string UsageText() {
  return "usage: zrm48sim [--link PATH] [--address N] [--baud B] [--line-timing]\n"
         "                [--turnaround MS] [--restart-ms MS] [--round-floats DECIMALS]\n"
         "                [--memory FILE] [--fault SPEC]... [--seed N] [--dump-memory]\n"
         "                [--help] [--version]\n"
         "  SPEC is KIND[=ARG]@WHEN; KIND: noreply, cut[=KEPT], garbage[=N], long,\n"
         "  code=HHHH, delay=MS, wrong, nul[=N], vanish; WHEN: a request number (3),\n"
         "  a parameter (2:15, 2:15:dword, 1:6:byte) or a share (25%).\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, ProgramOptions& options,
                      std::string& error) {
  SimulatorOptions& sim = options.simulator;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    const bool has_value = i + 1 < args.size();
    const std::string value = has_value ? args[i + 1] : std::string();
    std::uint64_t number = 0;
    auto numeric = [&](std::uint64_t low, std::uint64_t high) {
      if (!has_value || !Number(value, low, high, number)) {
        error = option + " needs a number " + std::to_string(low) + ".." + std::to_string(high);
        return false;
      }
      ++i;
      return true;
    };
    auto text = [&](std::string& out) {
      if (!has_value || value.empty()) {
        error = option + " needs a value";
        return false;
      }
      out = value;
      ++i;
      return true;
    };
    if (option == "--help" || option == "-h") {
      options.help = true;
    } else if (option == "--version") {
      options.version = true;
    } else if (option == "--line-timing") {
      sim.line_timing = true;
    } else if (option == "--dump-memory") {
      options.dump_memory = true;
    } else if (option == "--address") {
      if (!numeric(0, 0xFFFFFFFFull)) return false;
      sim.address = static_cast<unsigned>(number);
    } else if (option == "--baud") {
      if (!numeric(50, 4000000)) return false;
      sim.baud = static_cast<unsigned>(number);
    } else if (option == "--turnaround") {
      if (!numeric(0, 60000)) return false;
      sim.turnaround = std::chrono::milliseconds(number);
    } else if (option == "--restart-ms") {
      if (!numeric(0, 600000)) return false;
      sim.restart_time = std::chrono::milliseconds(number);
    } else if (option == "--round-floats") {
      if (!numeric(0, 6)) return false;
      sim.float_decimals = static_cast<int>(number);
    } else if (option == "--seed") {
      if (!numeric(0, UINT64_MAX)) return false;
      sim.seed = number;
    } else if (option == "--link") {
      if (!text(options.link_path)) return false;
    } else if (option == "--memory") {
      if (!text(options.memory_path)) return false;
    } else if (option == "--fault") {
      std::string fault_text;
      if (!text(fault_text)) return false;
      Fault fault;
      if (!ParseFault(fault_text, fault, error)) return false;
      sim.faults.push_back(fault);
    } else {
      error = "unknown option " + option;
      return false;
    }
  }
  return true;
}

}  // namespace zrm::sim
