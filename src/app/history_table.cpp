#include "app/history_table.h"

#include <cstdio>
#include <ctime>

#include "app/app_texts.h"
#include "app/csv_field.h"

namespace zrm {

namespace {

constexpr const char* kCsvHeader =
    "id,time_utc,workstation,user,program,version,instrument_type,instrument_number,firmware,"
    "line,address,action,result,message,backup,journal,opening_id,changes,hash\n";

std::tm Broken(std::int64_t time_ms, bool local) {
  const auto seconds = static_cast<std::time_t>(time_ms / 1000);
  std::tm at{};
  if (local)
    localtime_r(&seconds, &at);
  else
    gmtime_r(&seconds, &at);
  return at;
}

std::string CsvLine(const HistoryEvent& e) {
  std::string changes;
  for (const ParameterChange& c : e.changes)
    changes += (changes.empty() ? "" : "; ") + ParameterChangeText(c);
  std::string line;
  for (const std::string& field :
       {e.id, HistoryTimeUtc(e.time_ms), e.workstation, e.user, e.program, e.version,
        e.instrument_type, e.instrument_number, e.firmware, e.line, std::to_string(e.address),
        e.action, HistoryResultText(e), e.message, e.backup, e.journal, e.opening_id, changes,
        e.hash})
    line += (line.empty() ? "" : ",") + CsvField(field);
  return line + "\n";
}

}  // namespace

std::string HistoryTimeUtc(std::int64_t time_ms) {
  const std::tm at = Broken(time_ms, false);
  char text[80];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", at.tm_year + 1900,
                at.tm_mon + 1, at.tm_mday, at.tm_hour, at.tm_min, at.tm_sec,
                static_cast<int>(time_ms % 1000));
  return text;
}

std::string HistoryLocalTime(std::int64_t time_ms) {
  const std::tm at = Broken(time_ms, true);
  char text[80];
  std::snprintf(text, sizeof text, "%02d.%02d.%04d %02d:%02d:%02d", at.tm_mday, at.tm_mon + 1,
                at.tm_year + 1900, at.tm_hour, at.tm_min, at.tm_sec);
  return text;
}

std::string HistoryResultText(const HistoryEvent& event) {
  return event.result < 0 ? app_texts::kHistoryUnderWay : std::to_string(event.result);
}

std::string ParameterChangeText(const ParameterChange& change) {
  return change.name + ": " + change.before + " → " + change.after;
}

std::string HistoryCsv(const std::vector<HistoryEvent>& events) {
  std::string csv = kCsvHeader;
  for (const HistoryEvent& e : events) csv += CsvLine(e);
  return csv;
}

}  // namespace zrm
