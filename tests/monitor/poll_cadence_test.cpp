// The polling cadence on simulated time: which ticks poll, when the next
// tick comes, and which ticks write a measurement line.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "monitor/poll_cadence.h"

namespace zrm {
namespace {

constexpr std::uint32_t kTimeout = 1000;

// Drives a PollCadence the way the window's timer does: each tick comes when
// due; a poll takes `ok_wait_ms` when it succeeds and the whole time-out when
// the instrument is silent.
struct Simulation {
  std::function<int(std::int64_t)> page_at = [](std::int64_t) { return kCurrentValuesPage; };
  std::function<ExchangeResult(int)> result_of_poll = [](int) { return result::kOk; };
  std::int64_t ok_wait_ms = 40;

  PollCadence cadence{kTimeout, 0};
  std::vector<std::int64_t> poll_starts;
  std::vector<int> logged_polls;  // index of each poll that wrote a line

  void RunUntil(std::int64_t end_ms) {
    while (cadence.NextTickAtMs() <= end_ms) {
      std::int64_t now = cadence.NextTickAtMs();
      if (!cadence.BeginTick(now, page_at(now), false)) continue;
      const int index = static_cast<int>(poll_starts.size());
      poll_starts.push_back(now);
      const ExchangeResult r = result_of_poll(index);
      now += r == result::kOk ? ok_wait_ms : kTimeout;
      if (cadence.EndPoll(now, r)) logged_polls.push_back(index);
    }
  }
};

TEST(PollCadence, FirstTickAfterOneSecondThenHalfASecondAfterEachGoodPoll) {
  Simulation sim;
  sim.RunUntil(3000);
  ASSERT_GE(sim.poll_starts.size(), 4u);
  EXPECT_EQ(sim.poll_starts[0], 1000);
  for (std::size_t i = 1; i < sim.poll_starts.size(); ++i) {
    EXPECT_EQ(sim.poll_starts[i] - sim.poll_starts[i - 1], 40 + 500) << i;
  }
}

TEST(PollCadence, NoRequestOnAnotherPageAndRequestsWithinHalfASecondOfSwitching) {
  Simulation sim;
  const std::int64_t switched_at = 7321;
  sim.page_at = [&](std::int64_t now) { return now < switched_at ? 0 : kCurrentValuesPage; };
  sim.RunUntil(switched_at - 1);
  EXPECT_TRUE(sim.poll_starts.empty());
  EXPECT_EQ(sim.cadence.IntervalMs(), 500u);
  sim.RunUntil(switched_at + 2000);
  ASSERT_FALSE(sim.poll_starts.empty());
  EXPECT_GE(sim.poll_starts[0], switched_at);
  EXPECT_LE(sim.poll_starts[0], switched_at + 500);
}

TEST(PollCadence, LeavingThePageStopsRequestsAtTheNextTick) {
  Simulation sim;
  sim.page_at = [](std::int64_t now) { return now < 2500 ? kCurrentValuesPage : 4; };
  sim.RunUntil(10000);
  ASSERT_FALSE(sim.poll_starts.empty());
  EXPECT_LT(sim.poll_starts.back(), 2500);
}

TEST(PollCadence, FailedPollsWaitTimeoutPlusHalfASecondAndRecover) {
  Simulation sim;
  sim.result_of_poll = [](int i) { return i == 1 || i == 2 ? result::kNoAnswer : result::kOk; };
  sim.RunUntil(8000);
  ASSERT_GE(sim.poll_starts.size(), 5u);
  EXPECT_EQ(sim.poll_starts[1] - sim.poll_starts[0], 40 + 500);
  // The silent instrument: the wait itself, then time-out + 500 ms.
  EXPECT_EQ(sim.poll_starts[2] - sim.poll_starts[1], kTimeout + kTimeout + 500);
  EXPECT_EQ(sim.poll_starts[3] - sim.poll_starts[2], kTimeout + kTimeout + 500);
  EXPECT_EQ(sim.poll_starts[4] - sim.poll_starts[3], 40 + 500);
}

TEST(PollCadence, EverySecondPollingTickWritesALineOnlyWhenItsPollSucceeded) {
  Simulation sim;
  sim.result_of_poll = [](int i) { return i % 3 == 0 ? result::kOk : result::kChecksum; };
  // Ticks on another page in between do not count.
  sim.page_at = [](std::int64_t now) { return (now / 3000) % 2 == 0 ? kCurrentValuesPage : 1; };
  sim.RunUntil(30000);
  ASSERT_GE(sim.poll_starts.size(), 8u);
  // Polls 3, 9, 15, ...: odd (every second tick) and good (every third poll).
  ASSERT_FALSE(sim.logged_polls.empty());
  for (std::size_t i = 0; i < sim.logged_polls.size(); ++i) {
    EXPECT_EQ(sim.logged_polls[i], static_cast<int>(6 * i + 3));
  }
  EXPECT_EQ(sim.logged_polls.size(), (sim.poll_starts.size() + 2) / 6);
}

TEST(PollCadence, PausedOrBusyTicksNeitherPollNorCountForTheLog) {
  PollCadence cadence(kTimeout, 0);
  ASSERT_TRUE(cadence.BeginTick(1000, kCurrentValuesPage, false));
  EXPECT_FALSE(cadence.EndPoll(1050, result::kOk));

  cadence.SetPaused(true);
  EXPECT_FALSE(cadence.BeginTick(1550, kCurrentValuesPage, false));
  EXPECT_EQ(cadence.NextTickAtMs(), 2050);
  EXPECT_FALSE(cadence.EndPoll(1600, result::kOk));  // no poll begun: no line
  cadence.SetPaused(false);

  EXPECT_FALSE(cadence.BeginTick(2050, kCurrentValuesPage, true));  // a command runs
  ASSERT_TRUE(cadence.BeginTick(2550, kCurrentValuesPage, false));
  // A tick that falls while this poll still runs does not start another.
  EXPECT_FALSE(cadence.BeginTick(2560, kCurrentValuesPage, false));
  EXPECT_TRUE(cadence.EndPoll(2600, result::kOk));
  EXPECT_EQ(cadence.NextTickAtMs(), 3100);
}

TEST(PollCadence, HugeTimeoutIsClampedToTheLongestTimerInterval) {
  PollCadence cadence(0xFFFFFFFFu, 0);
  ASSERT_TRUE(cadence.BeginTick(1000, kCurrentValuesPage, false));
  cadence.EndPoll(2000, result::kNoAnswer);
  EXPECT_EQ(cadence.IntervalMs(), 2147483647u);
  EXPECT_EQ(cadence.NextTickAtMs(), 2000 + 2147483647LL);

  PollCadence near_limit(0xFFFFFFFFu - 100, 0);
  ASSERT_TRUE(near_limit.BeginTick(1000, kCurrentValuesPage, false));
  near_limit.EndPoll(1000, result::kTooManyChars);
  EXPECT_EQ(near_limit.IntervalMs(), 2147483647u);  // no 32-bit wrap to a short interval
}

TEST(PollCadence, TickDueFollowsTheClock) {
  PollCadence cadence(kTimeout, 5000);
  EXPECT_FALSE(cadence.TickDue(5999));
  EXPECT_TRUE(cadence.TickDue(6000));
  EXPECT_EQ(cadence.IntervalMs(), 1000u);
}

}  // namespace
}  // namespace zrm
