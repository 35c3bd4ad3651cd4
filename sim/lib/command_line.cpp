#include "lib/command_line.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>

#include "lib/bus_addresses.h"

namespace zrm::sim {
namespace {

bool Number(const std::string& text, std::uint64_t low, std::uint64_t high, std::uint64_t& value) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && ec == std::errc() && end == text.data() + text.size() && value >= low &&
         value <= high;
}

enum class ValueKind { kNone, kNumber, kText };

// One option, declared once: its name, its value and range, and what it sets.
struct OptionRow {
  std::string_view name;
  std::string_view alias;       // another spelling, or empty
  ValueKind kind;
  std::string_view value_name;  // as the usage shows it
  bool repeats;                 // may be given more than once ("..." in the usage)
  std::uint64_t low;            // range of a number
  std::uint64_t high;
  // Sets the option's value (`number` for a number, `text` otherwise); false
  // with `error` when the value is refused.
  bool (*set)(ProgramOptions& options, std::uint64_t number, const std::string& text,
              std::string& error);
};

constexpr OptionRow kOptionRows[] = {
    {"--link", "", ValueKind::kText, "PATH", false, 0, 0,
     [](ProgramOptions& o, std::uint64_t, const std::string& text, std::string&) {
       o.link_path = text;
       return true;
     }},
    {"--address", "", ValueKind::kText, "N", false, 0, 0,
     [](ProgramOptions& o, std::uint64_t, const std::string& text, std::string& error) {
       std::vector<unsigned> addresses;
       if (!ParseBusAddresses(text, addresses, error)) {
         error = "--address: " + error + " (a number, a list 1,3,7 or a range 1-4)";
         return false;
       }
       o.simulator.address = addresses.front();
       o.simulator.more_addresses.assign(addresses.begin() + 1, addresses.end());
       return true;
     }},
    {"--baud", "", ValueKind::kNumber, "B", false, 50, 4000000,
     [](ProgramOptions& o, std::uint64_t n, const std::string&, std::string&) {
       o.simulator.baud = static_cast<unsigned>(n);
       o.simulator.check_speed = true;
       return true;
     }},
    {"--line-timing", "", ValueKind::kNone, "", false, 0, 0,
     [](ProgramOptions& o, std::uint64_t, const std::string&, std::string&) {
       o.simulator.line_timing = true;
       return true;
     }},
    {"--turnaround", "", ValueKind::kNumber, "MS", false, 0, 60000,
     [](ProgramOptions& o, std::uint64_t n, const std::string&, std::string&) {
       o.simulator.turnaround = std::chrono::milliseconds(n);
       return true;
     }},
    {"--restart-ms", "", ValueKind::kNumber, "MS", false, 0, 600000,
     [](ProgramOptions& o, std::uint64_t n, const std::string&, std::string&) {
       o.simulator.restart_time = std::chrono::milliseconds(n);
       return true;
     }},
    {"--round-floats", "", ValueKind::kNumber, "DECIMALS", false, 0, 6,
     [](ProgramOptions& o, std::uint64_t n, const std::string&, std::string&) {
       o.simulator.float_decimals = static_cast<int>(n);
       return true;
     }},
    {"--memory", "", ValueKind::kText, "[ADDRESS:]FILE", true, 0, 0,
     [](ProgramOptions& o, std::uint64_t, const std::string& text, std::string& error) {
       // "3:FILE" names the instrument at address 3; a file whose name
       // looks like that is given as "./3:FILE".
       const std::size_t colon = text.find(':');
       std::uint64_t address = 0;
       if (colon == std::string::npos || !Number(text.substr(0, colon), 1, 255, address)) {
         o.memory_path = text;
         return true;
       }
       if (colon + 1 == text.size() || o.memory_paths_at.count(address)) {
         error = "--memory " + text + ": one file for each address";
         return false;
       }
       o.memory_paths_at[static_cast<unsigned>(address)] = text.substr(colon + 1);
       return true;
     }},
    {"--fault", "", ValueKind::kText, "SPEC", true, 0, 0,
     [](ProgramOptions& o, std::uint64_t, const std::string& text, std::string& error) {
       Fault fault;
       if (!ParseFault(text, fault, error)) return false;
       o.simulator.faults.push_back(fault);
       return true;
     }},
    {"--serial", "", ValueKind::kNumber, "N", false, 0, 65535,
     [](ProgramOptions& o, std::uint64_t n, const std::string&, std::string&) {
       o.simulator.serial = static_cast<std::uint32_t>(n);
       return true;
     }},
    {"--seed", "", ValueKind::kNumber, "N", false, 0, UINT64_MAX,
     [](ProgramOptions& o, std::uint64_t n, const std::string&, std::string&) {
       o.simulator.seed = n;
       return true;
     }},
    {"--dump-memory", "", ValueKind::kNone, "", false, 0, 0,
     [](ProgramOptions& o, std::uint64_t, const std::string&, std::string&) {
       o.dump_memory = true;
       return true;
     }},
    {"--wrong-speed", "", ValueKind::kText, "garbage|silent", false, 0, 0,
     [](ProgramOptions& o, std::uint64_t, const std::string& text, std::string& error) {
       if (text != "garbage" && text != "silent") {
         error = "--wrong-speed takes garbage or silent";
         return false;
       }
       o.simulator.wrong_speed =
           text == "silent" ? WrongSpeedAnswer::kSilent : WrongSpeedAnswer::kGarbage;
       return true;
     }},
    {"--help", "-h", ValueKind::kNone, "", false, 0, 0,
     [](ProgramOptions& o, std::uint64_t, const std::string&, std::string&) {
       o.help = true;
       return true;
     }},
    {"--version", "", ValueKind::kNone, "", false, 0, 0,
     [](ProgramOptions& o, std::uint64_t, const std::string&, std::string&) {
       o.version = true;
       return true;
     }},
};

// The usage's lines are no longer than this.
constexpr std::size_t kUsageWidth = 80;

const OptionRow* FindOption(const std::string& name) {
  for (const OptionRow& row : kOptionRows)
    if (row.name == name || (!row.alias.empty() && row.alias == name)) return &row;
  return nullptr;
}

// "[--fault SPEC]...".
std::string UsageToken(const OptionRow& row) {
  std::string token = "[" + std::string(row.name);
  if (row.kind != ValueKind::kNone) token += " " + std::string(row.value_name);
  return token + (row.repeats ? "]..." : "]");
}

}  // namespace

