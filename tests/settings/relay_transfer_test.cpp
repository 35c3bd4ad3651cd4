// Relay logic and regulator: order and addresses, the relay switch, unsigned
// bytes, the panel lines and a failure in the middle of the group.

#include "settings/device_transfer.h"
#include "transfer_fixture.h"

namespace zrm::test {
namespace {

using RelayTransferTest = TransferTest;

TEST_F(RelayTransferTest, ReadsVariantsThenMasksIntoTheirFields) {
  const std::uint8_t bytes[] = {2, 1, 0x49, 0x05, 0x40, 0x02};
  const ParameterAddress addresses[] = {325, 326, 6, 7, 8, 9};
  for (int i = 0; i < 6; ++i) device_.SetByte(2, addresses[i], bytes[i]);
  ASSERT_EQ(ReadRelayLogic(device_, s_, op_), result::kOk);
  EXPECT_EQ(device_.Log(), (std::vector<std::string>{"rb 2:325", "rb 2:326", "rb 2:6", "rb 2:7",
                                                     "rb 2:8", "rb 2:9"}));
  EXPECT_EQ(s_.channel[0].ver_rel_proc, 2);
  EXPECT_EQ(s_.channel[1].ver_rel_proc, 1);
  EXPECT_EQ(s_.relay.rel0_msk0, 0x49);
  EXPECT_EQ(s_.relay.rel0_msk1, 0x05);
  EXPECT_EQ(s_.relay.rel1_msk0, 0x40);
  EXPECT_EQ(s_.relay.rel1_msk1, 0x02);
  EXPECT_EQ(op_.calls, (std::vector<std::string>{
                           LinesCall("", "Чтение логики реле", "", "", "", ""), "show", "through",
                           "through", "through", "through", "through", "through", "hide"}));
}

TEST_F(RelayTransferTest, WritesTheSameOrderWithoutReadBack) {
  s_.channel[0].ver_rel_proc = 1;
  s_.channel[1].ver_rel_proc = 0;
  s_.relay.rel0_msk0 = 3;
  s_.relay.rel0_msk1 = 4;
  s_.relay.rel1_msk0 = 64;
  s_.relay.rel1_msk1 = 2;
  ASSERT_EQ(WriteRelayLogic(device_, s_, op_), result::kOk);
  EXPECT_EQ(device_.Log(), (std::vector<std::string>{"wb 2:325=1", "wb 2:326=0", "wb 2:6=3",
                                                     "wb 2:7=4", "wb 2:8=64", "wb 2:9=2"}));
  EXPECT_EQ(op_.calls.front(), LinesCall("", "Запись логики реле", "", "", "", ""));
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(RelayTransferTest, RelaySwitchOtherThanOneMovesNothing) {
  for (std::int32_t off : {0, 2}) {
    s_.relay.select = off;
    EXPECT_EQ(ReadRelayLogic(device_, s_, op_), result::kOk);
    EXPECT_EQ(WriteRelayLogic(device_, s_, op_), result::kOk);
  }
  EXPECT_TRUE(device_.operations.empty());
  EXPECT_TRUE(op_.calls.empty());
}

TEST_F(RelayTransferTest, FailureAtAddress7KeepsTheLaterMasksAndLeavesThePanelToTheCaller) {
  s_.relay.rel0_msk0 = 1;
  s_.relay.rel0_msk1 = 2;
  s_.relay.rel1_msk0 = 3;
  s_.relay.rel1_msk1 = 4;
  device_.SetByte(2, 6, 0x10);
  device_.FailAddress(2, Width::kByte, 7, result::kNoAnswer);
  EXPECT_EQ(ReadRelayLogic(device_, s_, op_), result::kNoAnswer);
  EXPECT_EQ(s_.relay.rel0_msk0, 0x10);
  EXPECT_EQ(s_.relay.rel0_msk1, 2);
  EXPECT_EQ(s_.relay.rel1_msk0, 3);
  EXPECT_EQ(s_.relay.rel1_msk1, 4);
  EXPECT_EQ(device_.Log().back(), "rb 2:7 !2");
  EXPECT_TRUE(op_.progress_visible);
}

TEST_F(RelayTransferTest, RegulatorIntervalOf240RoundTrips) {
  device_.SetByte(2, 337, 240);
  device_.SetByte(2, 338, 255);
  device_.SetByte(2, 339, 60);
  device_.SetByte(2, 340, 5);
  ASSERT_EQ(ReadRegulator(device_, s_, op_), result::kOk);
  EXPECT_EQ(s_.channel[0].reg_int, 240);
  EXPECT_EQ(s_.channel[1].reg_int, 255);
  EXPECT_EQ(s_.channel[0].pulse_int, 60);
  EXPECT_EQ(s_.channel[1].pulse_int, 5);
  EXPECT_EQ(op_.calls.front(), LinesCall("", "Чтение параметров регулятора", "", "", "", ""));

  FakeInstrument other;
  ASSERT_EQ(WriteRegulator(other, s_, op_), result::kOk);
  EXPECT_EQ(other.Log(), (std::vector<std::string>{"wb 2:337=240", "wb 2:338=255", "wb 2:339=60",
                                                   "wb 2:340=5"}));
  EXPECT_EQ(op_.lines[1], "Запись параметров регулятора");
}

TEST_F(RelayTransferTest, RegulatorIgnoresTheRelaySwitch) {
  s_.relay.select = 0;
  EXPECT_EQ(ReadRegulator(device_, s_, op_), result::kOk);
  EXPECT_EQ(WriteRegulator(device_, s_, op_), result::kOk);
  EXPECT_EQ(device_.operations.size(), 8u);
}

}  // namespace
}  // namespace zrm::test
