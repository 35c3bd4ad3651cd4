#include "cli/usage_text.h"

#include "cli/option_table.h"

namespace zrm {

namespace {

// Where the help of a command and of an option starts.
constexpr std::size_t kCommandHelpColumn = 37;
constexpr std::size_t kOptionHelpColumn = 17;

// "[--count N]".
std::string Bracketed(const OptionRow& option) {
  std::string text = "[" + std::string(option.name);
  if (!option.value_name.empty()) text += " " + std::string(option.value_name);
  return text + "]";
}

// `head` indented by two, then the help lines from `column` on: the first
// beside `head` when it fits, each further line on its own.
std::string HelpEntry(const std::string& head, std::string_view help, std::size_t column) {
  std::string text = "  " + head;
  if (text.size() < column) {
    text.append(column - text.size(), ' ');
  } else {
    text += "\n" + std::string(column, ' ');
  }
  for (char c : help) {
    text += c;
    if (c == '\n') text.append(column, ' ');
  }
  return text + "\n";
}

std::string Synopsis() {
  std::string text = "usage: zrm48ctl";
  for (const OptionRow& option : OptionRows())
    if (!option.only_for && !option.answers_alone) text += " " + Bracketed(option);
  return text + " COMMAND [ARGS]\n";
}

std::string CommandEntry(const CommandRow& command) {
  std::string head(command.name);
  if (!command.arguments.empty()) head += " " + std::string(command.arguments);
  for (const OptionRow& option : OptionRows())
    if (option.only_for == command.command) head += " " + Bracketed(option);
  return HelpEntry(head, command.help, kCommandHelpColumn);
}

std::string OptionEntry(const OptionRow& option) {
  std::string head(option.name);
  if (!option.value_name.empty()) head += " " + std::string(option.value_name);
  return HelpEntry(head, option.help, kOptionHelpColumn);
}

}  // namespace

std::string UsageText() {
  std::string text = Synopsis() + "\ncommands:\n";
  for (const CommandRow& command : CommandRows()) text += CommandEntry(command);
  text += "\noptions:\n";
  for (const OptionRow& option : OptionRows())
    if (!option.only_for) text += OptionEntry(option);
  return text +
         "\n"
         "exit status: 0 success; 1..24 the instrument or check error shown on stderr;\n"
         "64 usage error; 65 diff: the instrument differs from the profile;\n"
         "66 resume, rollback: no unfinished write; 67 rollback: no backup;\n"
         "75 batch: a row failed (--resume runs it again).\n";
}

std::string VersionText() { return std::string("zrm48ctl ") + ZRM_VERSION; }

}  // namespace zrm
