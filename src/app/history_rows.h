#pragma once
// The history of changes as the window lists it: one row per event, newest
// first, a write's two events in one row, and the texts of its cells.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "history/history_event.h"
#include "history/history_store.h"

namespace zrm {

// An action of the history and the word the window shows for it.
struct HistoryActionWord {
  std::string_view action;
  std::string_view word;
};

// The actions the programs record, in the order the window's filter lists
// them.
extern const std::array<HistoryActionWord, 11> kHistoryActionWords;

// The word of `action`; the action itself when this program does not know
// it (an event of a newer program).
std::string HistoryActionName(const std::string& action);

// The rows the window shows of `events` (as listed: oldest first), as
// indices into them, newest first. A write's opening event goes into the
// row of its closing event and has none of its own; one whose closing event
// is not among `events` keeps its row, unfinished. The events stay where
// they are: a listing of 100 000 is ordered without moving one.
std::vector<std::size_t> HistoryRowOrder(const std::vector<HistoryEvent>& events);

// True for a write's opening event shown as a row of its own: a write
// whose end the history does not know.
bool Unfinished(const HistoryEvent& event);

// True when the event lies within the filter's times and has its action;
// its id and instrument are the listing's business.
bool RowMatches(const HistoryEvent& event, const HistoryFilter& filter);

// "ivanov (stand-3)".
std::string HistoryWho(const HistoryEvent& event);
// "/dev/ttyUSB0, адрес 1"; the line alone for an event at no address.
std::string HistoryWhere(const HistoryEvent& event);
// "4813 047-12345"; empty when the instrument was not identified.
std::string HistoryInstrument(const HistoryEvent& event);
// "выполнено", the message the user was told, or "не завершена".
std::string HistoryOutcome(const HistoryEvent& event);
// "name: before → after", one line per parameter.
std::string HistoryChanges(const HistoryEvent& event);

}  // namespace zrm
