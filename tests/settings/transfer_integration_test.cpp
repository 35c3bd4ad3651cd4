// The whole-image read and write through the real serial port and link
// against the emulated instrument: the frames on the wire are the evidence.
// The expected frames come from the same transfer run against the fake
// instrument, whose log the other tests hold to the step tables.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "lib/simulator.h"
#include "link/link.h"
#include "platform/serial_port.h"
#include "settings/device_transfer.h"
#include "settings/parameter_map.h"
#include "step_tables.h"
#include "support/fake_instrument.h"
#include "support/recording_operator.h"
#include "transfer_fixture.h"

namespace zrm::test {
namespace {

std::string Hex(std::uint32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", digits, static_cast<unsigned>(value));
  return text;
}

std::string FrameText(unsigned command, int space, bool dword, unsigned address,
                      const std::string& data) {
  std::string text = std::to_string(command) + " " + std::to_string(space) + (dword ? "d" : "b") +
                     std::to_string(address);
  if (!data.empty()) text += "=" + data;
  return text;
}

// What the simulator saw, one text per frame.
std::vector<std::string> ReceivedFrames(const sim::Simulator& simulator) {
  std::vector<std::string> out;
  for (const auto& f : simulator.Frames()) {
    const auto& key = f.fields.parameter;
    out.push_back(FrameText(f.fields.command.value_or(0), key ? key->space : 0,
                            key && key->width == sim::Width::kDword, key ? key->address : 0,
                            f.fields.data));
  }
  return out;
}

// The frames a log of parameter operations puts on the wire when every
// exchange succeeds at its first attempt: a checked write is a write and a
// read-back.
std::vector<std::string> ExpectedFrames(const std::vector<Operation>& operations) {
  std::vector<std::string> out;
  for (const auto& op : operations) {
    const int space = static_cast<int>(op.space);
    switch (op.kind) {
      case Operation::Kind::kReadByte:
        out.push_back(FrameText(37, space, false, op.address, ""));
        break;
      case Operation::Kind::kReadDword:
        out.push_back(FrameText(37, space, true, op.address, ""));
        break;
      case Operation::Kind::kWriteByte:
        out.push_back(FrameText(38, space, false, op.address, Hex(std::min(op.value, 255u), 2)));
        break;
      case Operation::Kind::kWriteByteChecked:
        out.push_back(FrameText(38, space, false, op.address, Hex(std::min(op.value, 255u), 2)));
        out.push_back(FrameText(37, space, false, op.address, ""));
        break;
      case Operation::Kind::kWriteFloatChecked:
        out.push_back(FrameText(38, space, true, op.address, Hex(op.value, 8)));
        out.push_back(FrameText(37, space, true, op.address, ""));
        break;
      default: out.push_back("unexpected"); break;
    }
  }
  return out;
}

class TransferIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(simulator_.Start(&error)) << error;
    ASSERT_TRUE(port_.Open(simulator_.SlavePath(), 9600, error)) << error;
  }

  sim::Simulator simulator_;
  SerialPort port_;
  Link link_{port_, LinkParams{1, 2, 1000}, nullptr};
  RecordingOperator op_;
  DeviceSettings s_ = AllSelected();
};

TEST_F(TransferIntegrationTest, FullReadSendsTheStepTablesAndFillsTheRecordFromMemory) {
  ASSERT_EQ(ReadDeviceSettings(link_, s_, op_), result::kOk);

  FakeInstrument fake;
  DeviceSettings scratch = AllSelected();
  RecordingOperator quiet;
  ASSERT_EQ(ReadDeviceSettings(fake, scratch, quiet), result::kOk);
  ASSERT_EQ(fake.Log(), Concat({kChannel1Reads, kChannel2Reads, kRelayReads, kRegulatorReads,
                                kGeneralReads}));
  EXPECT_EQ(ReceivedFrames(simulator_), ExpectedFrames(fake.operations));

  for (int k = 0; k < 2; ++k) {
    const ChannelSettings& ch = s_.channel[static_cast<std::size_t>(k)];
    for (const auto& p : kChannelParameters) {
      const ParameterAddress a = ChannelAddress(p, k);
      if (p.width == ParameterWidth::kByte)
        EXPECT_EQ(simulator_.Byte(2, a), ch.*p.byte_field) << "byte " << a;
      else
        EXPECT_EQ(simulator_.Float(a), ch.*p.float_field) << "float " << a;
    }
  }
  EXPECT_EQ(simulator_.Byte(2, 6), s_.relay.rel0_msk0);
  EXPECT_EQ(simulator_.Byte(2, 337), s_.channel[0].reg_int);
  EXPECT_EQ(simulator_.Byte(1, 6), s_.general.firmware_version);
  EXPECT_EQ(*simulator_.Byte(2, 19) + 2000, s_.general.date_year);
  EXPECT_EQ(simulator_.Byte(2, 12).value() * 256u + simulator_.Byte(2, 11).value(),
            SerialNumber(s_.general));
}

TEST_F(TransferIntegrationTest, FullWriteLeavesTheMemoryEqualToTheRecordAndRestarts) {
  simulator_.SetFloatDecimals(2);
  ASSERT_EQ(ReadDeviceSettings(link_, s_, op_), result::kOk);
  for (auto& ch : s_.channel) {
    ch.th1 += 1.004f;
    ch.diap_max = 123.456f;
    ch.ns = 7;
    ch.th_type2 = 2;
    ch.koef3 = -0.125f;
    ch.reg_int = 240;
  }
  s_.relay.rel1_msk0 = 64;
  s_.general.err_ver = 0;
  simulator_.ClearFrames();

  ASSERT_EQ(WriteDeviceSettings(link_, s_, op_), result::kOk);

  FakeInstrument fake;
  RecordingOperator quiet;
  ASSERT_EQ(WriteDeviceSettings(fake, s_, quiet), result::kOk);
  const auto frames = ReceivedFrames(simulator_);
  EXPECT_EQ(frames, ExpectedFrames(fake.operations));
  ASSERT_GE(frames.size(), 2u);
  EXPECT_EQ(frames[frames.size() - 2], "38 2b0=2F");
  EXPECT_EQ(frames.back(), "38 1b0=01");
  EXPECT_EQ(simulator_.RestartCount(), 1u);

  for (int k = 0; k < 2; ++k) {
    const ChannelSettings& ch = s_.channel[static_cast<std::size_t>(k)];
    for (const auto& p : kChannelParameters) {
      const ParameterAddress a = ChannelAddress(p, k);
      if (p.width == ParameterWidth::kByte) {
        EXPECT_EQ(simulator_.Byte(2, a), ch.*p.byte_field) << "byte " << a;
      } else {
        const auto stored = simulator_.Float(a);
        ASSERT_TRUE(stored.has_value()) << a;
        EXPECT_LE(std::fabs(*stored - ch.*p.float_field), 0.01f) << "float " << a;
      }
    }
  }
  EXPECT_EQ(simulator_.Byte(2, 8), 64);
  EXPECT_EQ(simulator_.Byte(2, 338), 240);
  EXPECT_EQ(simulator_.Byte(2, 4), 0);
}

}  // namespace
}  // namespace zrm::test
