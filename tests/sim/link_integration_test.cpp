// The client's protocol layer through the real SerialPort against the running
// simulator: two independent implementations of the protocol must agree on
// the wire, and the client must survive each fault the instrument can show.

#include <gtest/gtest.h>

#include <bit>

#include "lib/simulator.h"
#include "link/link.h"
#include "platform/serial_port.h"

namespace zrm {
namespace {

using namespace std::chrono_literals;

class LinkOnSimulatorTest : public ::testing::Test {
 protected:
  void StartSimulator(sim::SimulatorOptions options = {}) {
    simulator_ = std::make_unique<sim::Simulator>(std::move(options));
    std::string error;
    ASSERT_TRUE(simulator_->Start(&error)) << error;
    std::string reason;
    ASSERT_TRUE(port_.Open(simulator_->SlavePath(), 9600, reason)) << reason;
    link_ = std::make_unique<Link>(port_, LinkParams{1, 2, 1000}, nullptr);
  }

  void AddFault(const std::string& text) {
    sim::Fault fault;
    std::string error;
    ASSERT_TRUE(sim::ParseFault(text, fault, error)) << error;
    simulator_->AddFault(fault);
  }

  // The request number the next frame will carry.
  std::string Next() const { return std::to_string(simulator_->RequestsReceived() + 1); }

  std::unique_ptr<sim::Simulator> simulator_;
  SerialPort port_;
  std::unique_ptr<Link> link_;
};

TEST_F(LinkOnSimulatorTest, ReadsTheDefaultInstrument) {
  StartSimulator();
  std::uint8_t lo = 0, hi = 0, prefix = 0;
  ASSERT_EQ(link_->ReadByte(2, 11, lo), result::kOk);
  ASSERT_EQ(link_->ReadByte(2, 12, hi), result::kOk);
  ASSERT_EQ(link_->ReadByte(2, 14, prefix), result::kOk);
  EXPECT_EQ(hi * 256 + lo, 12345);
  EXPECT_EQ(prefix, 47);
  std::uint32_t bits = 0;
  ASSERT_EQ(link_->ReadDword(2, 15, bits), result::kOk);
  EXPECT_EQ(std::bit_cast<float>(bits), 600.0f);
  for (const sim::ReceivedFrame& frame : simulator_->Frames()) {
    EXPECT_EQ(frame.checksum, sim::ChecksumVerdict::kGood) << frame.raw;
    EXPECT_EQ(frame.reply.front(), '!');
  }
}

TEST_F(LinkOnSimulatorTest, CheckedWritesLandInMemory) {
  StartSimulator();
  EXPECT_EQ(link_->WriteFloatChecked(2, 33, 123.25f), result::kOk);
  EXPECT_EQ(simulator_->Float(33), 123.25f);
  EXPECT_EQ(link_->WriteByteChecked(2, 315, 19), result::kOk);
  EXPECT_EQ(simulator_->Byte(2, 315), 19);
  // 300 goes out as FF; the read-back 255 never equals 300.
  EXPECT_EQ(link_->WriteByteChecked(2, 316, 300), result::kReadBackMismatch);
  EXPECT_EQ(simulator_->Byte(2, 316), 255);
}

TEST_F(LinkOnSimulatorTest, RoundedFloatsPassTheReadBackTolerance) {
  sim::SimulatorOptions options;
  options.float_decimals = 2;
  StartSimulator(options);
  EXPECT_EQ(link_->WriteFloatChecked(2, 29, 12.3456f), result::kOk);
  EXPECT_FLOAT_EQ(*simulator_->Float(29), 12.35f);
}

TEST_F(LinkOnSimulatorTest, StatusBlockMatchesWhatTheInstrumentSends) {
  StartSimulator();
  simulator_->PinChannelValue(1, 123.5f);
  simulator_->PinChannelValue(2, 5.0f);
  simulator_->SetInputByte(0x11);
  StatusBlock block{};
  ASSERT_EQ(link_->ReadStatusBlock(block), result::kOk);
  sim::StatusBytes expected = simulator_->StatusBlockNow();
  EXPECT_TRUE(std::equal(block.begin(), block.end(), expected.begin()));
  EXPECT_EQ(block[3], 0x11);
  EXPECT_EQ(block[8], 0);
}

TEST_F(LinkOnSimulatorTest, WriteRetriedAfterAWrongStoredValue) {
  StartSimulator();
  AddFault("wrong@" + Next());
  EXPECT_EQ(link_->WriteFloatChecked(2, 15, 500.0f), result::kOk);
  EXPECT_EQ(simulator_->Float(15), 500.0f);
  EXPECT_EQ(simulator_->Frames().size(), 4u);  // write, read-back, write, read-back
}

TEST_F(LinkOnSimulatorTest, FaultsBecomeTheRightResults) {
  StartSimulator();
  std::uint8_t value = 0;
  AddFault("noreply@100%");
  EXPECT_EQ(link_->ReadByte(2, 11, value), result::kNoAnswer);
  simulator_->ClearFaults();
  AddFault("code=0003@2:11");
  EXPECT_EQ(link_->WriteByte(2, 11, 1), result::kParameterNotFound);
  simulator_->ClearFaults();
  AddFault("long@100%");
  EXPECT_EQ(link_->ReadByte(2, 11, value), result::kTooManyChars);
  simulator_->ClearFaults();
  AddFault("garbage=70@100%");
  EXPECT_EQ(link_->ReadByte(2, 11, value), result::kTooManyChars);
  simulator_->ClearFaults();
  EXPECT_EQ(link_->ReadByte(2, 11, value), result::kOk);
  EXPECT_EQ(value, 0x39);
}

TEST_F(LinkOnSimulatorTest, OneLostReplyIsRecoveredByTheRetry) {
  StartSimulator();
  AddFault("noreply@" + Next());
  std::uint8_t value = 0;
  EXPECT_EQ(link_->ReadByte(2, 12, value), result::kOk);
  EXPECT_EQ(value, 0x30);
}

TEST_F(LinkOnSimulatorTest, VanishedDeviceEndsTheWaitAtOnce) {
  StartSimulator();
  AddFault("vanish@" + Next());
  std::uint8_t value = 0;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(link_->ReadByte(2, 11, value), result::kNoAnswer);
  EXPECT_LT(std::chrono::steady_clock::now() - start, 1500ms);
}

}  // namespace
}  // namespace zrm
