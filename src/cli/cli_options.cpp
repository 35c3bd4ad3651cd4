#include "cli/cli_options.h"

#include <charconv>

#include "bus/address_list.h"
#include "cli/option_table.h"
#include "history/database_url.h"
#include "history/history_texts.h"
#include "platform/number_text.h"

namespace zrm {

namespace {

// An option as it stood on the line.
struct GivenOption {
  const OptionRow* spec;
  std::string value;
};

// The row of the option `name`: the one for `command` when it has one of
// its own, else the first of that name.
const OptionRow* FindOption(std::string_view name,
                            std::optional<CliCommand> command = std::nullopt) {
  const OptionRow* first = nullptr;
  for (const OptionRow& row : OptionRows()) {
    if (row.name != name && (row.alias.empty() || row.alias != name)) continue;
    if (command && row.only_for == command) return &row;
    if (!first) first = &row;
  }
  return first;
}

// Each option as the command named first among the arguments takes it.
void UseRowsOfCommand(const std::vector<std::string>& positional, std::vector<GivenOption>& given) {
  if (positional.empty()) return;
  for (const CommandRow& row : CommandRows()) {
    if (row.name != positional.front()) continue;
    for (GivenOption& option : given) option.spec = FindOption(option.spec->name, row.command);
  }
}

// The option `args[i]` ("--name" or "--name=VALUE") with its value, which
// may be the next argument (then `i` moves past it).
bool TakeOption(const std::vector<std::string>& args, std::size_t& i,
                std::vector<GivenOption>& options, std::string& error) {
  const std::string& arg = args[i];
  const std::size_t equals = arg.find('=');
  const OptionRow* spec =
      arg[1] == '-' ? FindOption(std::string_view(arg).substr(0, equals)) : nullptr;
  if (!spec) {
    error = "unknown option " + arg;
    return false;
  }
  if (spec->value_name.empty()) {
    if (equals != std::string::npos) {
      error = std::string(spec->name) + " takes no value";
      return false;
    }
    options.push_back({spec, {}});
  } else if (equals != std::string::npos) {
    options.push_back({spec, arg.substr(equals + 1)});
  } else if (i + 1 < args.size()) {
    options.push_back({spec, args[++i]});
  } else {
    error = std::string(spec->name) + " needs a value";
    return false;
  }
  return true;
}

// Separates options ("--name VALUE", "--name=VALUE") from the other
// arguments; "--" ends the options, so a file name may start with a dash.
bool SplitArguments(const std::vector<std::string>& args, std::vector<GivenOption>& options,
                    std::vector<std::string>& positional, std::string& error) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    // A negative number is a value, not an option.
    const bool value_or_name = options_ended || arg.size() < 2 || arg[0] != '-' || arg == "-" ||
                               arg[1] == '.' || (arg[1] >= '0' && arg[1] <= '9');
    if (value_or_name)
      positional.push_back(arg);
    else if (arg == "--")
      options_ended = true;
    else if (!TakeOption(args, i, options, error))
      return false;
  }
  return true;
}

// A whole decimal number, or hexadecimal after "0x", within 0..max.
bool ParseUnsigned(const std::string& text, std::uint32_t max, std::uint32_t& value) {
  std::string_view digits = text;
  int base = 10;
  if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
    digits.remove_prefix(2);
    base = 16;
  }
  std::uint32_t parsed = 0;
  const auto [end, ec] =
      std::from_chars(digits.data(), digits.data() + digits.size(), parsed, base);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || parsed > max)
    return false;
  value = parsed;
  return true;
}

// A decimal number with an optional fraction and exponent, the whole text.
bool ParseFloat(const std::string& text, float& value) {
  std::size_t consumed = 0;
  float parsed = 0;
  if (text.empty() || text.front() == ' ' || !ScanFloat(text, parsed, &consumed) ||
      consumed != text.size())
    return false;
  value = parsed;
  return true;
}

bool NumberArgument(const std::string& what, const std::string& text, std::uint32_t max,
                    std::uint32_t& value, std::string& error) {
  if (ParseUnsigned(text, max, value)) return true;
  error = what + " must be a whole number 0.." + std::to_string(max) + ", not \"" + text + "\"";
  return false;
}

// Sets what the option's row names, within the row's range.
bool ApplyOption(const GivenOption& option, CliOptions& options, std::string& error) {
  const std::string name(option.spec->name);
  const OptionTarget& target = option.spec->target;
  if (auto flag = std::get_if<bool CliOptions::*>(&target)) {
    options.** flag = true;
    return true;
  }
  if (auto text = std::get_if<std::string CliOptions::*>(&target)) {
    options.** text = option.value;
    if (!option.value.empty()) return true;
    error = name + " needs a value";
    return false;
  }
  // The range named is the one checked: "--jobs must be a whole number 1..64".
  const CountField& count = std::get<CountField>(target);
  std::uint32_t& value = options.*count.field;
  if (ParseUnsigned(option.value, count.max, value) && value >= count.min) return true;
  error = name + " must be a whole number " + std::to_string(count.min) + ".." +
          std::to_string(count.max) + ", not \"" + option.value + "\"";
  return false;
}

bool ParseRawKind(const std::string& text, CliOptions& options, std::string& error) {
  if (text == "byte") {
    options.kind = RawKind::kByte;
  } else if (text == "dword") {
    options.kind = RawKind::kDword;
  } else if (text == "status" && options.command == CliCommand::kGet) {
    options.kind = RawKind::kStatusBlock;
  } else {
    error = "unknown kind \"" + text + "\" (" +
            (options.command == CliCommand::kGet ? "byte, dword or status" : "byte or dword") + ")";
    return false;
  }
  return true;
}

