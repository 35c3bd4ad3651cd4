#include "sample_stats.h"

#include <gtest/gtest.h>

namespace zrm::bench {
namespace {

TEST(SampleStats, MedianOfOddAndEvenCountsIgnoresOneOutlier) {
  EXPECT_EQ(Median({5, 1, 900}), 5);
  EXPECT_EQ(Median({4, 1, 2, 900}), 3);
  EXPECT_EQ(Median({}), 0);
}

TEST(SampleStats, PercentileTakesTheNearestRank) {
  std::vector<double> hundred;
  for (int i = 1; i <= 100; ++i) hundred.push_back(i);
  EXPECT_EQ(Percentile(hundred, 0.99), 99);
  EXPECT_EQ(Percentile(hundred, 1.0), 100);
  EXPECT_EQ(Percentile(hundred, 0.0), 1);
  EXPECT_EQ(Percentile({7}, 0.99), 7);
  EXPECT_EQ(Percentile({}, 0.99), 0);
}

TEST(SampleStats, LargestOfNoneIsZero) {
  EXPECT_EQ(Largest({3, 9, 2}), 9);
  EXPECT_EQ(Largest({}), 0);
}

}  // namespace
}  // namespace zrm::bench
