#include "history/postgres_history.h"

#include <libpq-fe.h>

#include <memory>

#include "history/database_url.h"
#include "history/event_row.h"
#include "history/history_texts.h"

namespace zrm {

namespace {

namespace t = history_texts;

// How long a connection may take, in seconds: a server that is gone never
// holds a write up longer. A URL's own connect_timeout counts instead.
constexpr const char* kConnectTimeout = "3";

// The same tables as the local file's, in PostgreSQL's words. Two programs
// making them at once: the second waits for the first, then finds them.
constexpr const char* kSchema =
    "SELECT pg_advisory_xact_lock(hashtext('zrm48 history schema'));"
    "CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS events ("
    " seq BIGSERIAL PRIMARY KEY, id TEXT NOT NULL UNIQUE, time_ms BIGINT NOT NULL,"
    " workstation TEXT NOT NULL, \"user\" TEXT NOT NULL, program TEXT NOT NULL,"
    " version TEXT NOT NULL, instrument_type TEXT NOT NULL, instrument_number TEXT NOT NULL,"
    " firmware TEXT NOT NULL, line TEXT NOT NULL, address BIGINT NOT NULL,"
    " action TEXT NOT NULL, result INTEGER NOT NULL, message TEXT NOT NULL,"
    " backup TEXT NOT NULL, journal TEXT NOT NULL, changes TEXT NOT NULL, opening_id TEXT NOT NULL,"
    " origin TEXT NOT NULL, previous_hash TEXT NOT NULL, hash TEXT NOT NULL);"
    "CREATE INDEX IF NOT EXISTS events_by_instrument ON events (instrument_number, time_ms);"
    "CREATE INDEX IF NOT EXISTS events_by_origin ON events (origin, seq);";

// SQLSTATEs: the role may not do it; a column the table does not have.
constexpr std::string_view kInsufficientPrivilege = "42501";
constexpr std::string_view kUndefinedColumn = "42703";

using Result = std::unique_ptr<PGresult, decltype(&PQclear)>;

// `sql` with `params` ($1, $2, …); without any, it may be several statements.
Result Run(pg_conn* conn, const std::string& sql, const std::vector<std::string>& params = {}) {
  if (params.empty()) return Result(PQexec(conn, sql.c_str()), &PQclear);
  std::vector<const char*> values;
  for (const std::string& p : params) values.push_back(p.c_str());
  return Result(PQexecParams(conn, sql.c_str(), static_cast<int>(values.size()), nullptr,
                             values.data(), nullptr, nullptr, 0),
                &PQclear);
}

bool Succeeded(const Result& r, ExecStatusType wanted) { return PQresultStatus(r.get()) == wanted; }

std::string StateOf(const Result& r) {
  const char* state = PQresultErrorField(r.get(), PG_DIAG_SQLSTATE);
  return state ? state : "";
}

std::string FirstLine(const char* text) {
  std::string line = text ? text : "";
  line.erase(std::min(line.find('\n'), line.size()));
  while (!line.empty() && line.back() == ' ') line.pop_back();
  return line;
}

std::string Value(const Result& r, int row, int column) {
  return std::string(PQgetvalue(r.get(), row, column),
                     static_cast<std::size_t>(PQgetlength(r.get(), row, column)));
}

HistoryEvent EventAt(const Result& r, int row) {
  return EventOfRow([&](int column) { return Value(r, row, column); });
}

std::string InsertSql() {
  std::string sql = std::string("INSERT INTO events (") + kEventColumns + ", origin) VALUES (";
  for (int i = 1; i <= kEventColumnCount + 1; ++i) sql += (i > 1 ? ",$" : "$") + std::to_string(i);
  return sql + ") ON CONFLICT (id) DO NOTHING";
}

// The server's notices ("already exists, skipping") are nobody's business.
void IgnoreNotice(void*, const char*) {}

}  // namespace

PostgresHistory::~PostgresHistory() { PQfinish(conn_); }

std::string PostgresHistory::Reason() const { return FirstLine(PQerrorMessage(conn_)); }

bool PostgresHistory::Execute(const std::string& sql, std::string& why) const {
  const Result r = Run(conn_, sql);
  if (Succeeded(r, PGRES_COMMAND_OK) || Succeeded(r, PGRES_TUPLES_OK)) return true;
  why = Reason();
  return false;
}

bool PostgresHistory::Open(const std::string& url, std::string& error) {
  PQfinish(conn_);
  label_ = DatabaseLabel(url);
  // The URL comes last: what it says itself overrides the defaults before it.
  const char* const keys[] = {"connect_timeout", "client_encoding", "dbname", nullptr};
  const char* const values[] = {kConnectTimeout, "UTF8", url.c_str(), nullptr};
  conn_ = PQconnectdbParams(keys, values, 1);
  std::string why;
  if (PQstatus(conn_) != CONNECTION_OK) {
    why = Reason();
  } else {
    PQsetNoticeProcessor(conn_, IgnoreNotice, nullptr);
    PQsetErrorVerbosity(conn_, PQERRORS_TERSE);
    UseTables(why);
  }
  if (why.empty()) return true;
  error = label_ + ": " + why;
  PQfinish(conn_);
  conn_ = nullptr;
  return false;
}

bool PostgresHistory::UseTables(std::string& why) {
  const Result found =
      Run(conn_, "SELECT to_regclass('meta') IS NOT NULL, to_regclass('events') IS NOT NULL");
  if (!Succeeded(found, PGRES_TUPLES_OK)) {
    why = Reason();
    return false;
  }
  const bool meta = Value(found, 0, 0) == "t";
  const bool events = Value(found, 0, 1) == "t";
  if (!meta && !events) return MakeTables(why) && CheckTables(why);
  if (meta != events) {
    why = t::kNotOurTables;
    return false;
  }
  return CheckTables(why);
}

bool PostgresHistory::MakeTables(std::string& why) {
  const std::string sql = std::string(kSchema) + "INSERT INTO meta VALUES ('schema_version', '" +
                          std::to_string(kHistorySchemaVersion) + "') ON CONFLICT DO NOTHING";
  // One string of statements runs as one transaction: all of it or none.
  const Result made = Run(conn_, sql);
  if (Succeeded(made, PGRES_COMMAND_OK)) return true;
  why = StateOf(made) == kInsufficientPrivilege ? std::string(t::kNoTables) : Reason();
  return false;
}

bool PostgresHistory::CheckTables(std::string& why) {
  // Tables of another program lack our columns; their reading fails so.
  const auto refused = [&](const Result& r) {
    why = StateOf(r) == kUndefinedColumn ? std::string(t::kNotOurTables) : Reason();
    return false;
  };
  const Result version = Run(conn_, "SELECT value FROM meta WHERE key = 'schema_version'");
  if (!Succeeded(version, PGRES_TUPLES_OK)) return refused(version);
  switch (JudgeSchemaVersion(PQntuples(version.get()) == 1 ? Value(version, 0, 0) : "")) {
    case SchemaVersion::kKnown: break;
    case SchemaVersion::kNotOurs: why = t::kNotOurTables; return false;
    case SchemaVersion::kNewer: why = t::kNewerDatabase; return false;
  }
  const Result columns =
      Run(conn_, std::string("SELECT seq, origin, ") + kEventColumns + " FROM events LIMIT 0");
  return Succeeded(columns, PGRES_TUPLES_OK) || refused(columns);
}

bool PostgresHistory::Append(const std::vector<HistoryEvent>& events, std::string& error) {
  std::string why;
  bool stored = Execute("BEGIN", why);
  const std::string insert = InsertSql();
  for (auto e = events.begin(); stored && e != events.end(); ++e) {
    std::vector<std::string> row = EventRow(*e);
    row.push_back(OriginOf(*e));
    stored = Succeeded(Run(conn_, insert, row), PGRES_COMMAND_OK);
    if (!stored) why = Reason();
  }
  if (stored && Execute("COMMIT", why)) return true;
  std::string ignored;
  Execute("ROLLBACK", ignored);
  error = label_ + ": " + why;
  return false;
}

std::optional<std::vector<HistoryEvent>> PostgresHistory::List(const HistoryFilter& filter,
                                                               std::string& error) const {
  const FilterSql where = FilterClause(filter, '$');
  const Result rows = Run(
      conn_, std::string("SELECT ") + kEventColumns + " FROM events" + where.clause, where.values);
  if (!Succeeded(rows, PGRES_TUPLES_OK)) {
    error = label_ + ": " + Reason();
    return std::nullopt;
  }
  std::vector<HistoryEvent> events;
  for (int row = 0; row < PQntuples(rows.get()); ++row) events.push_back(EventAt(rows, row));
  return events;
}

bool PostgresHistory::Verify(std::optional<ChainBreak>& broken, std::size_t& events,
                             std::string& error) const {
  broken.reset();
  events = 0;
  // Row by row: the whole history of a plant need not fit in memory.
  const std::string sql = std::string("SELECT ") + kEventColumns + " FROM events ORDER BY seq";
  std::string why;
  if (PQsendQuery(conn_, sql.c_str()) != 1 || PQsetSingleRowMode(conn_) != 1) why = Reason();
  ChainCheck chains;
  // Every result is read to the end, so that the connection serves the next.
  for (Result r(PQgetResult(conn_), &PQclear); r; r.reset(PQgetResult(conn_))) {
    if (Succeeded(r, PGRES_SINGLE_TUPLE)) {
      if (!broken) broken = chains.Take(EventAt(r, 0));
    } else if (!Succeeded(r, PGRES_TUPLES_OK)) {
      why = FirstLine(PQresultErrorMessage(r.get()));
    }
  }
  events = chains.Count();
  if (why.empty()) return true;
  broken.reset();
  error = label_ + ": " + why;
  return false;
}

}  // namespace zrm
