#include "app/history_rows.h"

#include <unordered_set>

#include "app/app_texts.h"
#include "app/history_table.h"

namespace zrm {

const std::array<HistoryActionWord, 11> kHistoryActionWords = {{
    {"read", app_texts::kHistoryRead},
    {"compare", app_texts::kHistoryCompare},
    {"backup", app_texts::kHistoryBackup},
    {"search", app_texts::kHistorySearch},
    {"write", app_texts::kHistoryWrite},
    {"write-with-backup", app_texts::kHistoryWriteWithBackup},
    {"changes", app_texts::kHistoryChanges},
    {"resume", app_texts::kHistoryResume},
    {"rollback", app_texts::kHistoryRollback},
    {"plant-write", app_texts::kHistoryPlantWrite},
    {"plant-repair", app_texts::kHistoryPlantRepair},
}};

std::string HistoryActionName(const std::string& action) {
  for (const HistoryActionWord& known : kHistoryActionWords)
    if (known.action == action) return std::string(known.word);
  return action;
}

std::vector<std::size_t> HistoryRowOrder(const std::vector<HistoryEvent>& events) {
  std::unordered_set<std::string_view> closed;
  for (const HistoryEvent& e : events)
    if (!e.opening_id.empty()) closed.insert(e.opening_id);
  std::vector<std::size_t> order;
  order.reserve(events.size() - closed.size());
  for (std::size_t i = events.size(); i-- > 0;)
    if (!closed.contains(events[i].id)) order.push_back(i);
  return order;
}

bool Unfinished(const HistoryEvent& event) { return event.result < 0; }

bool RowMatches(const HistoryEvent& e, const HistoryFilter& filter) {
  return (!filter.since_ms || e.time_ms >= *filter.since_ms) &&
         (!filter.until_ms || e.time_ms <= *filter.until_ms) &&
         (filter.action.empty() || e.action == filter.action);
}

std::string HistoryWho(const HistoryEvent& event) {
  return event.user + " (" + event.workstation + ")";
}

std::string HistoryWhere(const HistoryEvent& event) {
  if (event.address == 0) return event.line;
  return event.line + app_texts::kHistoryAddress + std::to_string(event.address);
}

std::string HistoryInstrument(const HistoryEvent& event) {
  if (event.instrument_number.empty()) return event.instrument_type;
  return event.instrument_type + " " + event.instrument_number;
}

std::string HistoryOutcome(const HistoryEvent& e) {
  if (Unfinished(e)) return app_texts::kHistoryUnfinished;
  if (!e.message.empty()) return e.message;
  return e.result == 0 ? app_texts::kHistoryDone
                       : app_texts::kHistoryFailedCode + std::to_string(e.result);
}

std::string HistoryChanges(const HistoryEvent& event) {
  std::string text;
  for (const ParameterChange& c : event.changes)
    text += (text.empty() ? "" : "\n") + ParameterChangeText(c);
  return text;
}

}  // namespace zrm
