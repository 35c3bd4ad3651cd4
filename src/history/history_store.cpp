#include "history/history_store.h"

#include <sqlite3.h>
#include <unistd.h>


#include "history/event_hash.h"
#include "history/history_texts.h"

namespace zrm {

namespace {

namespace t = history_texts;

// How long an append waits for another program's transaction.
constexpr int kBusyTimeoutMs = 10'000;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS events ("
    " seq INTEGER PRIMARY KEY AUTOINCREMENT, id TEXT NOT NULL UNIQUE, time_ms INTEGER NOT NULL,"
    " workstation TEXT NOT NULL, user TEXT NOT NULL, program TEXT NOT NULL,"
    " version TEXT NOT NULL, instrument_type TEXT NOT NULL, instrument_number TEXT NOT NULL,"
    " firmware TEXT NOT NULL, line TEXT NOT NULL, address INTEGER NOT NULL,"
    " action TEXT NOT NULL, result INTEGER NOT NULL, message TEXT NOT NULL,"
    " backup TEXT NOT NULL, journal TEXT NOT NULL, changes TEXT NOT NULL, opening_id TEXT NOT NULL,"
    " origin TEXT NOT NULL, previous_hash TEXT NOT NULL, hash TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS events_by_instrument ON events (instrument_number, time_ms);"
    "CREATE INDEX IF NOT EXISTS events_by_origin ON events (origin, seq);";

// One statement, finalized when it goes.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  ~Statement() { sqlite3_finalize(stmt_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  bool Ready() const { return stmt_ != nullptr; }
  void Bind(int i, const std::string& text) {
    sqlite3_bind_text(stmt_, i, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  void Bind(int i, std::int64_t value) { sqlite3_bind_int64(stmt_, i, value); }
  int Step() { return sqlite3_step(stmt_); }
  std::string Text(int i) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, i)))
                : std::string();
  }
  std::int64_t Int(int i) const { return sqlite3_column_int64(stmt_, i); }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

// The row at `row` as an event.
HistoryEvent EventAt(const Statement& row, int first_column = 0) {
  return EventOfRow([&](int column) { return row.Text(first_column + column); });
}

// `path` as the path of an SQLite URI: "%", "?" and "#" escaped.
std::string UriPath(const std::string& path) {
  std::string uri;
  for (const char c : path) {
    if (c == '%') uri += "%25";
    else if (c == '?') uri += "%3f";
    else if (c == '#') uri += "%23";
    else uri += c;
  }
  return uri;
}

// The key of `database`'s mark in meta.
std::string SentKey(const std::string& database) { return "sent to " + database; }

}  // namespace

HistoryStore::~HistoryStore() { sqlite3_close(db_); }

std::string HistoryStore::Reason() const {
  switch (sqlite3_errcode(db_)) {
    case SQLITE_NOTADB: return std::string(t::kNotSqlite);
    case SQLITE_CORRUPT: return std::string(t::kDamaged);
    default: return sqlite3_errmsg(db_);
  }
}

bool HistoryStore::Execute(const char* sql, std::string& error) const {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK) return true;
  error = path_ + ": " + Reason();
  return false;
}

bool HistoryStore::HoldsHistory(std::string& why) const {
  Statement tables(db_,
                   "SELECT count(*), count(CASE name WHEN 'meta' THEN 1 END) FROM sqlite_master");
  if (!tables.Ready() || tables.Step() != SQLITE_ROW) {
    why = Reason();
    return false;
  }
  if (tables.Int(1) == 0) {
    // Another program's database is no history, and is not made one.
    if (tables.Int(0) > 0) why = t::kNotSqlite;
    return tables.Int(0) == 0;
  }
  Statement version(db_, "SELECT value FROM meta WHERE key = 'schema_version'");
  if (!version.Ready()) {
    why = Reason();
    return false;
  }
  switch (JudgeSchemaVersion(version.Step() == SQLITE_ROW ? version.Text(0) : "")) {
    case SchemaVersion::kKnown: return true;
    case SchemaVersion::kNotOurs: why = t::kNotSqlite; return false;
    case SchemaVersion::kNewer: why = t::kNewerSchema; return false;
  }
  return false;
}

