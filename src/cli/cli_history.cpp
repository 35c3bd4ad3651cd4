// zrm48ctl history: the events of the history of changes (the plant's
// database when --history or zrm48setup.ini names one, else the working
// folder's file), as a table on a terminal or CSV, and the check of its
// chains.

#include <unistd.h>

#include <charconv>
#include <ctime>
#include <string>
#include <tuple>

#include "app/history_settings.h"
#include "app/history_table.h"
#include "cli/cli_commands.h"
#include "cli/cli_texts.h"

namespace zrm {

namespace {

constexpr int kNoneMatchExit = 66;
constexpr int kChainBrokenExit = 65;
constexpr std::int64_t kDayMs = 86'400'000;

// "2026-12-09" as the first millisecond of that day, UTC.
bool ParseDay(const std::string& text, std::int64_t& ms) {
  int year = 0, month = 0, day = 0;
  const auto number = [&text](std::size_t at, std::size_t size, int& value) {
    const char* first = text.data() + at;
    const auto [end, ec] = std::from_chars(first, first + size, value);
    return ec == std::errc() && end == first + size;
  };
  if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !number(0, 4, year) ||
      !number(5, 2, month) || !number(8, 2, day) || month < 1 || month > 12 || day < 1 ||
      day > 31)
    return false;
  std::tm at{};
  at.tm_year = year - 1900;
  at.tm_mon = month - 1;
  at.tm_mday = day;
  ms = static_cast<std::int64_t>(timegm(&at)) * 1000;
  return true;
}

void PrintTable(const std::vector<HistoryEvent>& events, std::FILE* out) {
  for (const HistoryEvent& e : events) {
    std::fprintf(out, "%s  %s@%s  %s %s  %s %s  %s:%u  %s  %s  %s\n",
                 HistoryTimeUtc(e.time_ms).c_str(), e.user.c_str(), e.workstation.c_str(),
                 e.program.c_str(), e.version.c_str(), e.instrument_type.c_str(),
                 e.instrument_number.c_str(), e.line.c_str(), e.address, e.action.c_str(),
                 HistoryResultText(e).c_str(), e.message.c_str());
    for (const ParameterChange& c : e.changes)
      std::fprintf(out, "    %s\n", ParameterChangeText(c).c_str());
  }
}

int Verify(HistoryRecorder& history, CliOperator& op, std::FILE* out) {
  std::string error;
  std::optional<ChainBreak> broken;
  std::size_t events = 0;
  if (!history.Verify(broken, events, error)) {
    op.ShowMessage(error, "", MessageIcon::kError);
    return static_cast<int>(result::kFile);
  }
  if (broken) {
    std::fprintf(out, "%s%s (%s)\n",
                 broken->edited ? cli_texts::kHistoryEdited : cli_texts::kHistoryGap,
                 broken->id.c_str(), broken->origin.c_str());
    return kChainBrokenExit;
  }
  std::fprintf(out, "%s%zu\n", cli_texts::kHistoryChainsHold, events);
  return 0;
}

}  // namespace

int RunHistory(const CliOptions& options, CliOperator& op, std::FILE* out) {
  HistoryFilter filter;
  filter.id = options.history_id;
  filter.action = options.action;
  for (const auto& [text, bound, end_of_day] :
       {std::tuple{&options.since_text, &filter.since_ms, false},
        std::tuple{&options.until_text, &filter.until_ms, true}}) {
    if (text->empty()) continue;
    std::int64_t ms = 0;
    if (!ParseDay(*text, ms)) {
      std::fprintf(stderr, "zrm48ctl: %s%s\n", cli_texts::kHistoryBadDate, text->c_str());
      return kUsageExit;
    }
    *bound = end_of_day ? ms + kDayMs - 1 : ms;
  }
  // A folder without a history has no events, and gets no file for asking.
  const std::unique_ptr<HistoryRecorder> history =
      RecorderOf(options.dir, "zrm48ctl", options.history_url);
  if (options.verify) return Verify(*history, op, out);
  std::string error;
  const auto events = history->List(filter, error);
  if (!events) {
    op.ShowMessage(error, "", MessageIcon::kError);
    return static_cast<int>(result::kFile);
  }
  if (events->empty()) {
    std::fprintf(stderr, "%s\n", cli_texts::kNoHistoryEvents);
    return kNoneMatchExit;
  }
  if (options.csv || isatty(fileno(out)) != 1)
    std::fputs(HistoryCsv(*events).c_str(), out);
  else
    PrintTable(*events, out);
  return 0;
}

}  // namespace zrm
