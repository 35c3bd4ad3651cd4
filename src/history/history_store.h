#pragma once
// The history kept in an SQLite file (history.sqlite in the working folder):
// the window, several zrm48ctl and zrm48d on one machine append to it at
// once (WAL, a busy time-out, each append one immediate transaction), and
// nothing is ever deleted from it. The schema carries its version; a file
// that is not SQLite, or of a newer schema, is refused and left as it is.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "history/history_event.h"

struct sqlite3;

namespace zrm {

// What to list; an empty field lists every one.
struct HistoryFilter {
  std::string id;
  std::string instrument_number;
  std::string action;
  std::optional<std::int64_t> since_ms;  // from this moment on
  std::optional<std::int64_t> until_ms;  // up to this moment
};

// Where a chain of the history does not hold.
struct ChainBreak {
  std::string id;      // the first event that does not match its chain
  std::string origin;  // its workstation and program
  bool edited = false;  // its own content changed; otherwise an event before it is missing or moved

  bool operator==(const ChainBreak&) const = default;
};

class HistoryStore {
 public:
  // The schema this program writes; a file of a higher one comes from a
  // newer program.
  static constexpr int kSchemaVersion = 1;

  HistoryStore() = default;
  ~HistoryStore();
  HistoryStore(const HistoryStore&) = delete;
  HistoryStore& operator=(const HistoryStore&) = delete;

  // Opens the history at `path`, made with its schema when missing. False
  // with `error` naming the path and why.
  bool Open(const std::string& path, std::string& error);

  // Opens the history at `path` to list and verify it only: nothing is
  // made or written, so a missing file stays missing, and one this user may
  // only read (in a folder it may not write, too) can be read. False with
  // `error` as Open gives it.
  bool OpenForReading(const std::string& path, std::string& error);

  // Stores `event` at the end of its origin's chain and sets its
  // previous_hash and hash. An event whose id is stored already is left as
  // stored (it was sent before) and counts as stored.
  bool Append(HistoryEvent& event, std::string& error);

  // The events that match, oldest first.
  std::optional<std::vector<HistoryEvent>> List(const HistoryFilter& filter,
                                                std::string& error) const;

  // Checks every origin's chain in the order it was stored: `broken` names
  // the first event that does not match, or stays empty. False with `error`
  // when the history cannot be read.
  bool Verify(std::optional<ChainBreak>& broken, std::string& error) const;

 private:
  // Opens the file at `path`, given to SQLite as `name`, with `flags`, and
  // checks that it holds a history.
  bool OpenFile(const std::string& path, const std::string& name, int flags, std::string& error);
  bool Execute(const char* sql, std::string& error) const;
  // True for an empty file or a history of a schema this program knows;
  // otherwise `why` says what the file is.
  bool HoldsHistory(std::string& why) const;
  std::string Reason() const;

  sqlite3* db_ = nullptr;
  std::string path_;
};

}  // namespace zrm
