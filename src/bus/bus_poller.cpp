#include "bus/bus_poller.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "bus/bus_identity_read.h"
#include "bus/bus_line_poll.h"
#include "bus/bus_parameter.h"
#include "bus/bus_texts.h"
#include "bus/heartbeat_line.h"
#include "bus/heartbeat_line.h"
#include "platform/port_line.h"

namespace zrm {

namespace {

// How often a line whose device cannot be opened is tried again.
constexpr std::chrono::seconds kReopenPeriod{1};
// The longest a waiting line sleeps before it tells that it is alive.
constexpr std::chrono::seconds kIdleSlice{1};

// A write waiting for its line; the requests it stands for, each answered
// with its outcome.
struct QueuedWrite {
  std::uint32_t address = 0;
  BusParameter parameter = BusParameter::kCh1Th1;
  float value = 0;
  std::vector<BusPoller::WriteDone> done;

  void Answer(const BusWriteOutcome& outcome) const {
    for (const BusPoller::WriteDone& d : done)
      if (d) d(outcome);
  }
};

// One line: its port, its poll and its thread. The poll and the port belong
// to the thread; the rest is guarded by the poller's mutex.
struct LineWorker {
  LineWorker(std::size_t index, const BusLineConfig& config, const BusTiming& timing)
      : index(index),
        config(config),
        beating(port, beat),
        poll(index, beating, config.speed, config.addresses, timing) {
    snapshots = poll.Snapshots();
    parameters.resize(snapshots.size());
    Beat();
  }

  void Beat() { beat.store(SteadyClock::now().time_since_epoch().count()); }

  const std::size_t index;
  const BusLineConfig config;
  PortLine port;
  std::string refusal;  // why the device could not be opened last; empty once it was
  // The steady time the line's thread last came back from its line or its
  // loop: read by whoever watches that the lines are alive.
  std::atomic<SteadyClock::rep> beat{0};
  HeartbeatLine beating;
  BusLinePoll poll;
  std::thread thread;
  std::vector<BusSnapshot> snapshots;          // guarded; in the order of config.addresses
  std::vector<BusParameterValues> parameters;  // guarded; likewise
  std::deque<QueuedWrite> writes;              // guarded
  BusLineStats stats;                          // guarded
};

}  // namespace

struct BusPoller::Impl {
  Impl(std::vector<BusLineConfig> configs, BusTiming timing, BusEvents* events)
      : timing(timing), events(events) {
    for (std::size_t i = 0; i < configs.size(); ++i)
      lines.push_back(std::make_unique<LineWorker>(i, configs[i], timing));
  }

  void Run(LineWorker& line);
  // Opens the line's device; on failure every instrument goes offline.
  bool Open(LineWorker& line);
  // Runs every write queued for a line that cannot be opened: no poll is
  // kept waiting, and each ends at once.
  void RunWrites(LineWorker& line);
  // Runs the first queued write that needs frames, answering the ones
  // before it that asked for the value the instrument holds; true when one
  // was sent.
  bool RunOneWrite(LineWorker& line);
  // Counts a poll; `sweep_start` (when the poll ended a sweep) gives the
  // sweep's time.
  void Count(LineWorker& line, const BusSnapshot& polled,
             const SteadyClock::time_point* sweep_start) {
    std::lock_guard lock(mutex);
    ++line.stats.polls;
    if (polled.last_result != result::kOk) ++line.stats.failed;
    if (sweep_start)
      line.stats.sweep_ms = static_cast<std::uint64_t>(
          std::chrono::duration_cast<std::chrono::milliseconds>(SteadyClock::now() - *sweep_start)
              .count());
  }
  // Counts a write's outcome.
  void Count(LineWorker& line, const BusWriteOutcome& outcome) {
    std::lock_guard lock(mutex);
    ++(outcome.result == result::kOk ? line.stats.writes : line.stats.refused);
  }

  // Tells the events of the repairs the line made since it last asked.
  void TellRepairs(LineWorker& line) {
    for (const auto& [snapshot, outcome] : line.poll.TakeRepairs())
      if (events) events->OnRepaired(snapshot, outcome);
  }
  // Stores the snapshots and the parameter values the poll holds, then
  // tells the events: OnPolled for the instrument at `polled` (0: none),
  // OnAvailability for each whose availability or identity changed.
  void Publish(LineWorker& line, const std::vector<BusSnapshot>& fresh, std::uint32_t polled);
  // Waits until `until`; a write queued meanwhile runs when a sweep has
  // passed since the last one (`polls_since_write`), else the wait ends so
  // that the sweep it must wait for comes now. False once stopping.
  bool Idle(LineWorker& line, SteadyClock::time_point until, std::size_t& polls_since_write);
  bool Stopping() {
    std::lock_guard lock(mutex);
    return stopping;
  }
  LineWorker* Line(std::size_t index) const {
    return index < lines.size() ? lines[index].get() : nullptr;
  }

