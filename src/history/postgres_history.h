#pragma once
// The plant's copy of the history in PostgreSQL: every workstation and
// gateway of a plant sends its events there. The tables are those of the
// local file (meta with the schema version, events indexed by instrument
// and time); an event keeps the chain its own file gave it, and one sent
// twice is stored once. A database whose tables are another program's, or
// of a newer schema, is refused and never altered. Every `error` names the
// database (never its password) and why.

#include <optional>
#include <string>
#include <vector>

#include "history/chain_check.h"
#include "history/history_event.h"
#include "history/history_filter.h"

struct pg_conn;

namespace zrm {

class PostgresHistory {
 public:
  PostgresHistory() = default;
  ~PostgresHistory();
  PostgresHistory(const PostgresHistory&) = delete;
  PostgresHistory& operator=(const PostgresHistory&) = delete;

  // Connects to the database at `url` (waiting a few seconds at most) and
  // uses its history tables, making them when it has none and the role may.
  bool Open(const std::string& url, std::string& error);

  // Stores `events` as they are (their chain set already) in one
  // transaction; an event whose id is stored already stays as it was.
  bool Append(const std::vector<HistoryEvent>& events, std::string& error);

  // The events that match, oldest first.
  std::optional<std::vector<HistoryEvent>> List(const HistoryFilter& filter,
                                                std::string& error) const;

  // Checks every chain as HistoryStore::Verify does; false when the events
  // cannot be read.
  bool Verify(std::optional<ChainBreak>& broken, std::size_t& events, std::string& error) const;

 private:
  // The tables in use: made, or checked for being a history this program
  // knows. False with `why`.
  bool UseTables(std::string& why);
  bool MakeTables(std::string& why);
  bool CheckTables(std::string& why);
  // `sql` run with nothing to return; false with `why`.
  bool Execute(const std::string& sql, std::string& why) const;
  // The connection's last error, its first line.
  std::string Reason() const;

  pg_conn* conn_ = nullptr;
  std::string label_;  // the database, for messages
};

}  // namespace zrm
