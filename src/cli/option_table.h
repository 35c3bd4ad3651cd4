#pragma once
// The command line of zrm48ctl declared once: each option with the value it
// takes, its range, the command it belongs to and what it sets, and each
// command with its arguments. The parser and the usage text both read these
// tables.

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <variant>

#include "cli/cli_options.h"

namespace zrm {

// A whole number option: the field it sets and its range.
struct CountField {
  std::uint32_t CliOptions::* field;
  std::uint32_t min;
  std::uint32_t max;
};

// What an option sets: a switch (true when given), a text that must not be
// empty, or a whole number in a range.
using OptionTarget = std::variant<bool CliOptions::*, std::string CliOptions::*, CountField>;

struct OptionRow {
  std::string_view name;                // "--count"
  std::string_view alias;               // another spelling ("-h"), or empty
  std::string_view value_name;          // "N"; empty for a switch
  std::optional<CliCommand> only_for;   // none: a global option
  bool answers_alone;                   // --help, --version: honoured anywhere, nothing else runs
  OptionTarget target;
  std::string_view help;                // lines of the usage text, "\n" between them
};

struct CommandRow {
  std::string_view name;
  CliCommand command;
  std::string_view arguments;  // as the usage shows them
  std::size_t argument_count;
  std::string_view help;       // lines of the usage text, "\n" between them
};

// Every option row. An option that several commands take with different
// meanings has a row for each; the parser uses the row of the command given.
std::span<const OptionRow> OptionRows();
std::span<const CommandRow> CommandRows();

}  // namespace zrm
