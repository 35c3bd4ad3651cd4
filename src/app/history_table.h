#pragma once
// The history of changes as a table, the same for zrm48ctl and the window:
// the texts of its cells and its CSV, so that a file exported from either
// holds the same bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "history/history_event.h"

namespace zrm {

// "2026-12-09 18:40:12.345", UTC.
std::string HistoryTimeUtc(std::int64_t time_ms);

// "09.12.2026 21:40:12", the local time of this machine.
std::string HistoryLocalTime(std::int64_t time_ms);

// The event's result code, or "идёт" for a write's opening event.
std::string HistoryResultText(const HistoryEvent& event);

// "Канал 1: Уставка I: 151.0000 → 42.5000".
std::string ParameterChangeText(const ParameterChange& change);

// The CSV of `events`: the header line, then one line per event with its
// changes joined by "; ".
std::string HistoryCsv(const std::vector<HistoryEvent>& events);

}  // namespace zrm
