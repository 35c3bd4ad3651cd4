#include "history/history_queue.h"

#include <filesystem>
#include <utility>

#include "history/database_url.h"
#include "history/event_hash.h"
#include "history/history_store.h"
#include "history/history_texts.h"
#include "history/postgres_history.h"

namespace zrm {

namespace {

namespace t = history_texts;

// Events sent in one transaction of the database.
constexpr int kBatch = 200;

}  // namespace

HistoryQueue::HistoryQueue(std::string local_path, std::string database_url,
                           std::chrono::milliseconds retry_after)
    : local_path_(std::move(local_path)),
      url_(std::move(database_url)),
      label_(url_.empty() ? "" : DatabaseLabel(url_)),
      retry_after_(retry_after) {}

HistoryQueue::~HistoryQueue() = default;

std::string HistoryQueue::TakeNotice() { return std::exchange(notice_, std::string()); }

void HistoryQueue::Tell(const std::string& text, bool& told) {
  if (told) return;
  notice_ += (notice_.empty() ? "" : "\n") + text;
  told = true;
}

bool HistoryQueue::OpenLocal(std::string& error) {
  if (local_) return true;
  auto store = std::make_unique<HistoryStore>();
  if (!store->Open(local_path_, error)) return false;
  local_ = std::move(store);
  return true;
}

bool HistoryQueue::Store(HistoryEvent& event, std::string& error) {
  std::string local_error;
  if (OpenLocal(local_error) && local_->Append(event, local_error)) {
    local_told_ = false;
    if (!url_.empty()) SendWaiting();
    return true;
  }
  if (url_.empty()) {
    error = local_error;
    return false;
  }
  std::string database_error;
  if (SendAlone(event, database_error)) {
    Tell(local_error + std::string(t::kOnlyInDatabase) + label_, local_told_);
    return true;
  }
  error = local_error + "; " + std::string(t::kDatabase) + database_error;
  return false;
}

template <typename Use>
bool HistoryQueue::UseDatabase(const Use& use, std::string& why) {
  const auto connected = [&] {
    if (database_) return true;
    auto database = std::make_unique<PostgresHistory>();
    if (!database->Open(url_, why)) return false;
    database_ = std::move(database);
    resting_until_.reset();
    database_told_ = false;
    return true;
  };
  const bool had_connection = database_ != nullptr;
  if (connected() && use(*database_, why)) return true;
  database_.reset();
  return had_connection && connected() && use(*database_, why);
}

void HistoryQueue::SendWaiting() {
  if (Resting()) return;
  std::string why;
  const auto send = [this](PostgresHistory& d, std::string& w) { return SendBatches(d, w); };
  if (UseDatabase(send, why)) return;
  database_.reset();
  resting_until_ = std::chrono::steady_clock::now() + retry_after_;
  unreachable_ = why;
  Tell(std::string(t::kDatabaseUnreachable) + why + std::string(t::kEventsWait) + local_path_,
       database_told_);
}

bool HistoryQueue::SendBatches(PostgresHistory& database, std::string& why) {
  std::string local_why;
  std::optional<std::vector<StoredEvent>> waiting;
  while ((waiting = local_->Unsent(label_, kBatch, local_why)) && !waiting->empty()) {
    std::vector<HistoryEvent> events;
    for (StoredEvent& e : *waiting) events.push_back(std::move(e.event));
    if (!database.Append(events, why)) return false;
    // A note the file could not take sends these again next time, to be
    // ignored by the database.
    if (!local_->MarkSent(label_, waiting->back().seq, local_why)) return true;
  }
  return true;
}

bool HistoryQueue::SendAlone(HistoryEvent& event, std::string& why) {
  event.previous_hash = alone_head_;
  event.hash = EventHash(event);
  if (!UseDatabase([&](PostgresHistory& d, std::string& w) { return d.Append({event}, w); }, why))
    return false;
  alone_head_ = event.hash;
  return true;
}

bool HistoryQueue::LocalThere() const {
  std::error_code ignored;
  return local_ || std::filesystem::exists(local_path_, ignored);
}

bool HistoryQueue::Resting() const {
  return resting_until_ && std::chrono::steady_clock::now() < *resting_until_;
}

template <typename Read>
bool HistoryQueue::ReadDatabase(const Read& read, std::string& error) {
  std::string local_error;
  if (LocalThere() && OpenLocal(local_error)) SendWaiting();
  std::string why = unreachable_;
  if (!Resting() && UseDatabase(read, why)) return true;
  error = std::string(t::kNotRead) + why;
  return false;
}

std::optional<std::vector<HistoryEvent>> HistoryQueue::List(const HistoryFilter& filter,
                                                            std::string& error) {
  std::optional<std::vector<HistoryEvent>> events;
  ReadDatabase(
      [&](PostgresHistory& d, std::string& w) { return (events = d.List(filter, w)).has_value(); },
      error);
  return events;
}

bool HistoryQueue::Verify(std::optional<ChainBreak>& broken, std::size_t& events,
                          std::string& error) {
  broken.reset();
  events = 0;
  return ReadDatabase(
      [&](PostgresHistory& d, std::string& w) { return d.Verify(broken, events, w); }, error);
}

}  // namespace zrm
