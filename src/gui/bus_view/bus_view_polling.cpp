#include "gui/bus_view/bus_view_polling.h"

#include <QPointer>
#include <algorithm>
#include <utility>

#include "bus/bus_line_poll.h"

namespace zrm::gui {

namespace {

// A whole sweep at most twice a second, as the page "Текущие значения" polls.
constexpr qint64 kSweepPeriodMs = 500;
// How soon a paused view looks again whether the link is free.
constexpr int kPausedTickMs = 100;
// A gone line is tried again once a second.
constexpr qint64 kReopenEveryMs = 1000;
constexpr int kGoneTickMs = 250;

}  // namespace

BusViewPolling::BusViewPolling(Session& session, DeviceJobRunner& runner,
                               std::function<bool()> page_polls, QObject* parent)
    : QObject(parent), session_(session), runner_(runner), page_polls_(std::move(page_polls)) {
  timer_.setSingleShot(true);
  connect(&timer_, &QTimer::timeout, this, &BusViewPolling::Tick);
}

BusViewPolling::~BusViewPolling() = default;

void BusViewPolling::Start(const std::vector<std::uint32_t>& addresses) {
  ++generation_;
  port_ = PortInUse();
  const LinkConfig& config = session_.Config();
  BusTiming timing;
  timing.timeout_ms = config.timeout_ms;
  timing.attempts = std::clamp(config.attempts, 2u, 5u);
  poll_ =
      std::make_shared<BusLinePoll>(0, session_.InstrumentLine(), config.speed, addresses, timing);
  instrument_count_ = addresses.size();
  polled_in_sweep_ = 0;
  line_gone_ = false;
  // Whatever the line carried before is none of the new poll's business.
  line_disturbed_ = true;
  timer_.start(0);
}

void BusViewPolling::Stop() {
  ++generation_;
  timer_.stop();
  poll_.reset();
  SetState(State::kStopped);
}

BusViewPolling::PortKey BusViewPolling::PortInUse() const {
  return {session_.PortNumber(), session_.PortPath(), session_.Config().speed};
}

void BusViewPolling::Tick() {
  if (!poll_ || instrument_count_ == 0 || runner_.HasShutDown()) return;
  if (!(PortInUse() == port_)) {
    emit PortChanged();
    return;
  }
  // The page polls its own instrument at its own pace; the view waits, so
  // the page is never starved of the link.
  if (page_polls_()) {
    line_disturbed_ = true;
    SetState(State::kPausedForPage);
    timer_.start(kPausedTickMs);
    return;
  }
  if (runner_.Busy()) {
    line_disturbed_ = true;
    SetState(State::kPausedForCommand);
    timer_.start(kPausedTickMs);
    return;
  }
  SetState(line_gone_ ? State::kLineGone : State::kPolling);
  if (line_gone_ && reopen_clock_.isValid() && reopen_clock_.elapsed() < kReopenEveryMs) {
    timer_.start(kGoneTickMs);
    return;
  }
  RunJob();
}

void BusViewPolling::RunJob() {
  if (polled_in_sweep_ == 0) sweep_clock_.restart();
  if (line_gone_) reopen_clock_.restart();
  auto result = std::make_shared<JobResult>();
  const bool wait_out_line = std::exchange(line_disturbed_, false) || line_gone_;
  Line& line = session_.InstrumentLine();
  QPointer<BusViewPolling> self(this);
  const std::uint64_t generation = generation_;
  const bool started = runner_.RunPoll(
      [poll = poll_, &line, result, wait_out_line] {
        if (!line.IsOpen() && !line.Reopen()) {
          result->line_gone = true;
          result->snapshots = poll->MarkAllOffline();
          return;
        }
        if (wait_out_line) poll->LineOpened();
        result->snapshots.push_back(poll->PollNext());
        // The device vanished during the poll: the others are gone as well.
        if (!line.IsOpen()) {
          result->line_gone = true;
          result->snapshots = poll->MarkAllOffline();
        }
      },
      [self, generation, result] {
        if (self) self->EndJob(generation, *result);
      });
  if (!started) timer_.start(kPausedTickMs);
}

void BusViewPolling::EndJob(std::uint64_t generation, const JobResult& result) {
  if (generation != generation_) return;
  if (result.line_gone != line_gone_) {
    line_gone_ = result.line_gone;
    emit LineGone(line_gone_);
    SetState(line_gone_ ? State::kLineGone : State::kPolling);
  }
  for (const BusSnapshot& snapshot : result.snapshots) emit Polled(snapshot);
  if (line_gone_) {
    polled_in_sweep_ = 0;
    timer_.start(kGoneTickMs);
    return;
  }
  if (++polled_in_sweep_ < instrument_count_) {
    timer_.start(0);
    return;
  }
  polled_in_sweep_ = 0;
  timer_.start(static_cast<int>(std::max<qint64>(0, kSweepPeriodMs - sweep_clock_.elapsed())));
}

void BusViewPolling::SetState(State state) {
  if (state_ == state) return;
  state_ = state;
  emit StateChanged(state_);
}

}  // namespace zrm::gui
