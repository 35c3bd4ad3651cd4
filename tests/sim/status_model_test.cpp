// The live status block: values inside the range, codes 12/9/8, set point
// flags with hysteresis, relay bits from the relay logic, the input byte.

#include <gtest/gtest.h>

#include <bit>

#include "lib/default_instrument.h"
#include "lib/status_model.h"

namespace zrm::sim {
namespace {

float ValueAt(const StatusBytes& block, std::size_t at) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) bits = (bits << 8) | block[at + i];
  return std::bit_cast<float>(bits);
}

class StatusModelTest : public ::testing::Test {
 protected:
  StatusBytes At(double seconds) {
    return model_.Block(memory_, origin_ + std::chrono::duration_cast<Clock::duration>(
                                              std::chrono::duration<double>(seconds)));
  }

  const Clock::time_point origin_ = Clock::now();
  ParameterMemory memory_ = DefaultInstrumentMemory();
  StatusModel model_{origin_};
};

TEST_F(StatusModelTest, ValuesMoveSlowlyInsideEachChannelsRange) {
  float previous = ValueAt(At(0), 4);
  for (double t = 0.5; t < 300; t += 0.5) {
    const StatusBytes block = At(t);
    const float one = ValueAt(block, 4);
    const float two = ValueAt(block, 10);
    EXPECT_GE(one, -50.0f);
    EXPECT_LE(one, 600.0f);
    EXPECT_GE(two, 0.0f);
    EXPECT_LE(two, 10.0f);
    EXPECT_LT(std::abs(one - previous), 10.0f) << "at " << t;  // slow: a poll sees a small step
    EXPECT_EQ(block[8], status_code::kNormal);
    previous = one;
  }
  EXPECT_NE(ValueAt(At(0), 4), ValueAt(At(30), 4));
}

TEST_F(StatusModelTest, ChannelSwitchedOffGivesCodeTwelveAndNoFlags) {
  memory_.SetByte(2, 342, 1);  // `use` of channel 2
  model_.Script().pinned_bits[1] = std::bit_cast<std::uint32_t>(9.5f);
  const StatusBytes block = At(1);
  EXPECT_EQ(block[14], status_code::kChannelOff);
  EXPECT_EQ(block[15], 0);
  EXPECT_EQ(block[8], status_code::kNormal);
}

TEST_F(StatusModelTest, SensorBreakSetsCodeNineFlagAndMaskedRelay) {
  memory_.SetByte(2, 6, 0x04);  // relay 1 on break of channel 1 only
  memory_.SetByte(2, 8, 0x00);
  memory_.SetByte(2, 9, 0x00);
  model_.Script().pinned_bits[0] = std::bit_cast<std::uint32_t>(100.0f);
  EXPECT_EQ(At(1)[2], 0);
  model_.Script().broken[0] = true;
  const StatusBytes block = At(2);
  EXPECT_EQ(block[8], status_code::kBreak);
  EXPECT_EQ(block[9], 0x04);
  EXPECT_EQ(block[2], 0x01);
}

TEST_F(StatusModelTest, RisingSetPointHoldsUntilBelowHysteresis) {
  // Channel 1: type 2 (rise) at 150 with hysteresis 2.
  auto flag_for = [&](float value) {
    model_.Script().pinned_bits[0] = std::bit_cast<std::uint32_t>(value);
    return At(1)[9] & 0x01;
  };
  EXPECT_EQ(flag_for(149.0f), 0);
  EXPECT_EQ(flag_for(150.5f), 1);
  EXPECT_EQ(flag_for(149.0f), 1);  // inside the hysteresis: still on
  EXPECT_EQ(flag_for(147.5f), 0);
  EXPECT_EQ(flag_for(149.0f), 0);  // off again until above 150
}

TEST_F(StatusModelTest, FallingSetPointAndTypeNone) {
  EXPECT_TRUE(SetPointActive(false, 1, 19.0f, 20.0f, 2.0f));
  EXPECT_TRUE(SetPointActive(true, 1, 21.5f, 20.0f, 2.0f));
  EXPECT_FALSE(SetPointActive(true, 1, 22.5f, 20.0f, 2.0f));
  EXPECT_FALSE(SetPointActive(false, 0, -1e9f, 20.0f, 2.0f));
  EXPECT_FALSE(SetPointActive(true, 2, std::bit_cast<float>(0x7FC00000u), 20.0f, 2.0f));
}

TEST_F(StatusModelTest, RelayBitsFollowTheRelayLogicVariant) {
  // Default masks: relay 1 <- ch1 set point 1, relay 2 <- ch1 set point 2 or ch2 set point 1.
  EXPECT_EQ(RelayBits(memory_, 0x01, 0x00), 0x01);
  EXPECT_EQ(RelayBits(memory_, 0x00, 0x01), 0x02);
  EXPECT_EQ(RelayBits(memory_, 0x02, 0x02), 0x02);
  EXPECT_EQ(RelayBits(memory_, 0x00, 0x06), 0x00);
  memory_.SetByte(2, 325, 0);  // simplified: relays follow channel 1's set points
  EXPECT_EQ(RelayBits(memory_, 0x02, 0x01), 0x02);
  EXPECT_EQ(RelayBits(memory_, 0x03, 0x00), 0x03);
  memory_.SetByte(2, 325, 2);  // valve control: the regulator drives them
  EXPECT_EQ(RelayBits(memory_, 0x03, 0x03), 0x00);
}

TEST_F(StatusModelTest, ScriptedInputPinnedCodeAndOutOfRange) {
  model_.Script().input = 0x11;
  model_.Script().pinned_code[1] = 13;
  model_.Script().pinned_bits[0] = std::bit_cast<std::uint32_t>(700.0f);
  const StatusBytes block = At(1);
  EXPECT_EQ(block[3], 0x11);
  EXPECT_EQ(block[14], 13);
  EXPECT_EQ(block[8], status_code::kOutOfRange);
  EXPECT_FLOAT_EQ(ValueAt(block, 4), 700.0f);
}

TEST_F(StatusModelTest, EmptyOrInvertedRangeStaysAtItsLowEnd) {
  memory_.SetFloat(13, 5.0f);
  memory_.SetFloat(15, 5.0f);
  EXPECT_FLOAT_EQ(ValueAt(At(17), 4), 5.0f);
  memory_.SetFloat(15, -5.0f);
  EXPECT_FLOAT_EQ(ValueAt(At(17), 4), 5.0f);
}

}  // namespace
}  // namespace zrm::sim
