#include "app/history_recorder.h"

#include <pwd.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>

#include "app/app_texts.h"
#include "app/history_reading.h"
#include "editor/comparison_texts.h"
#include "editor/settings_comparison.h"
#include "history/database_url.h"
#include "history/history_queue.h"
#include "history/history_texts.h"
#include "settings/instrument_identity_text.h"

namespace zrm {

namespace {

std::string HostName() {
  std::array<char, 256> name{};
  if (::gethostname(name.data(), name.size() - 1) != 0) return "?";
  return name.data();
}

// The login name: the process's user, else what the environment says.
std::string UserName() {
  if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_name) return entry->pw_name;
  const char* logname = std::getenv("LOGNAME");
  return logname ? logname : std::to_string(::geteuid());
}

std::int64_t NowMs() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

}  // namespace

HistoryRecorder::HistoryRecorder(std::string working_dir, std::string program,
                                 std::string database_url, const std::string& url_source)
    : dir_(std::move(working_dir)),
      program_(std::move(program)),
      workstation_(HostName()),
      user_(UserName()) {
  std::string why;
  if (!database_url.empty() && !CheckDatabaseUrl(database_url, why)) {
    refusal_ = std::string(history_texts::kNotOpened) +
               (url_source.empty() ? "" : url_source + ": ") +
               std::string(history_texts::kBadDatabaseUrl) + why;
    database_url.clear();
  }
  sends_on_ = !database_url.empty();
  queue_ = std::make_unique<HistoryQueue>(Path(), std::move(database_url));
}

HistoryRecorder::~HistoryRecorder() = default;

std::string HistoryRecorder::Path() const { return dir_ + "/history.sqlite"; }

HistoryEvent HistoryRecorder::NewEvent(const std::string& action, const std::string& line,
                                       std::uint32_t address) {
  HistoryEvent e;
  e.time_ms = NowMs();
  // Unique where it is made: this machine, program and process, the moment
  // and a count.
  e.id = workstation_ + ":" + program_ + ":" + std::to_string(::getpid()) + ":" +
         std::to_string(e.time_ms) + ":" + std::to_string(++count_);
  e.workstation = workstation_;
  e.user = user_;
  e.program = program_;
  e.version = ZRM_VERSION;
  e.line = line;
  e.address = address;
  e.action = action;
  return e;
}

bool HistoryRecorder::Store(HistoryEvent& event, std::string& error) {
  if (!refusal_.empty()) {
    error = refusal_;
    return false;
  }
  return queue_->Store(event, error);
}

std::string HistoryRecorder::TakeNotice() { return queue_->TakeNotice(); }

std::optional<std::vector<HistoryEvent>> HistoryRecorder::List(const HistoryFilter& filter,
                                                               std::string& error) {
  if (!refusal_.empty()) {
    error = refusal_;
    return std::nullopt;
  }
  if (!sends_on_) return ReadHistory(dir_, filter, error);
  return queue_->List(filter, error);
}

bool HistoryRecorder::Verify(std::optional<ChainBreak>& broken, std::size_t& events,
                             std::string& error) {
  if (!refusal_.empty()) {
    error = refusal_;
    return false;
  }
  if (!sends_on_) return VerifyHistory(dir_, broken, events, error);
  return queue_->Verify(broken, events, error);
}

void DescribeInstrument(const DeviceSettings& instrument, HistoryEvent& event) {
  const GeneralSettings& g = instrument.general;
  if (SerialNumber(g) == 0) return;
  event.instrument_type = ModelNumber(g.proc_ver);
  event.instrument_number = DeviceNumber(g);
  event.firmware = FirmwareVersionText(g.firmware_version);
}

bool StoreSearchEvents(HistoryRecorder& history, const std::string& line,
                       const SearchOutcome& outcome, std::string& error) {
  std::vector<HistoryEvent> events;
  for (const FoundInstrument& found : outcome.found) {
    HistoryEvent event = history.NewEvent("search", line, found.address);
    if (found.identified) {
      DeviceSettings identity = FoundIdentity(found);
      identity.general.firmware_version = found.firmware_version;
      DescribeInstrument(identity, event);
    }
    event.message = app_texts::kHistoryFoundAt + std::to_string(found.speed);
    events.push_back(std::move(event));
  }
  if (events.empty()) {
    events.push_back(history.NewEvent("search", line, 0));
    events.back().message = app_texts::kHistoryNoneFound;
  }
  for (HistoryEvent& event : events)
    if (!history.Store(event, error)) return false;
  return true;
}

std::vector<ParameterChange> ChangesBetween(const DeviceSettings& before,
                                            const DeviceSettings& after) {
  std::vector<ParameterChange> changes;
  for (const SettingDifference& d : CompareSettings(before, after)) {
    // Which instrument it is, is no parameter written.
    if (d.group == comparison_texts::kOtherInstrument) continue;
    changes.push_back({d.group + ": " + d.label, d.instrument, d.profile});
  }
  return changes;
}

std::vector<ParameterChange> ChangesOfParameters(const DeviceSettings& before,
                                                 const DeviceSettings& after,
                                                 const std::vector<WrittenParameter>& only) {
  // Every group compared, whatever the records select: `only` names what
  // was written.
  const auto all_selected = [](DeviceSettings s) {
    for (ChannelSettings& channel : s.channel) channel.select = 1;
    s.relay.select = 1;
    s.general.gen_select = 1;
    return s;
  };
  std::vector<ParameterChange> changes;
  for (const ParameterChange& c : ChangesBetween(all_selected(before), all_selected(after)))
    for (const WrittenParameter& p : only)
      if (c.name.starts_with(ParameterName(p))) {
        changes.push_back(c);
        break;
      }
  return changes;
}

std::vector<ParameterChange> WrittenChanges(const ChangesWriteOutcome& outcome,
                                            const DeviceSettings& target) {
  if (outcome.unfinished.empty()) return ChangesBetween(outcome.instrument, target);
  return ChangesOfParameters(outcome.instrument, target, outcome.written);
}

}  // namespace zrm
