#pragma once
// What a listing of the history takes, and how both stores (the local file
// and the plant's database) apply it in SQL.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace zrm {

// What to list; an empty field lists every one.
struct HistoryFilter {
  std::string id;
  std::string instrument_number;
  std::string action;
  std::optional<std::int64_t> since_ms;  // from this moment on
  std::optional<std::int64_t> until_ms;  // up to this moment
};

// " WHERE … ORDER BY …" of a listing, oldest first, and the values of its
// parameters (`mark`1, `mark`2, …: "?" for SQLite, "$" for PostgreSQL) as
// text. Only the conditions the filter asks for: one instrument's events
// come from its index, already in time order, rather than from a scan of
// every event.
struct FilterSql {
  std::string clause;
  std::vector<std::string> values;
};
FilterSql FilterClause(const HistoryFilter& filter, char mark);

}  // namespace zrm
