// The summary row: counts from the median run, ratios run by run, and the
// time added per exchange beyond its own wire time.

#include "transfer_row.h"

#include <gtest/gtest.h>

namespace zrm::bench {
namespace {

TEST(TransferRow, SumsUpRunsByMediansAndKeepsTheWorstRatio) {
  const LineSetup line{9600, 5};
  // One exchange of 24 + 24 bytes: 50 ms of wire plus 5 ms turnaround.
  const std::vector<ExchangeBytes> one = {{24, 24}};
  const std::vector<TimedRun> runs = {
      {55.0, one, {55.0}}, {56.1, one, {55.1}}, {110.0, one, {110.0}}};
  const TransferRow row = Summarize("x", line, runs);
  EXPECT_EQ(row.runs, 3u);
  EXPECT_EQ(row.exchanges, 1u);
  EXPECT_EQ(row.bytes_sent, 24u);
  EXPECT_EQ(row.bytes_received, 24u);
  EXPECT_NEAR(row.limit_ms, 55.0, 1e-9);
  EXPECT_NEAR(row.measured_ms, 56.1, 1e-9);
  EXPECT_NEAR(row.ratio, 56.1 / 55.0, 1e-9);
  EXPECT_NEAR(row.worst_ratio, 2.0, 1e-9);
  EXPECT_NEAR(row.added_per_exchange_us, 100, 1e-6);
  EXPECT_NEAR(row.fixed_window_ms, 25 + 297, 1e-9);
}

TEST(TransferRow, AnExchangeWithoutReplyAddsNoTime) {
  const std::vector<TimedRun> runs = {{80, {{24, 24}, {24, 0}}, {60.0, -1}}};
  EXPECT_NEAR(Summarize("x", {9600, 5}, runs).added_per_exchange_us, 5000, 1e-6);
}

}  // namespace
}  // namespace zrm::bench
