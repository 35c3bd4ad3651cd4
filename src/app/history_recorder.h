#pragma once
// What the window and zrm48ctl record in the history of changes of their
// working folder (history.sqlite): who they are, where the instrument is,
// and what the instrument held before and after a write.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/changes_write_command.h"
#include "app/instrument_search.h"
#include "history/history_event.h"
#include "settings/device_settings.h"

namespace zrm {

class HistoryStore;

class HistoryRecorder {
 public:
  // The history of `working_dir`, written as `program` ("zrm48setup",
  // "zrm48ctl") by this machine's host name and this process's user.
  HistoryRecorder(std::string working_dir, std::string program);
  ~HistoryRecorder();
  HistoryRecorder(const HistoryRecorder&) = delete;
  HistoryRecorder& operator=(const HistoryRecorder&) = delete;

  // A new event of `action` on the instrument at `line` and `address`, with
  // an id of its own and the time now.
  HistoryEvent NewEvent(const std::string& action, const std::string& line,
                        std::uint32_t address);

  // Stores `event` (opening the file at its first use); false with `error`
  // naming the file and why.
  bool Store(HistoryEvent& event, std::string& error);

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
  std::unique_ptr<HistoryStore> store_;
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