bool HistoryStore::OpenFile(const std::string& path, const std::string& name, int flags,
                            std::string& error) {
  path_ = path;
  sqlite3_close(db_);
  db_ = nullptr;
  if (sqlite3_open_v2(name.c_str(), &db_, flags, nullptr) != SQLITE_OK) {
    error = std::string(t::kNotOpened) + path + ": " + Reason();
    return false;
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  // The kind and version are read before anything is written: a file that
  // is no history, or a newer one, stays exactly as it is.
  if (!HoldsHistory(error)) {
    error = std::string(t::kNotOpened) + path + ": " + error;
    return false;
  }
  return true;
}

bool HistoryStore::Open(const std::string& path, std::string& error) {
  if (!OpenFile(path, path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, error)) return false;
  std::string why;
  if (!Execute("PRAGMA journal_mode=WAL", why) || !Execute("BEGIN IMMEDIATE", why)) {
    error = std::string(t::kNotOpened) + why;
    return false;
  }
  const std::string made = std::string(kSchema) +
                           "INSERT OR IGNORE INTO meta VALUES ('schema_version', '" +
                           std::to_string(kSchemaVersion) + "');COMMIT";
  if (!Execute(made.c_str(), why)) {
    Execute("ROLLBACK", why);
    error = std::string(t::kNotOpened) + why;
    return false;
  }
  return true;
}

bool HistoryStore::OpenForReading(const std::string& path, std::string& error) {
  // A file this user may write is opened as the writers open it, so that
  // SQLite removes its side files at the end; one it may only read,
  // read-only; and where not even those side files can be made (a folder
  // it may not write), as a file nobody changes.
  if (::access(path.c_str(), W_OK) == 0) return OpenFile(path, path, SQLITE_OPEN_READWRITE, error);
  if (OpenFile(path, path, SQLITE_OPEN_READONLY, error)) return true;
  const int refused = sqlite3_errcode(db_);
  if (refused != SQLITE_READONLY && refused != SQLITE_CANTOPEN) return false;
  return OpenFile(path, "file:" + UriPath(path) + "?immutable=1",
                  SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, error);
}

bool HistoryStore::Append(HistoryEvent& event, std::string& error) {
  std::string why;
  const auto fail = [&](const std::string& reason) {
    std::string ignored;
    Execute("ROLLBACK", ignored);
    error = std::string(t::kNotWritten) + reason;
    return false;
  };
  // The chain's last hash and the new event in one transaction: two
  // programs of one origin never both extend the same event.
  if (!Execute("BEGIN IMMEDIATE", why)) return fail(why);
  Statement known(db_, "SELECT 1 FROM events WHERE id = ?");
  known.Bind(1, event.id);
  if (known.Step() == SQLITE_ROW) return Execute("COMMIT", why) || fail(why);
  Statement last(db_, "SELECT hash FROM events WHERE origin = ? ORDER BY seq DESC LIMIT 1");
  if (!last.Ready()) return fail(path_ + ": " + Reason());
  last.Bind(1, OriginOf(event));
  event.previous_hash = last.Step() == SQLITE_ROW ? last.Text(0) : std::string();
  event.hash = EventHash(event);
  Statement insert(db_, (std::string("INSERT INTO events (") + kEventColumns +
                         ", origin) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
                            .c_str());
  if (!insert.Ready()) return fail(path_ + ": " + Reason());
  std::vector<std::string> row = EventRow(event);
  row.push_back(OriginOf(event));
  for (int i = 0; i < static_cast<int>(row.size()); ++i) insert.Bind(i + 1, row[i]);
  if (insert.Step() != SQLITE_DONE) return fail(path_ + ": " + Reason());
  return Execute("COMMIT", why) || fail(why);
}

std::optional<std::vector<HistoryEvent>> HistoryStore::List(const HistoryFilter& filter,
                                                            std::string& error) const {
  const FilterSql where = FilterClause(filter, '?');
  Statement rows(db_,
                 (std::string("SELECT ") + kEventColumns + " FROM events" + where.clause).c_str());
  if (!rows.Ready()) {
    error = std::string(t::kNotRead) + path_ + ": " + Reason();
    return std::nullopt;
  }
  for (int i = 0; i < static_cast<int>(where.values.size()); ++i) rows.Bind(i + 1, where.values[i]);
  std::vector<HistoryEvent> events;
  int step = SQLITE_ROW;
  while ((step = rows.Step()) == SQLITE_ROW) events.push_back(EventAt(rows));
  if (step != SQLITE_DONE) {
    error = std::string(t::kNotRead) + path_ + ": " + Reason();
    return std::nullopt;
  }
  return events;
}

bool HistoryStore::Verify(std::optional<ChainBreak>& broken, std::size_t& events,
                          std::string& error) const {
  broken.reset();
  events = 0;
  Statement rows(db_,
                 (std::string("SELECT ") + kEventColumns + " FROM events ORDER BY seq").c_str());
  if (!rows.Ready()) {
    error = std::string(t::kNotRead) + path_ + ": " + Reason();
    return false;
  }
  ChainCheck chains;
  int step = SQLITE_ROW;
  while (!broken && (step = rows.Step()) == SQLITE_ROW) broken = chains.Take(EventAt(rows));
  events = chains.Count();
  if (!broken && step != SQLITE_DONE) {
    error = std::string(t::kNotRead) + path_ + ": " + Reason();
    return false;
  }
  return true;
}

std::optional<std::vector<StoredEvent>> HistoryStore::Unsent(const std::string& database, int limit,
                                                             std::string& error) const {
  Statement rows(db_, (std::string("SELECT seq, ") + kEventColumns +
                       " FROM events WHERE seq > coalesce((SELECT CAST(value AS INTEGER) FROM meta"
                       " WHERE key = ?1), 0) ORDER BY seq LIMIT ?2")
                          .c_str());
  if (!rows.Ready()) {
    error = std::string(t::kNotRead) + path_ + ": " + Reason();
    return std::nullopt;
  }
  rows.Bind(1, SentKey(database));
  rows.Bind(2, static_cast<std::int64_t>(limit));
  std::vector<StoredEvent> events;
  int step = SQLITE_ROW;
  while ((step = rows.Step()) == SQLITE_ROW) events.push_back({rows.Int(0), EventAt(rows, 1)});
  if (step != SQLITE_DONE) {
    error = std::string(t::kNotRead) + path_ + ": " + Reason();
    return std::nullopt;
  }
  return events;
}

bool HistoryStore::MarkSent(const std::string& database, std::int64_t seq, std::string& error) {
  Statement mark(db_,
                 "INSERT INTO meta VALUES (?1, ?2) ON CONFLICT (key) DO UPDATE SET value ="
                 " excluded.value WHERE CAST(value AS INTEGER) < CAST(excluded.value AS INTEGER)");
  if (mark.Ready()) {
    mark.Bind(1, SentKey(database));
    mark.Bind(2, std::to_string(seq));
  }
  if (mark.Ready() && mark.Step() == SQLITE_DONE) return true;
  error = std::string(t::kNotWritten) + path_ + ": " + Reason();
  return false;
}

}  // namespace zrm
