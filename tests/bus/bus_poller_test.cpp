// The bus poller's line threads against simulated lines: availability as
// the events tell it, a device that cannot be opened or comes back, writes
// queued between polls, and a stop that does not wait for a sweep.

#include "bus/bus_poller.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "bus/bus_test_line.h"
#include "lib/device_symlink.h"
#include "lib/pseudo_terminal.h"
#include "support/scratch_dir.h"

namespace zrm {
namespace {

using namespace std::chrono_literals;
using test::QuickTiming;

// The events as a line thread tells them.
class RecordedEvents : public BusEvents {
 public:
  void OnPolled(const BusSnapshot& s) override {
    std::lock_guard lock(mutex_);
    ++polled_;
    last_polled_ = s;
  }
  void OnAvailability(const BusSnapshot& s) override {
    std::lock_guard lock(mutex_);
    availability_.push_back(s);
  }
  std::vector<BusSnapshot> Availability() const {
    std::lock_guard lock(mutex_);
    return availability_;
  }
  std::size_t Polled() const {
    std::lock_guard lock(mutex_);
    return polled_;
  }

 private:
  mutable std::mutex mutex_;
  std::size_t polled_ = 0;
  BusSnapshot last_polled_;
  std::vector<BusSnapshot> availability_;
};

// Waits (generously) until `done` holds.
bool Eventually(const std::function<bool()>& done) {
  const auto until = std::chrono::steady_clock::now() + 20s;
  while (std::chrono::steady_clock::now() < until) {
    if (done()) return true;
    std::this_thread::sleep_for(10ms);
  }
  return done();
}

bool AllAre(const BusPoller& poller, BusAvailability availability, std::size_t line) {
  for (const BusSnapshot& s : poller.Snapshots())
    if (s.line == line && s.availability != availability) return false;
  return true;
}

TEST(BusPoller, LinesRunInParallelAndAMissingDeviceLeavesItsInstrumentsOffline) {
  sim::Simulator first(test::FourInstruments());
  sim::Simulator second;
  std::string error;
  ASSERT_TRUE(first.Start(&error)) << error;
  ASSERT_TRUE(second.Start(&error)) << error;
  RecordedEvents events;
  BusPoller poller({{first.SlavePath(), 9600, {1, 2, 3, 4}},
                    {second.SlavePath(), 9600, {1}},
                    {"/dev/zrm48-no-such-device", 9600, {5, 6}}},
                   QuickTiming(3), &events);
  poller.Start();
  ASSERT_TRUE(Eventually([&] { return AllAre(poller, BusAvailability::kOnline, 0); }));
  ASSERT_TRUE(Eventually([&] { return AllAre(poller, BusAvailability::kOnline, 1); }));
  EXPECT_TRUE(AllAre(poller, BusAvailability::kOffline, 2));
  EXPECT_EQ(poller.Snapshots().size(), 7u);
  EXPECT_FALSE(poller.SnapshotOf(0, 9).has_value());
  EXPECT_FALSE(poller.SnapshotOf(5, 1).has_value());
  ASSERT_TRUE(poller.SnapshotOf(1, 1).has_value());
  EXPECT_TRUE(poller.SnapshotOf(1, 1)->identity.known);
  EXPECT_TRUE(poller.ParameterValue(0, 4, BusParameter::kCh2His2).has_value());
  EXPECT_FALSE(poller.ParameterValue(2, 5, BusParameter::kCh2His2).has_value());
  ASSERT_TRUE(Eventually([&] { return events.Polled() > 20; }));
  std::size_t offline_told = 0;
  std::size_t online_told = 0;
  for (const BusSnapshot& s : events.Availability()) {
    offline_told += s.line == 2 && s.availability == BusAvailability::kOffline;
    online_told += s.line == 0 && s.availability == BusAvailability::kOnline;
  }
  EXPECT_EQ(offline_told, 2u) << "offline is told once, not at every retry";
  EXPECT_EQ(online_told, 4u) << "online is told once, not at every poll";

  const auto stop_start = std::chrono::steady_clock::now();
  poller.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - stop_start, 5s);
  const std::size_t after_stop = first.RequestsReceived();
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(first.RequestsReceived(), after_stop) << "nothing sent after Stop";
}

TEST(BusPoller, DeviceThatVanishesAndReturnsIsPolledAgainWithIdentities) {
  test::ScratchDir dir;
  const std::string device = dir.File("ttyBUS");
  auto simulator = std::make_unique<sim::Simulator>(test::FourInstruments());
  std::string error;
  ASSERT_TRUE(simulator->Start(&error)) << error;
  ASSERT_TRUE(sim::CreateDeviceSymlink(device, simulator->SlavePath(), error)) << error;
  RecordedEvents events;
  BusPoller poller({{device, 9600, {1, 2, 3, 4}}}, QuickTiming(3), &events);
  poller.Start();
  ASSERT_TRUE(Eventually([&] { return AllAre(poller, BusAvailability::kOnline, 0); }));

  simulator->Stop();
  ASSERT_TRUE(Eventually([&] { return AllAre(poller, BusAvailability::kOffline, 0); }));
  for (const BusSnapshot& s : poller.Snapshots()) EXPECT_EQ(s.identity_reads, 1u);

  simulator = std::make_unique<sim::Simulator>(test::FourInstruments());
  ASSERT_TRUE(simulator->Start(&error)) << error;
  ASSERT_TRUE(sim::CreateDeviceSymlink(device, simulator->SlavePath(), error)) << error;
  ASSERT_TRUE(Eventually([&] { return AllAre(poller, BusAvailability::kOnline, 0); }));
  for (const BusSnapshot& s : poller.Snapshots()) EXPECT_EQ(s.identity_reads, 2u);

  // Replaced by another device at the same path, so the reopen succeeds at
  // its first try: every instrument still goes offline, once, and reads its
  // identity again.
  auto replacement = std::make_unique<sim::Simulator>(test::FourInstruments());
  ASSERT_TRUE(replacement->Start(&error)) << error;
  ASSERT_TRUE(sim::CreateDeviceSymlink(device, replacement->SlavePath(), error)) << error;
  const std::size_t told_before = events.Availability().size();
  simulator->Stop();
  simulator = std::move(replacement);
  ASSERT_TRUE(Eventually([&] {
    const std::vector<BusSnapshot> snapshots = poller.Snapshots();
    return AllAre(poller, BusAvailability::kOnline, 0) &&
           std::all_of(snapshots.begin(), snapshots.end(),
                       [](const BusSnapshot& s) { return s.identity_reads == 3u; });
  }));
  std::size_t offline_told = 0;
  const std::vector<BusSnapshot> told = events.Availability();
  for (std::size_t i = told_before; i < told.size(); ++i)
    offline_told += told[i].availability == BusAvailability::kOffline;
  EXPECT_EQ(offline_told, 4u);
  poller.Stop();
  sim::RemoveDeviceSymlink(device, simulator->SlavePath());
}

TEST(BusPoller, WritesRunBetweenPollsAndEachIsAnsweredOnce) {
  test::ScratchDir dir;
  sim::Simulator simulator(test::FourInstruments());
  std::string error;
  ASSERT_TRUE(simulator.Start(&error)) << error;
  BusTiming timing = QuickTiming(3);
  timing.poll_ms = 60'000;  // one sweep, then only the writes wake the line
  BusPoller poller({{simulator.SlavePath(), 9600, {1, 2, 3, 4}}}, timing, nullptr);
  poller.SetWorkingDir(dir.Path());
  poller.Start();
  ASSERT_TRUE(Eventually([&] { return AllAre(poller, BusAvailability::kOnline, 0); }));
  const std::size_t swept = simulator.RequestsReceived();
  std::this_thread::sleep_for(1500ms);
  EXPECT_EQ(simulator.RequestsReceived(), swept) << "the next sweep waits for its period";
  EXPECT_TRUE(poller.LinesAlive(1200ms)) << "a line waiting for its period is alive";

  std::promise<BusWriteOutcome> written;
  poller.RequestWrite(0, 3, BusParameter::kCh1His2, 2.5f,
                      [&](const BusWriteOutcome& o) { written.set_value(o); });
  auto future = written.get_future();
  ASSERT_EQ(future.wait_for(20s), std::future_status::ready) << "a write wakes a waiting line";
  EXPECT_EQ(future.get().result, result::kOk);
  EXPECT_EQ(poller.ParameterValue(0, 3, BusParameter::kCh1His2), 2.5f);
  EXPECT_EQ(simulator.MemoryAt(3)->Float(38), 2.5f);

  std::promise<BusWriteOutcome> refused;
  poller.RequestWrite(7, 3, BusParameter::kCh1His2, 2.5f,
                      [&](const BusWriteOutcome& o) { refused.set_value(o); });
  EXPECT_EQ(refused.get_future().get().result, result::kParameterNotFound) << "no line 7";

  const auto stop_start = std::chrono::steady_clock::now();
  poller.Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - stop_start, 5s) << "Stop cuts the period short";
  std::promise<BusWriteOutcome> late;
  poller.RequestWrite(0, 3, BusParameter::kCh1His2, 3.0f,
                      [&](const BusWriteOutcome& o) { late.set_value(o); });
  EXPECT_EQ(late.get_future().get().result, result::kUserAbort)
      << "a stopped poller writes nothing";
}

