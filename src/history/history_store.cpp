#include "history/history_store.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <map>
#include <string_view>

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

constexpr const char* kColumns =
    "id, time_ms, workstation, user, program, version, instrument_type, instrument_number,"
    " firmware, line, address, action, result, message, backup, journal, changes, opening_id,"
    " previous_hash, hash";

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

// "name\tbefore\tafter" a line; tabs and line ends inside a field escaped.
std::string Escaped(const std::string& field) {
  std::string out;
  for (const char c : field) {
    if (c == '\\') out += "\\\\";
    else if (c == '\t') out += "\\t";
    else if (c == '\n') out += "\\n";
    else out += c;
  }
  return out;
}

std::string Unescaped(std::string_view field) {
  if (field.find('\\') == std::string_view::npos) return std::string(field);
  std::string out;
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] != '\\' || i + 1 == field.size()) {
      out += field[i];
      continue;
    }
    const char c = field[++i];
    out += c == 't' ? '\t' : c == 'n' ? '\n' : c;
  }
  return out;
}

std::string ChangesText(const std::vector<ParameterChange>& changes) {
  std::string text;
  for (const ParameterChange& c : changes)
    text += Escaped(c.name) + "\t" + Escaped(c.before) + "\t" + Escaped(c.after) + "\n";
  return text;
}

// Read without a stream: a listing parses every event's changes.
std::vector<ParameterChange> ChangesOf(std::string_view text) {
  std::vector<ParameterChange> changes;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    const std::size_t a = line.find('\t');
    const std::size_t b = line.find('\t', a == std::string_view::npos ? a : a + 1);
    if (b == std::string_view::npos) continue;
    changes.push_back({Unescaped(line.substr(0, a)), Unescaped(line.substr(a + 1, b - a - 1)),
                       Unescaped(line.substr(b + 1))});
  }
  return changes;
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

HistoryEvent EventAt(const Statement& row) {
  HistoryEvent e;
  int i = 0;
  e.id = row.Text(i++);
  e.time_ms = row.Int(i++);
  e.workstation = row.Text(i++);
  e.user = row.Text(i++);
  e.program = row.Text(i++);
  e.version = row.Text(i++);
  e.instrument_type = row.Text(i++);
  e.instrument_number = row.Text(i++);
  e.firmware = row.Text(i++);
  e.line = row.Text(i++);
  e.address = static_cast<std::uint32_t>(row.Int(i++));
  e.action = row.Text(i++);
  e.result = static_cast<int>(row.Int(i++));
  e.message = row.Text(i++);
  e.backup = row.Text(i++);
  e.journal = row.Text(i++);
  e.changes = ChangesOf(row.Text(i++));
  e.opening_id = row.Text(i++);
  e.previous_hash = row.Text(i++);
  e.hash = row.Text(i++);
  return e;
}

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
  const std::string stored = version.Step() == SQLITE_ROW ? version.Text(0) : "";
  int number = 0;
  const auto [end, ec] = std::from_chars(stored.data(), stored.data() + stored.size(), number);
  if (ec != std::errc() || end != stored.data() + stored.size()) {
    why = t::kNotSqlite;
    return false;
  }
  if (number > kSchemaVersion) {
    why = t::kNewerSchema;
    return false;
  }
  return true;
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
  Statement insert(db_, (std::string("INSERT INTO events (") + kColumns +
                         ", origin) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)")
                            .c_str());
  if (!insert.Ready()) return fail(path_ + ": " + Reason());
  int i = 1;
  insert.Bind(i++, event.id);
  insert.Bind(i++, event.time_ms);
  for (const std::string* text : {&event.workstation, &event.user, &event.program, &event.version,
                                  &event.instrument_type, &event.instrument_number,
                                  &event.firmware, &event.line})
    insert.Bind(i++, *text);
  insert.Bind(i++, static_cast<std::int64_t>(event.address));
  insert.Bind(i++, event.action);
  insert.Bind(i++, static_cast<std::int64_t>(event.result));
  for (const std::string* text : {&event.message, &event.backup, &event.journal})
    insert.Bind(i++, *text);
  insert.Bind(i++, ChangesText(event.changes));
  insert.Bind(i++, event.opening_id);
  insert.Bind(i++, event.previous_hash);
  insert.Bind(i++, event.hash);
  insert.Bind(i++, OriginOf(event));
  if (insert.Step() != SQLITE_DONE) return fail(path_ + ": " + Reason());
  return Execute("COMMIT", why) || fail(why);
}

std::optional<std::vector<HistoryEvent>> HistoryStore::List(const HistoryFilter& filter,
                                                            std::string& error) const {
  // Only the conditions asked for: one instrument's events come from its
  // index, already in time order, rather than from a scan of every event.
  std::string sql = std::string("SELECT ") + kColumns +
                    " FROM events WHERE time_ms >= ?4 AND time_ms <= ?5";
  if (!filter.id.empty()) sql += " AND id = ?1";
  if (!filter.instrument_number.empty()) sql += " AND instrument_number = ?2";
  if (!filter.action.empty()) sql += " AND action = ?3";
  Statement rows(db_, (sql + " ORDER BY time_ms, seq").c_str());
  if (!rows.Ready()) {
    error = std::string(t::kNotRead) + path_ + ": " + Reason();
    return std::nullopt;
  }
  rows.Bind(1, filter.id);
  rows.Bind(2, filter.instrument_number);
  rows.Bind(3, filter.action);
  rows.Bind(4, filter.since_ms.value_or(INT64_MIN));
  rows.Bind(5, filter.until_ms.value_or(INT64_MAX));
  std::vector<HistoryEvent> events;
  int step = SQLITE_ROW;
  while ((step = rows.Step()) == SQLITE_ROW) events.push_back(EventAt(rows));
  if (step != SQLITE_DONE) {
    error = std::string(t::kNotRead) + path_ + ": " + Reason();
    return std::nullopt;
  }
  return events;
}

bool HistoryStore::Verify(std::optional<ChainBreak>& broken, std::string& error) const {
  broken.reset();
  Statement rows(db_, (std::string("SELECT ") + kColumns + " FROM events ORDER BY seq").c_str());
  if (!rows.Ready()) {
    error = std::string(t::kNotRead) + path_ + ": " + Reason();
    return false;
  }
  // Each origin's last hash so far, in the order the events were stored.
  std::map<std::string, std::string> chains;
  int step = SQLITE_ROW;
  while ((step = rows.Step()) == SQLITE_ROW) {
    const HistoryEvent e = EventAt(rows);
    const std::string origin = OriginOf(e);
    std::string& previous = chains[origin];
    if (EventHash(e) != e.hash || e.previous_hash != previous) {
      broken = ChainBreak{e.id, origin, EventHash(e) != e.hash};
      return true;
    }
    previous = e.hash;
  }
  if (step != SQLITE_DONE) {
    error = std::string(t::kNotRead) + path_ + ": " + Reason();
    return false;
  }
  return true;
}

}  // namespace zrm
