#pragma once
// An event as the row both stores keep it in (the local file and the
// plant's database): the same columns, each value as text, the changes as
// one text of "name<TAB>before<TAB>after" lines.

#include <functional>
#include <string>
#include <vector>

#include "history/history_event.h"

namespace zrm {

// The version of the tables both stores keep; a file or database of a
// higher one comes from a newer program.
inline constexpr int kHistorySchemaVersion = 1;

// What a store's schema_version says of its tables.
enum class SchemaVersion {
  kKnown,  // this program's version or an older one
  kNotOurs,  // missing or not a number: another program's tables
  kNewer,  // a newer program's
};
SchemaVersion JudgeSchemaVersion(const std::string& stored);

// The columns EventRow fills and EventOfRow reads, in that order; "user" is
// quoted, as PostgreSQL reserves the word.
inline constexpr const char* kEventColumns =
    "id, time_ms, workstation, \"user\", program, version, instrument_type, instrument_number,"
    " firmware, line, address, action, result, message, backup, journal, changes, opening_id,"
    " previous_hash, hash";

// How many columns kEventColumns names.
inline constexpr int kEventColumnCount = 20;

// The values of kEventColumns for `event`, numbers in decimal.
std::vector<std::string> EventRow(const HistoryEvent& event);

// The event whose kEventColumns values `column(0)`, `column(1)`, … give.
HistoryEvent EventOfRow(const std::function<std::string(int)>& column);

}  // namespace zrm