  const BusTiming timing;
  BusEvents* const events;
  std::vector<std::unique_ptr<LineWorker>> lines;
  mutable std::mutex mutex;
  std::condition_variable wake;
  bool stopping = false;
  bool started = false;
};

bool BusPoller::Impl::Open(LineWorker& line) {
  std::string reason;
  if (line.port.Open(line.config.device, line.config.speed, reason, line.config.modes)) {
    line.refusal.clear();
    if (const std::string notice = line.port.TakeNotice(); !notice.empty() && events)
      events->OnPortNotice(line.index, notice);
    line.poll.LineOpened();
    return true;
  }
  // Retried every second: a reason is told when it is new, not each time.
  if (reason != line.refusal && events) events->OnPortRefused(line.index, reason);
  line.refusal = reason;
  Publish(line, line.poll.MarkAllOffline(), 0);
  return false;
}

void BusPoller::Impl::Run(LineWorker& line) {
  const std::size_t per_sweep = line.config.addresses.size();
  std::size_t polled = 0;
  std::size_t polls_since_write = per_sweep;  // the first write waits for no sweep
  SteadyClock::time_point sweep_start = SteadyClock::now();
  while (!Stopping()) {
    line.Beat();
    if (!line.port.IsOpen() && !Open(line)) {
      RunWrites(line);
      if (!Idle(line, SteadyClock::now() + kReopenPeriod, polls_since_write)) break;
      continue;
    }
    if (polls_since_write >= per_sweep && RunOneWrite(line)) polls_since_write = 0;
    if (per_sweep == 0) {
      if (!Idle(line, SteadyClock::now() + kReopenPeriod, polls_since_write)) break;
      continue;
    }
    if (polled % per_sweep == 0) sweep_start = SteadyClock::now();
    const BusSnapshot polled_one = line.poll.PollNext();
    TellRepairs(line);
    ++polls_since_write;
    Count(line, polled_one, polled % per_sweep == per_sweep - 1 ? &sweep_start : nullptr);
    // A device that vanished took every instrument of the line offline.
    Publish(line, line.port.IsOpen() ? std::vector{polled_one} : line.poll.Snapshots(),
            polled_one.address);
    if (++polled % per_sweep == 0 && timing.poll_ms > 0 &&
        !Idle(line, sweep_start + std::chrono::milliseconds(timing.poll_ms), polls_since_write))
      break;
  }
}

void BusPoller::Impl::RunWrites(LineWorker& line) {
  while (RunOneWrite(line)) {
  }
}

bool BusPoller::Impl::RunOneWrite(LineWorker& line) {
  for (;;) {
    QueuedWrite write;
    {
      std::lock_guard lock(mutex);
      if (line.writes.empty() || stopping) return false;
      write = std::move(line.writes.front());
      line.writes.pop_front();
    }
    // The instrument holds it already: nothing to send, and no poll waits.
    if (line.poll.ParameterValue(write.address, write.parameter) == write.value) {
      Count(line, BusWriteOutcome{});
      write.Answer({});
      continue;
    }
    const BusWriteOutcome outcome = line.poll.Write(write.address, write.parameter, write.value);
    TellRepairs(line);
    Publish(line, {}, 0);
    Count(line, outcome);
    if (events)
      for (const BusSnapshot& s : line.poll.Snapshots())
        if (s.address == write.address) events->OnParameters(s);
    write.Answer(outcome);
    return true;
  }
}

void BusPoller::Impl::Publish(LineWorker& line, const std::vector<BusSnapshot>& fresh,
                              std::uint32_t polled) {
  std::vector<BusParameterValues> parameters(line.config.addresses.size());
  for (std::size_t i = 0; i < parameters.size(); ++i)
    for (const BusParameter p : kBusParameters)
      parameters[i][IndexOf(p)] = line.poll.ParameterValue(line.config.addresses[i], p);
  std::vector<BusSnapshot> changed;
  {
    std::lock_guard lock(mutex);
    line.parameters = parameters;
    for (const BusSnapshot& s : fresh) {
      for (BusSnapshot& stored : line.snapshots) {
        if (stored.address != s.address) continue;
        if (stored.availability != s.availability || stored.identity_reads != s.identity_reads)
          changed.push_back(s);
        stored = s;
      }
    }
  }
  if (!events) return;
  for (const BusSnapshot& s : fresh)
    if (s.address == polled) events->OnPolled(s);
  for (const BusSnapshot& s : changed) events->OnAvailability(s);
}

bool BusPoller::Impl::Idle(LineWorker& line, SteadyClock::time_point until,
                           std::size_t& polls_since_write) {
  for (;;) {
    {
      std::unique_lock lock(mutex);
      const auto slice = std::min(until, SteadyClock::now() + kIdleSlice);
      wake.wait_until(lock, slice, [&] { return stopping || !line.writes.empty(); });
      if (stopping) return false;
      line.Beat();
      if (line.writes.empty() && SteadyClock::now() < until) continue;
      if (line.writes.empty()) return true;
    }
    const bool sweep_owed = line.port.IsOpen() && polls_since_write < line.config.addresses.size();
    if (sweep_owed) return true;
    if (RunOneWrite(line)) polls_since_write = 0;
  }
}

BusPoller::BusPoller(std::vector<BusLineConfig> lines, BusTiming timing, BusEvents* events)
    : impl_(std::make_unique<Impl>(std::move(lines), timing, events)) {}

BusPoller::~BusPoller() { Stop(); }

void BusPoller::SetWorkingDir(const std::string& dir) {
  for (auto& line : impl_->lines) line->poll.SetWorkingDir(dir, line->config.device);
}

void BusPoller::Start() {
  {
    std::lock_guard lock(impl_->mutex);
    if (impl_->started) return;
    impl_->started = true;
    impl_->stopping = false;
  }
  for (auto& line : impl_->lines)
    line->thread = std::thread([this, worker = line.get()] { impl_->Run(*worker); });
}

void BusPoller::Stop() {
  std::vector<QueuedWrite> dropped;
  {
    std::lock_guard lock(impl_->mutex);
    impl_->stopping = true;
    for (auto& line : impl_->lines) {
      for (QueuedWrite& write : line->writes) dropped.push_back(std::move(write));
      line->writes.clear();
    }
  }
  impl_->wake.notify_all();
  for (auto& line : impl_->lines)
    if (line->thread.joinable()) line->thread.join();
  for (const QueuedWrite& write : dropped)
    write.Answer({result::kUserAbort, bus_texts::kPollingStopped});
  std::lock_guard lock(impl_->mutex);
  impl_->started = false;
}

std::vector<BusSnapshot> BusPoller::Snapshots() const {
  std::lock_guard lock(impl_->mutex);
  std::vector<BusSnapshot> out;
  for (const auto& line : impl_->lines)
    out.insert(out.end(), line->snapshots.begin(), line->snapshots.end());
  return out;
}

std::optional<BusSnapshot> BusPoller::SnapshotOf(std::size_t line, std::uint32_t address) const {
  std::lock_guard lock(impl_->mutex);
  const LineWorker* worker = impl_->Line(line);
  if (!worker) return std::nullopt;
  for (const BusSnapshot& s : worker->snapshots)
    if (s.address == address) return s;
  return std::nullopt;
}

void BusPoller::RequestWrite(std::size_t line, std::uint32_t address, BusParameter parameter,
                             float value, WriteDone done) {
  bool full = false;
  {
    std::lock_guard lock(impl_->mutex);
    LineWorker* worker = impl_->Line(line);
    if (worker && !impl_->stopping) {
      auto& queue = worker->writes;
      const auto same = std::find_if(queue.begin(), queue.end(), [&](const QueuedWrite& w) {
        return w.address == address && w.parameter == parameter;
      });
      if (same != queue.end()) {
        same->value = value;  // the last value asked for is the one written
        same->done.push_back(std::move(done));
        return;
      }
      full = queue.size() >= kMostQueuedWrites;
      if (full) ++worker->stats.refused;
      if (!full) {
        queue.push_back({address, parameter, value, {}});
        queue.back().done.push_back(std::move(done));
        impl_->wake.notify_all();
        return;
      }
    }
  }
  if (!done) return;
  if (full)
    done({result::kReplyNotMatched, bus_texts::kQueueFull, true});
  else if (impl_->Line(line))
    done({result::kUserAbort, bus_texts::kPollingStopped});
  else
    done({result::kParameterNotFound, bus_texts::kNoSuchLine});
}

std::vector<BusLineStats> BusPoller::Stats() const {
  std::lock_guard lock(impl_->mutex);
  std::vector<BusLineStats> out;
  for (const auto& line : impl_->lines) {
    out.push_back(line->stats);
    out.back().queued = line->writes.size();
  }
  return out;
}

bool BusPoller::LinesAlive(std::chrono::milliseconds stalled_after) const {
  const SteadyClock::rep now = SteadyClock::now().time_since_epoch().count();
  const SteadyClock::rep limit =
      std::chrono::duration_cast<SteadyClock::duration>(stalled_after).count();
  return std::all_of(impl_->lines.begin(), impl_->lines.end(),
                     [&](const auto& line) { return now - line->beat.load() <= limit; });
}

std::optional<float> BusPoller::ParameterValue(std::size_t line, std::uint32_t address,
                                               BusParameter parameter) const {
  std::lock_guard lock(impl_->mutex);
  const LineWorker* worker = impl_->Line(line);
  if (!worker) return std::nullopt;
  for (std::size_t i = 0; i < worker->config.addresses.size(); ++i)
    if (worker->config.addresses[i] == address) return worker->parameters[i][IndexOf(parameter)];
  return std::nullopt;
}

}  // namespace zrm
