#pragma once
// What the window and zrm48ctl record in the history of changes of their
// working folder (history.sqlite), sent on to the plant's database when the
// settings name one: who they are, where the instrument is, and what the
// instrument held before and after a write.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/changes_write_command.h"
#include "app/instrument_search.h"
#include "history/chain_check.h"
#include "history/history_event.h"
#include "history/history_filter.h"
#include "settings/device_settings.h"

namespace zrm {

class HistoryQueue;

class HistoryRecorder {
 public:
  // The history of `working_dir`, written as `program` ("zrm48setup",
  // "zrm48ctl", "zrm48d") by this machine's host name and this process's
  // user, and sent on to the PostgreSQL database at `database_url` when it
  // is not empty. A URL that does not parse (see CheckDatabaseUrl) makes
  // every Store, List and Verify fail, with the reason after `url_source`
  // (where the URL was read: "…/zrm48setup.ini, строка 3") when given.
  HistoryRecorder(std::string working_dir, std::string program, std::string database_url = "",
                  const std::string& url_source = "");
  ~HistoryRecorder();
  HistoryRecorder(const HistoryRecorder&) = delete;
  HistoryRecorder& operator=(const HistoryRecorder&) = delete;

  // A new event of `action` on the instrument at `line` and `address`, with
  // an id of its own and the time now.
  HistoryEvent NewEvent(const std::string& action, const std::string& line,
                        std::uint32_t address);

  // Stores `event`: in the file (opened at its first use), then sent on to
  // the database; into the database alone when the file cannot take it.
  // False with `error` naming the file, the database and why only when it
  // is stored nowhere.
  bool Store(HistoryEvent& event, std::string& error);

  // What the user should be told once after a Store that succeeded: the
  // database cannot be reached and the events wait in the file, or the
  // file cannot be written. Empty when there is nothing new.
  std::string TakeNotice();

  // The events that match, oldest first, from the database when one is set,
  // else from the file, read only (see ReadHistory).
  std::optional<std::vector<HistoryEvent>> List(const HistoryFilter& filter, std::string& error);

  // The check of every chain where List reads: `broken` names the first
  // event that does not match, or stays empty; `events` counts those
  // checked. False with `error` when the history cannot be read.
  bool Verify(std::optional<ChainBreak>& broken, std::size_t& events, std::string& error);

  // Why every Store, List and Verify fails (a URL that does not parse);
  // empty when they do not.
  const std::string& Refusal() const { return refusal_; }

  // The file's path.
  std::string Path() const;
  // The login name every event carries.
  const std::string& User() const { return user_; }

 private:
  std::string dir_;
  std::string program_;
  std::string workstation_;
  std::string user_;
  std::uint64_t count_ = 0;
  std::string refusal_;
  bool sends_on_ = false;  // a database takes the events too
  std::unique_ptr<HistoryQueue> queue_;
};

// Stores one event for each instrument a search on `line` found, at its
// address and speed; one without an instrument when it found none. False
// with `error` at the first that could not be stored.
bool StoreSearchEvents(HistoryRecorder& history, const std::string& line,
                       const SearchOutcome& outcome, std::string& error);

// Puts the type, number and firmware of `instrument` (as read from it) into
// `event`; nothing when its serial number was not read.
void DescribeInstrument(const DeviceSettings& instrument, HistoryEvent& event);

// Every parameter a write of `after` sends whose value differs from what
// `before` holds, named and shown as the window shows them.
std::vector<ParameterChange> ChangesBetween(const DeviceSettings& before,
                                            const DeviceSettings& after);

// The changes between `before` and `after` of the parameters `only` names.
std::vector<ParameterChange> ChangesOfParameters(const DeviceSettings& before,
                                                 const DeviceSettings& after,
                                                 const std::vector<WrittenParameter>& only);

// What a write of changes of `target` put into the instrument: every change
// when it ended with success, else those of the parameters that went
// through.
std::vector<ParameterChange> WrittenChanges(const ChangesWriteOutcome& outcome,
                                            const DeviceSettings& target);

}  // namespace zrm
