#pragma once
// The history of a working folder (its history.sqlite) and the plant's
// database the settings may name. Every event goes into the local file
// first: it is the local copy and the database's queue. After each event,
// those the database does not have yet are sent in the order stored, and
// the file notes how far the database has them. A database that cannot be
// reached leaves them waiting and is tried again only after a pause, so a
// server that is gone never holds up every write by its time-out. An event
// sent twice (the note lost in a crash) is stored once: its id was made
// where it happened. One thread uses a queue at a time.

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "history/chain_check.h"
#include "history/history_event.h"
#include "history/history_filter.h"

namespace zrm {

class HistoryStore;
class PostgresHistory;

class HistoryQueue {
 public:
  // How long an unreachable database is left alone.
  static constexpr std::chrono::milliseconds kRetryAfter{30'000};

  // The file at `local_path`, and the database at `database_url` (checked
  // with CheckDatabaseUrl; "" for none).
  HistoryQueue(std::string local_path, std::string database_url,
               std::chrono::milliseconds retry_after = kRetryAfter);
  ~HistoryQueue();
  HistoryQueue(const HistoryQueue&) = delete;
  HistoryQueue& operator=(const HistoryQueue&) = delete;

  // Stores `event` in the file, then sends what waits; when the file cannot
  // take it, the database takes it alone. False with `error` naming the
  // file, the database and why only when the event is stored nowhere.
  bool Store(HistoryEvent& event, std::string& error);

  // What the user should be told, once: the database cannot be reached and
  // the events wait in the file, or the file cannot be written and the
  // events go to the database alone. Empty when there is nothing new.
  std::string TakeNotice();

  // The database's events that match, oldest first, once what waits in an
  // existing file is sent (a read never makes the file). A queue with a
  // database only: the file alone is read without a queue.
  std::optional<std::vector<HistoryEvent>> List(const HistoryFilter& filter, std::string& error);

  // The check of the database's chains (see HistoryStore::Verify), as List
  // reads them.
  bool Verify(std::optional<ChainBreak>& broken, std::size_t& events, std::string& error);

 private:
  bool OpenLocal(std::string& error);
  // Sends the file's waiting events, unless the database failed less than
  // retry_after_ ago; a failure starts that pause and tells of it once.
  void SendWaiting();
  // The batches of waiting events, each noted as sent once `database` has
  // it. False with `why` when the database failed.
  bool SendBatches(PostgresHistory& database, std::string& why);
  // `event` into the database alone, on the chain of the events this queue
  // sent so.
  bool SendAlone(HistoryEvent& event, std::string& why);
  // Runs `use` on the database, connected first. A connection the server
  // dropped since it was last used (a restart) is made anew once.
  template <typename Use>
  bool UseDatabase(const Use& use, std::string& why);
  // The file is there (open, or on disk).
  bool LocalThere() const;
  // True while the database is left alone after a failure.
  bool Resting() const;
  // Runs `read` on the database once what waits in an existing file is
  // sent; false with `error` when the database cannot be read.
  template <typename Read>
  bool ReadDatabase(const Read& read, std::string& error);
  void Tell(const std::string& text, bool& told);

  std::string local_path_;
  std::string url_;
  std::string label_;  // the database without its password
  std::chrono::milliseconds retry_after_;
  std::unique_ptr<HistoryStore> local_;
  std::unique_ptr<PostgresHistory> database_;
  std::optional<std::chrono::steady_clock::time_point> resting_until_;
  std::string unreachable_;  // why the database failed last
  std::string alone_head_;   // the hash of the last event sent to the database alone
  std::string notice_;
  bool local_told_ = false;
  bool database_told_ = false;
};

}  // namespace zrm