std::string UsageText() {
  const std::string head = "usage: zrm48sim";
  std::string text = head;
  std::size_t line_start = 0;
  for (const OptionRow& row : kOptionRows) {
    const std::string token = UsageToken(row);
    if (text.size() - line_start + 1 + token.size() > kUsageWidth) {
      line_start = text.size() + 1;
      text += "\n" + std::string(head.size(), ' ');
    }
    text += " " + token;
  }
  return text +
         "\n"
         "  SPEC is KIND[=ARG]@WHEN; KIND: noreply, cut[=KEPT], garbage[=N], long,\n"
         "  code=HHHH, delay=MS, wrong, nul[=N], vanish; WHEN: a request number (3),\n"
         "  a parameter (2:15, 2:15:dword, 1:6:byte) or a share (25%).\n"
         "  --address N may be a list (1,3,7) or a range (1-4): one instrument each.\n"
         "  --memory 3:FILE gives the instrument at address 3 its own memory.\n"
         "  --baud B also makes a client at another speed hear garbage (or nothing).\n";
}

bool ParseCommandLine(const std::vector<std::string>& args, ProgramOptions& options,
                      std::string& error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    const OptionRow* row = FindOption(option);
    if (!row) {
      error = "unknown option " + option;
      return false;
    }
    const std::string value = row->kind != ValueKind::kNone && i + 1 < args.size() ? args[++i] : "";
    std::uint64_t number = 0;
    if (row->kind == ValueKind::kNumber && !Number(value, row->low, row->high, number)) {
      error = option + " needs a number " + std::to_string(row->low) + ".." +
              std::to_string(row->high);
      return false;
    }
    if (row->kind == ValueKind::kText && value.empty()) {
      error = option + " needs a value";
      return false;
    }
    if (!row->set(options, number, value, error)) return false;
  }
  // Every instrument of the bus gets a number of its own.
  const SimulatorOptions& sim = options.simulator;
  for (const auto& [address, path] : options.memory_paths_at) {
    if (address != sim.address && std::find(sim.more_addresses.begin(), sim.more_addresses.end(),
                                             address) == sim.more_addresses.end()) {
      error = "--memory " + std::to_string(address) + ":" + path + ": no instrument at that address";
      return false;
    }
  }
  if (sim.serial && *sim.serial + sim.more_addresses.size() > 65535) {
    error = "--serial leaves no serial number for the last instruments (at most 65535)";
    return false;
  }
  return true;
}

}  // namespace zrm::sim
