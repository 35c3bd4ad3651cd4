#include "cli/cli_options.h"

#include <charconv>
#include <optional>

#include "platform/number_text.h"

namespace zrm {

namespace {

// An option of the command line with the command it belongs to (none for a
// global option) and whether a value follows it.
struct OptionSpec {
  std::string_view name;
  bool takes_value;
  std::optional<CliCommand> only_for;
};

constexpr OptionSpec kOptionSpecs[] = {
    {"--dir", true, std::nullopt},       {"--device", true, std::nullopt},
    {"--yes", false, std::nullopt},      {"--quiet", false, std::nullopt},
    {"--count", true, CliCommand::Status}, {"--interval", true, CliCommand::Status},
    {"--checked", false, CliCommand::Set}, {"--pdf", true, CliCommand::Report},
};

struct CommandSpec {
  std::string_view name;
  CliCommand command;
};

constexpr CommandSpec kCommandSpecs[] = {
    {"read", CliCommand::Read},     {"write", CliCommand::Write}, {"report", CliCommand::Report},
    {"status", CliCommand::Status}, {"get", CliCommand::Get},     {"set", CliCommand::Set},
};

// An option as it stood on the line.
struct GivenOption {
  const OptionSpec* spec;
  std::string value;
};

const OptionSpec* FindOption(std::string_view name) {
  for (const OptionSpec& spec : kOptionSpecs)
    if (spec.name == name) return &spec;
  return nullptr;
}

// Separates options ("--name VALUE", "--name=VALUE") from the other
// arguments; "--" ends the options, so a file name may start with a dash.
bool SplitArguments(const std::vector<std::string>& args, std::vector<GivenOption>& options,
                    std::vector<std::string>& positional, std::string& error) {
  bool options_ended = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-' || arg == "-") {
      positional.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    if (arg[1] == '.' || (arg[1] >= '0' && arg[1] <= '9')) {
      positional.push_back(arg);  // a negative number is a value, not an option
      continue;
    }
    const std::size_t equals = arg.find('=');
    const OptionSpec* spec =
        arg[1] == '-' ? FindOption(std::string_view(arg).substr(0, equals)) : nullptr;
    if (!spec) {
      error = "unknown option " + arg;
      return false;
    }
    if (!spec->takes_value) {
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
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), parsed, base);
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

bool ApplyOption(const GivenOption& option, CliOptions& options, std::string& error) {
  const std::string_view name = option.spec->name;
  if (name == "--dir") {
    options.dir = option.value;
  } else if (name == "--device") {
    options.device = option.value;
  } else if (name == "--yes") {
    options.yes = true;
  } else if (name == "--quiet") {
    options.quiet = true;
  } else if (name == "--count") {
    if (!NumberArgument("--count", option.value, UINT32_MAX, options.count, error)) return false;
    if (options.count == 0) {
      error = "--count must be at least 1";
      return false;
    }
  } else if (name == "--interval") {
    return NumberArgument("--interval", option.value, UINT32_MAX, options.interval_ms, error);
  } else if (name == "--checked") {
    options.checked = true;
  } else if (name == "--pdf") {
    options.pdf = option.value;
  }
  if ((name == "--dir" || name == "--device" || name == "--pdf") && option.value.empty()) {
    error = std::string(name) + " needs a value";
    return false;
  }
  return true;
}

bool ParseRawKind(const std::string& text, CliOptions& options, std::string& error) {
  if (text == "byte") {
    options.kind = RawKind::Byte;
  } else if (text == "dword") {
    options.kind = RawKind::Dword;
  } else if (text == "status" && options.command == CliCommand::Get) {
    options.kind = RawKind::StatusBlock;
  } else {
    error = "unknown kind \"" + text + "\" (" +
            (options.command == CliCommand::Get ? "byte, dword or status" : "byte or dword") + ")";
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
  if (options.kind == RawKind::StatusBlock) return CheckStatusBlockPlace(options, error);
  if (options.command == CliCommand::Get) return true;
  if (options.kind == RawKind::Byte)
    return NumberArgument("a byte VALUE", args[4], 255, options.byte_value, error);
  if (ParseFloat(args[4], options.float_value)) return true;
  error = "a dword VALUE must be a decimal number, not \"" + args[4] + "\"";
  return false;
}

// Number of arguments after the command word.
std::size_t ArgumentCount(CliCommand command) {
  switch (command) {
    case CliCommand::Read:
    case CliCommand::Write: return 1;
    case CliCommand::Get: return 3;
    case CliCommand::Set: return 4;
    case CliCommand::Report:
    case CliCommand::Status: return 0;
  }
  return 0;
}

bool ParseCommand(const std::vector<std::string>& args, CliOptions& options, std::string& error) {
  if (args.empty()) {
    error = "no command given";
    return false;
  }
  const CommandSpec* found = nullptr;
  for (const CommandSpec& spec : kCommandSpecs)
    if (spec.name == args[0]) found = &spec;
  if (!found) {
    error = "unknown command \"" + args[0] + "\"";
    return false;
  }
  options.command = found->command;
  const std::size_t expected = ArgumentCount(options.command);
  if (args.size() - 1 != expected) {
    error = args[0] + (args.size() - 1 < expected ? ": missing argument" : ": too many arguments");
    return false;
  }
  switch (options.command) {
    case CliCommand::Read:
    case CliCommand::Write: options.file = args[1]; return true;
    case CliCommand::Get:
    case CliCommand::Set: return ParseRawArguments(args, options, error);
    case CliCommand::Report:
    case CliCommand::Status: return true;
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

// True when one of `names` stands among the options (before any "--").
bool AsksFor(const std::vector<std::string>& args, std::initializer_list<std::string_view> names) {
  for (const std::string& arg : args) {
    if (arg == "--") return false;
    for (std::string_view name : names)
      if (arg == name) return true;
  }
  return false;
}

}  // namespace

bool ParseCliOptions(const std::vector<std::string>& args, CliOptions& options,
                     std::string& error) {
  options.help = AsksFor(args, {"--help", "-h"});
  options.version = AsksFor(args, {"--version"});
  if (options.help || options.version) return true;
  std::vector<GivenOption> given;
  std::vector<std::string> positional;
  bool ok = SplitArguments(args, given, positional, error);
  for (const GivenOption& option : given)
    if (ok) ok = ApplyOption(option, options, error);
  return ok && ParseCommand(positional, options, error) &&
         CheckOptionsBelong(given, options.command, error);
}

}  // namespace zrm
