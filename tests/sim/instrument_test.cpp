// The instrument's answers without a line: memory reads and writes, the
// parameter map's gaps, read-only parameters, float rounding and restart.

#include <gtest/gtest.h>

#include <bit>

#include "lib/default_instrument.h"
#include "lib/instrument.h"
#include "lib/reply_forms.h"
#include "sim/raw_client.h"

namespace zrm::sim {
namespace {

using test::RequestFrame;

class InstrumentTest : public ::testing::Test {
 protected:
  InstrumentTest() : instrument_(DefaultSetup(), Clock::now()) {}

  static InstrumentSetup DefaultSetup() {
    InstrumentSetup setup;
    setup.memory = DefaultInstrumentMemory();
    return setup;
  }

  Response Ask(const std::string& text) {
    ReceivedFrame frame;
    frame.number = ++number_;
    frame.raw = RequestFrame(text);
    return instrument_.Serve(frame, Clock::now());
  }

  std::string Reply(const std::string& text) { return Ask(text).reply; }

  Instrument instrument_;
  std::size_t number_ = 0;
};

TEST_F(InstrumentTest, DefaultInstrumentIdentity) {
  EXPECT_EQ(Reply(":1;37;00000B;"), ReadReply(1, "39"));  // serial 12345 = 0x3039
  EXPECT_EQ(Reply(":1;37;00000C;"), ReadReply(1, "30"));
  EXPECT_EQ(Reply(":1;37;00000E;"), ReadReply(1, "2F"));  // prefix 47
  EXPECT_EQ(Reply(":1;37;002006;"), ReadReply(1, "5A"));  // firmware 1.1.10
  EXPECT_EQ(Reply(":1;37;000013;"), ReadReply(1, "15"));  // made in 2021
}

TEST_F(InstrumentTest, ByteAndDwordParameterThreeAreDifferent) {
  EXPECT_EQ(Reply(":1;37;000003;"), ReadReply(1, "01"));        // device type 4813
  EXPECT_EQ(Reply(":1;37;008003;"), ReadReply(1, "3F800000"));  // adj of channel 1
  EXPECT_EQ(Reply(":1;38;000003;02;"), "$0000\r");
  EXPECT_EQ(Reply(":1;37;008003;"), ReadReply(1, "3F800000"));
}

TEST_F(InstrumentTest, WritesAreStoredAndReadBack) {
  EXPECT_EQ(Reply(":1;38;008021;42C80000;"), "$0000\r");  // th1 of channel 2
  EXPECT_EQ(instrument_.Memory().Float(33), 100.0f);
  EXPECT_EQ(Reply(":1;37;008021;"), ReadReply(1, "42C80000"));
  EXPECT_EQ(Reply(":1;38;000151;F0;"), "$0000\r");  // reg_int 240
  EXPECT_EQ(Reply(":1;37;000151;"), ReadReply(1, "F0"));
  EXPECT_EQ(Reply(":1;38;000000;2F;"), "$0000\r");  // the fixed 47
}

TEST_F(InstrumentTest, AddressesOutsideTheMapAnswerNoParameter) {
  EXPECT_EQ(Reply(":1;37;000005;"), "$0003\r");   // byte 5: a gap in the map
  EXPECT_EQ(Reply(":1;37;008027;"), "$0003\r");   // dword 39: a gap
  EXPECT_EQ(Reply(":1;38;000157;01;"), "$0003\r"); // byte 343: past `use`
  EXPECT_EQ(Reply(":1;37;00E003;"), "$0003\r");   // a status block elsewhere
  EXPECT_EQ(Reply(":1;37;00A006;"), "$0003\r");   // no four-byte parameters in space 1
}

TEST_F(InstrumentTest, ReadOnlyParametersRefuseWrites) {
  EXPECT_EQ(Reply(":1;38;002006;00;"), "$0003\r");
  EXPECT_EQ(instrument_.Memory().Byte(1, 6), 0x5A);
  EXPECT_EQ(Reply(":1;38;00E002;00000000000000000000000000000000;"), "$0003\r");
}

TEST_F(InstrumentTest, StatusBlockReplyHasSixteenBytes) {
  const std::string reply = Reply(":1;37;00E002;");
  ASSERT_EQ(reply.rfind("!1;", 0), 0u);
  EXPECT_EQ(reply.find(';', 3), 3u + 32u);
}

TEST_F(InstrumentTest, FloatRoundingSwitchKeepsTheReadBackWithinTolerance) {
  instrument_.SetFloatDecimals(2);
  const float sent = 12.3456f;
  const std::string hex = HexBytes(std::bit_cast<std::uint32_t>(sent), 4);
  EXPECT_EQ(Reply(":1;38;00801D;" + hex + ";"), "$0000\r");
  const float stored = *instrument_.Memory().Float(29);
  EXPECT_FLOAT_EQ(stored, 12.35f);
  EXPECT_NE(stored, sent);
  EXPECT_LE(std::abs(stored - sent), 0.01f);
  instrument_.SetFloatDecimals(-1);
  Reply(":1;38;00801D;" + hex + ";");
  EXPECT_EQ(*instrument_.Memory().Float(29), sent);
}

TEST_F(InstrumentTest, RestartAnswersThenStaysSilentWithMemoryKept) {
  Reply(":1;38;00013B;09;");
  const Response restart = Ask(":1;38;002000;01;");
  EXPECT_EQ(restart.reply, "$0000\r");
  EXPECT_TRUE(restart.restart);
  instrument_.BeginSilence(Clock::now() + std::chrono::hours(1));
  EXPECT_EQ(Reply(":1;37;00013B;"), "");
  instrument_.BeginSilence(Clock::now());
  EXPECT_EQ(Reply(":1;37;00013B;"), ReadReply(1, "09"));
  EXPECT_EQ(instrument_.RestartCount(), 1u);  // one restart command, however long its silence
}

TEST_F(InstrumentTest, OnlyTheValueOneRestarts) {
  EXPECT_FALSE(Ask(":1;38;002000;00;").restart);
  EXPECT_FALSE(Ask(":1;38;002000;02;").restart);
  EXPECT_EQ(Reply(":1;37;002000;"), ReadReply(1, "00"));
}

}  // namespace
}  // namespace zrm::sim