// What a line thread did, in order: "p<address>" for a poll, "w" for a write
// that ended.
class LineSequence : public BusEvents {
 public:
  void OnPolled(const BusSnapshot& s) override { Add("p" + std::to_string(s.address)); }
  void OnAvailability(const BusSnapshot&) override {}
  void Add(const std::string& step) {
    std::lock_guard lock(mutex_);
    steps_.push_back(step);
  }
  std::vector<std::string> Steps() const {
    std::lock_guard lock(mutex_);
    return steps_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> steps_;
};

TEST(BusPoller, QueuedWritesCollapseStayBoundedAndNeverBlindTheLine) {
  test::ScratchDir dir;
  sim::SimulatorOptions options = test::FourInstruments();
  options.restart_time = 10ms;
  sim::Simulator simulator(options);
  std::string error;
  ASSERT_TRUE(simulator.Start(&error)) << error;
  LineSequence sequence;
  std::vector<std::future<BusWriteOutcome>> outcomes;
  // `marked`: the write's end is a step of the sequence (a request that
  // joins a queued one ends with it, as one write).
  const auto request = [&](BusPoller& poller, std::uint32_t address, BusParameter parameter,
                           float value, bool marked = true) {
    auto promise = std::make_shared<std::promise<BusWriteOutcome>>();
    outcomes.push_back(promise->get_future());
    poller.RequestWrite(0, address, parameter, value,
                        [promise, marked, &sequence](const BusWriteOutcome& o) {
                          if (marked) sequence.Add("w");
                          promise->set_value(o);
                        });
  };
  const BusParameter hystereses[] = {BusParameter::kCh1His1, BusParameter::kCh1His2,
                                     BusParameter::kCh2His1, BusParameter::kCh2His2};
  {
    // Sixteen writes fill a line's queue; one more for a queued parameter
    // joins it, a seventeenth is refused as busy at once.
    BusPoller waiting({{simulator.SlavePath(), 9600, {1, 2, 3, 4}}}, QuickTiming(3), nullptr);
    for (std::uint32_t address = 1; address <= 4; ++address)
      for (const BusParameter p : hystereses) request(waiting, address, p, 1.25f, false);
    request(waiting, 4, BusParameter::kCh2His2, 1.5f, false);
    request(waiting, 1, BusParameter::kCh1Th2, 50.0f, false);
    ASSERT_EQ(outcomes.back().wait_for(0s), std::future_status::ready);
    const BusWriteOutcome busy = outcomes.back().get();
    EXPECT_TRUE(busy.busy);
    EXPECT_EQ(busy.result, result::kReplyNotMatched);
    outcomes.pop_back();
    waiting.Stop();
    for (auto& outcome : outcomes) EXPECT_EQ(outcome.get().result, result::kUserAbort);
    outcomes.clear();
  }
  BusPoller poller({{simulator.SlavePath(), 9600, {1, 2, 3, 4}}}, QuickTiming(3), &sequence);
  poller.SetWorkingDir(dir.Path());
  for (std::uint32_t address = 1; address <= 4; ++address)
    request(poller, address, BusParameter::kCh1His1, 1.25f);
  request(poller, 1, BusParameter::kCh1His1, 2.5f, false);  // takes the queued one's place
  poller.Start();
  for (auto& outcome : outcomes) {
    ASSERT_EQ(outcome.wait_for(60s), std::future_status::ready);
    EXPECT_EQ(outcome.get().result, result::kOk);
  }
  EXPECT_EQ(simulator.MemoryAt(1)->Float(37), 2.5f) << "the last value asked for";
  // Between two writes every instrument was polled: the line never went blind.
  const std::vector<std::string> steps = sequence.Steps();
  std::set<std::string> polled;
  bool after_write = false;
  for (const std::string& step : steps) {
    if (step != "w") {
      polled.insert(step);
      continue;
    }
    if (after_write) {
      EXPECT_EQ(polled.size(), 4u) << testing::PrintToString(steps);
    }
    polled.clear();
    after_write = true;
  }
  // The value the instrument holds is answered with no frame sent.
  const std::size_t writes_before = test::WriteFrameCount(simulator);
  request(poller, 2, BusParameter::kCh1His1, 1.25f);
  ASSERT_EQ(outcomes.back().wait_for(20s), std::future_status::ready);
  EXPECT_EQ(outcomes.back().get().result, result::kOk);
  EXPECT_EQ(test::WriteFrameCount(simulator), writes_before);
}

TEST(BusPoller, WriteStillQueuedAtStopIsAnsweredAndNeverSent) {
  sim::PseudoTerminal silent;
  std::string error;
  ASSERT_TRUE(silent.Open(error)) << error;
  BusPoller poller({{silent.SlavePath(), 9600, {1}}}, QuickTiming(3), nullptr);
  poller.Start();
  // Every poll waits out its two attempts; the write waits behind it.
  std::this_thread::sleep_for(200ms);
  std::promise<BusWriteOutcome> queued;
  poller.RequestWrite(0, 1, BusParameter::kCh1Th1, 5.0f,
                      [&](const BusWriteOutcome& o) { queued.set_value(o); });
  poller.Stop();
  auto future = queued.get_future();
  ASSERT_EQ(future.wait_for(0s), std::future_status::ready) << "answered by Stop";
  const BusWriteOutcome outcome = future.get();
  EXPECT_EQ(outcome.result, result::kUserAbort);
  EXPECT_FALSE(outcome.message.empty());
}

}  // namespace
}  // namespace zrm
