#pragma once
// The polling behind the window "Приборы на линии". It runs on the window's
// link thread, through the DeviceJobRunner, on the session's own line: one
// instrument per poll job, so a line always has one poller and the frames of
// the view and of the window's commands never interleave.
//
// The rule: the view polls only while the link is free. A tick that finds a
// command running, or the page "Текущие значения" polling its instrument,
// sends nothing (the view is paused, and says why); a command asked for
// during one of the view's polls starts as soon as that poll has ended. The
// instruments are polled back to back, a whole sweep at most twice a second.
// While the line's device is gone, every instrument is offline at once and
// the line is tried again once a second (the state says so); it resumes when
// the device is back.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/session.h"
#include "bus/bus_snapshot.h"
#include "gui/window/device_job_runner.h"

namespace zrm {
class BusLinePoll;
}

namespace zrm::gui {

class BusViewPolling : public QObject {
  Q_OBJECT

 public:
  enum class State { kStopped, kPolling, kPausedForCommand, kPausedForPage, kLineGone };

  // Polls through `session`'s line as jobs of `runner`; `page_polls` tells
  // whether the page "Текущие значения" is polling now. Both must outlive
  // this object.
  BusViewPolling(Session& session, DeviceJobRunner& runner, std::function<bool()> page_polls,
                 QObject* parent = nullptr);
  ~BusViewPolling() override;

  // Polls `addresses` from now on (the port in use, at its speed and reply
  // time-out), each from unknown.
  void Start(const std::vector<std::uint32_t>& addresses);
  // Sends nothing more; a poll under way ends on its own.
  void Stop();

 signals:
  // An instrument's new snapshot after its poll.
  void Polled(const zrm::BusSnapshot& snapshot);
  // The line's device vanished (every instrument offline) or came back.
  void LineGone(bool gone);
  // Why the view polls or not.
  void StateChanged(zrm::gui::BusViewPolling::State state);
  // The port in use, its device or its speed changed since Start.
  void PortChanged();

 private:
  // What a poll job hands back to the window's thread.
  struct JobResult {
    bool line_gone = false;
    std::vector<BusSnapshot> snapshots;
  };
  // The port the poll was made for.
  struct PortKey {
    std::int32_t number = 0;
    std::string path;
    std::int32_t speed = 0;
    bool operator==(const PortKey&) const = default;
  };

  void Tick();
  void RunJob();
  void EndJob(std::uint64_t generation, const JobResult& result);
  void SetState(State state);
  PortKey PortInUse() const;

  Session& session_;
  DeviceJobRunner& runner_;
  std::function<bool()> page_polls_;
  QTimer timer_;
  QElapsedTimer sweep_clock_;          // since the start of the sweep under way
  QElapsedTimer reopen_clock_;         // since the last try to open a gone line
  std::shared_ptr<BusLinePoll> poll_;  // used by the link thread's jobs only
  PortKey port_;
  std::uint64_t generation_ = 0;  // grows with every Start: older jobs' ends are passed over
  std::size_t instrument_count_ = 0;
  std::size_t polled_in_sweep_ = 0;
  bool line_gone_ = false;
  bool line_disturbed_ = false;  // something else used the line since the last poll
  State state_ = State::kStopped;
};

}  // namespace zrm::gui
