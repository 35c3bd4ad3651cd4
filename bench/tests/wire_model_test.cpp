// The wire-time limit and the fixed-window design's time: the two columns
// every measured figure is compared with.

#include "wire_model.h"

#include <gtest/gtest.h>

#include <vector>

namespace zrm::bench {
namespace {

TEST(WireLimit, CountsEveryByteAsTenBitsAndOneTurnaroundPerExchange) {
  const std::vector<ExchangeBytes> run = {{20, 10}, {20, 10}};
  // 60 bytes × 10 bits at 9600 bit/s = 62.5 ms, plus 2 × 5 ms.
  EXPECT_NEAR(WireLimitMs(run, {9600, 5}), 72.5, 1e-9);
  EXPECT_EQ(WireLimitMs({}, {9600, 5}), 0);
}

TEST(PerCharacterTimeout, FollowsTheSpeedTableAndKnowsNoOtherSpeed) {
  EXPECT_EQ(PerCharacterTimeoutMs(4800), 12u);
  EXPECT_EQ(PerCharacterTimeoutMs(9600), 9u);
  EXPECT_EQ(PerCharacterTimeoutMs(19200), 5u);
  EXPECT_EQ(PerCharacterTimeoutMs(38400), 3u);
  EXPECT_FALSE(PerCharacterTimeoutMs(57600));
}

class FixedWindow : public ::testing::Test {
 protected:
  const LineSetup line_{9600, 5};
  const unsigned r_ = 9;
  const double byte_ = ByteMs(9600);
  const double request_ = 20 * byte_;
};

TEST_F(FixedWindow, AShortReplyCostsOneWholeWindow) {
  EXPECT_NEAR(FixedWindowExchangeMs({20, 10}, line_, r_), request_ + 297, 1e-9);
  EXPECT_NEAR(FixedWindowExchangeMs({20, 31}, line_, r_), request_ + 297, 1e-9);
}

TEST_F(FixedWindow, AWindowThatFillsEndsWithItsThirtySecondByte) {
  EXPECT_NEAR(FixedWindowExchangeMs({20, 32}, line_, r_), request_ + 5 + 32 * byte_, 1e-9);
  EXPECT_NEAR(FixedWindowExchangeMs({20, 64}, line_, r_), request_ + 5 + 64 * byte_, 1e-9);
}

TEST_F(FixedWindow, OneByteBeyondAFullWindowCostsAnotherWholeWindow) {
  EXPECT_NEAR(FixedWindowExchangeMs({20, 33}, line_, r_), request_ + 5 + 32 * byte_ + 297, 1e-9);
  EXPECT_NEAR(FixedWindowExchangeMs({20, 42}, line_, r_), request_ + 5 + 32 * byte_ + 297, 1e-9);
}

TEST_F(FixedWindow, AReplyLaterThanAWindowWaitsOutEmptyWindows) {
  // 400 ms think time at 38400 (windows of 99 ms): the windows ending at 99,
  // 198, 297 and 396 ms get nothing; the one ending at 495 ms has it all.
  const LineSetup slow{38400, 400};
  EXPECT_NEAR(FixedWindowExchangeMs({0, 10}, slow, 3), 495, 1e-9);
}

TEST(FixedWindowAgainstLimit, IsNeverFasterThanTheWire) {
  for (unsigned baud : {4800u, 9600u, 19200u, 38400u}) {
    const LineSetup line{baud, 5};
    for (std::size_t reply = 1; reply <= 300; ++reply) {
      const std::vector<ExchangeBytes> one = {{22, reply}};
      EXPECT_GE(FixedWindowMs(one, line, *PerCharacterTimeoutMs(baud)) + 1e-9,
                WireLimitMs(one, line))
          << baud << " baud, " << reply << " bytes";
    }
  }
}

}  // namespace
}  // namespace zrm::bench
