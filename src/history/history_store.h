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

#include "history/chain_check.h"
#include "history/event_row.h"
#include "history/history_event.h"
#include "history/history_filter.h"

struct sqlite3;

namespace zrm {

// An event of the file with its place in it, the order it was stored in.
struct StoredEvent {
  std::int64_t seq = 0;
  HistoryEvent event;
};

class HistoryStore {
 public:
  // The schema this program writes; a file of a higher one comes from a
  // newer program.
  static constexpr int kSchemaVersion = kHistorySchemaVersion;

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

  // Checks every origin's chains (see ChainCheck) in the order the events
  // were stored: `broken` names the first event that does not match, or
  // stays empty; `events` counts those checked. False with `error` when the
  // history cannot be read.
  bool Verify(std::optional<ChainBreak>& broken, std::size_t& events, std::string& error) const;

  // The file as the queue of a plant's database: the events stored after
  // the last one sent to `database` (its label, without a password), in the
  // order stored, at most `limit` of them.
  std::optional<std::vector<StoredEvent>> Unsent(const std::string& database, int limit,
                                                 std::string& error) const;

  // Notes that every event up to `seq` has reached `database`; a mark
  // never moves back, whoever sent the later events first.
  bool MarkSent(const std::string& database, std::int64_t seq, std::string& error);

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