// The status block lies at space 1, address 2 and nowhere else. A space
// other than 1 or 2 goes on, to be refused like any other such space.
bool CheckStatusBlockPlace(const CliOptions& options, std::string& error) {
  const bool known_space = options.space == 1 || options.space == 2;
  if (!known_space || (options.space == 1 && options.address == 2)) return true;
  error = "the status block is read as: get 1 2 status";
  return false;
}

// SPACE ADDR KIND [VALUE] of get and set.
bool ParseRawArguments(const std::vector<std::string>& args, CliOptions& options,
                       std::string& error) {
  if (!NumberArgument("SPACE", args[1], UINT32_MAX, options.space, error) ||
      !NumberArgument("ADDR", args[2], kMaxParameterAddress, options.address, error) ||
      !ParseRawKind(args[3], options, error))
    return false;
  if (options.kind == RawKind::kStatusBlock) return CheckStatusBlockPlace(options, error);
  if (options.command == CliCommand::kGet) return true;
  if (options.kind == RawKind::kByte)
    return NumberArgument("a byte VALUE", args[4], 255, options.byte_value, error);
  if (ParseFloat(args[4], options.float_value)) return true;
  error = "a dword VALUE must be a decimal number, not \"" + args[4] + "\"";
  return false;
}

// The search plan of scan from its options' texts; defaults where none given.
bool ParseScanPlan(CliOptions& options, std::string& error) {
  SearchPlan& plan = options.plan;
  plan.margin_ms = options.probe_ms;
  if (!options.speeds_text.empty() && !ParseSpeedList(options.speeds_text, plan.speeds, error))
    return false;
  return options.addresses_text.empty() ||
         ParseAddressRange(options.addresses_text, plan.first_address, plan.last_address, error);
}

bool ParseWatchAddresses(CliOptions& options, std::string& error) {
  if (options.addresses_text.empty()) return true;
  if (ParseAddressList(options.addresses_text, options.watch_addresses, error)) return true;
  error = "--addresses: " + error;
  return false;
}

bool ParseCommand(const std::vector<std::string>& args, CliOptions& options, std::string& error) {
  if (args.empty()) {
    error = "no command given";
    return false;
  }
  const CommandRow* found = nullptr;
  for (const CommandRow& row : CommandRows())
    if (row.name == args[0]) found = &row;
  if (!found) {
    error = "unknown command \"" + args[0] + "\"";
    return false;
  }
  options.command = found->command;
  const std::size_t expected = found->argument_count;
  // history's event id may be left out.
  const bool optional_left_out = options.command == CliCommand::kHistory && args.size() == 1;
  if (args.size() - 1 != expected && !optional_left_out) {
    error = args[0] + (args.size() - 1 < expected ? ": missing argument" : ": too many arguments");
    return false;
  }
  switch (options.command) {
    case CliCommand::kRead:
    case CliCommand::kWrite:
    case CliCommand::kDiff:
    case CliCommand::kBatch: options.file = args[1]; return true;
    case CliCommand::kGet:
    case CliCommand::kSet: return ParseRawArguments(args, options, error);
    case CliCommand::kScan: return ParseScanPlan(options, error);
    case CliCommand::kWatch: return ParseWatchAddresses(options, error);
    case CliCommand::kHistory:
      if (args.size() > 1) options.history_id = args[1];
      return true;
    case CliCommand::kReport:
    case CliCommand::kStatus:
    case CliCommand::kBackup:
    case CliCommand::kPorts:
    case CliCommand::kResume:
    case CliCommand::kRollback: return true;
  }
  return true;
}

// An option that belongs to one command is refused with any other.
bool CheckOptionsBelong(const std::vector<GivenOption>& given, CliCommand command,
                        std::string& error) {
  for (const GivenOption& option : given) {
    if (option.spec->only_for && *option.spec->only_for != command) {
      error = std::string(option.spec->name) + " does not go with this command";
      return false;
    }
  }
  return true;
}

// --history names a database URL that parses.
bool CheckHistoryUrl(const CliOptions& options, std::string& error) {
  std::string why;
  if (options.history_url.empty() || CheckDatabaseUrl(options.history_url, why)) return true;
  error = "--history: " + std::string(history_texts::kBadDatabaseUrl) + why;
  return false;
}

// Sets the options that answer alone (--help, --version) wherever they stand
// among the options (before any "--"); true when one does.
bool AnswersAlone(const std::vector<std::string>& args, CliOptions& options) {
  bool found = false;
  for (const std::string& arg : args) {
    if (arg == "--") break;
    const OptionRow* row = FindOption(arg);
    if (!row || !row->answers_alone) continue;
    options.*std::get<bool CliOptions::*>(row->target) = true;
    found = true;
  }
  return found;
}

}  // namespace

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options,
                     std::string& error) {
  if (AnswersAlone(args, options)) return true;
  std::vector<GivenOption> given;
  std::vector<std::string> positional;
  bool ok = SplitArguments(args, given, positional, error);
  UseRowsOfCommand(positional, given);
  for (const GivenOption& option : given)
    if (ok) ok = ApplyOption(option, options, error);
  return ok && ParseCommand(positional, options, error) &&
         CheckOptionsBelong(given, options.command, error) && CheckHistoryUrl(options, error);
}

}  // namespace zrm
