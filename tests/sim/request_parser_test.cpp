// How the instrument takes frames apart: checksum first, then form, command,
// triplet and data width; frames for other addresses are not its business.

#include <gtest/gtest.h>

#include "lib/crc16.h"
#include "lib/reply_forms.h"
#include "lib/request_parser.h"
#include "sim/raw_client.h"

namespace zrm::sim {
namespace {

using test::RequestFrame;

TEST(SimCrc16, MatchesTheModbusCheckValueAndTheWorkedExample) {
  EXPECT_EQ(Crc16Modbus("123456789"), 19255);
  EXPECT_EQ(Crc16Modbus("1;37;00E002;"), 17248);
}

TEST(SimRequestParser, DecodesAWellFormedStatusRequest) {
  const std::string raw = std::string(4, '\xFF') + ":1;37;00E002;17248\r";
  const ParsedFrame parsed = ParseFrame(raw, 1);
  EXPECT_TRUE(parsed.addressed_here);
  EXPECT_EQ(parsed.checksum, ChecksumVerdict::kGood);
  EXPECT_FALSE(parsed.refusal);
  EXPECT_EQ(*parsed.fields.command, 37u);
  EXPECT_EQ(*parsed.fields.parameter, kStatusBlockKey);
  EXPECT_EQ(*parsed.fields.checksum, 17248u);
}

TEST(SimRequestParser, DecodesTripletSpaceWidthAndThirteenBitAddress) {
  const ParsedFrame channel2_setpoint = ParseFrame(RequestFrame(":1;37;008021;"), 1);
  EXPECT_EQ(*channel2_setpoint.fields.parameter, DwordParameter(33));
  const ParsedFrame firmware = ParseFrame(RequestFrame(":1;37;002006;"), 1);
  EXPECT_EQ(*firmware.fields.parameter, ByteParameter(1, 6));
  const ParsedFrame high = ParseFrame(RequestFrame(":1;37;001FFF;"), 1);
  EXPECT_EQ(*high.fields.parameter, ByteParameter(2, 8191));
}

TEST(SimRequestParser, BadChecksumIsRefusedWithD) {
  const ParsedFrame parsed = ParseFrame(std::string(4, '\xFF') + ":1;37;00E002;17249\r", 1);
  EXPECT_TRUE(parsed.addressed_here);
  EXPECT_EQ(parsed.checksum, ChecksumVerdict::kBad);
  EXPECT_EQ(parsed.refusal, code::kChecksum);
}

TEST(SimRequestParser, OtherAddressesAndNoiseAreIgnored) {
  EXPECT_FALSE(ParseFrame(RequestFrame(":2;37;00E002;"), 1).addressed_here);
  EXPECT_FALSE(ParseFrame(RequestFrame(":1;37;00E002;"), 12).addressed_here);
  EXPECT_FALSE(ParseFrame("!1;39;27895\r", 1).addressed_here);
  EXPECT_FALSE(ParseFrame("\r", 1).addressed_here);
  EXPECT_FALSE(ParseFrame(RequestFrame(":x;37;00E002;"), 1).addressed_here);
}

TEST(SimRequestParser, WriteDataMustFitTheWidthOfItsTriplet) {
  // A one-byte parameter written with four bytes, and the other way round.
  EXPECT_EQ(ParseFrame(RequestFrame(":1;38;00013B;00000009;"), 1).refusal, code::kUnparseable);
  EXPECT_EQ(ParseFrame(RequestFrame(":1;38;00800F;42;"), 1).refusal, code::kUnparseable);
  EXPECT_EQ(ParseFrame(RequestFrame(":1;38;00800F;42C800;"), 1).refusal, code::kUnparseable);
  EXPECT_FALSE(ParseFrame(RequestFrame(":1;38;00013B;09;"), 1).refusal);
  EXPECT_FALSE(ParseFrame(RequestFrame(":1;38;00800F;42C80000;"), 1).refusal);
}

TEST(SimRequestParser, MalformedRequestsAreRefusedWithB) {
  const char* malformed[] = {
      ":1;39;00E002;",        // unknown command
      ":1;7;00E002;",         // command not two digits
      ":1;37;00e002;",        // lower-case hex
      ":1;37;01E002;",        // triplet byte 0 not zero
      ":1;37;004006;",        // width code 1
      ":1;37;00E02;",         // triplet too short
      ":1;37;00013B;09;",     // read with data
      ":1;38;00013B;",        // write without data
      ":1;38;00013B;0G;",     // data not hex
      ":1;37;00013B;;",       // empty extra field
  };
  for (const char* text : malformed) {
    EXPECT_EQ(ParseFrame(RequestFrame(text), 1).refusal, code::kUnparseable) << text;
  }
}

TEST(SimRequestParser, PreambleMustPrecedeTheRequest) {
  const std::string body = ":1;37;00E002;17248\r";
  EXPECT_EQ(ParseFrame(body, 1).refusal, code::kUnparseable);
  EXPECT_EQ(ParseFrame(std::string(3, '\xFF') + body, 1).refusal, code::kUnparseable);
  // Noise left before a complete preamble does not matter.
  EXPECT_FALSE(ParseFrame("junk" + std::string(4, '\xFF') + body, 1).refusal);
}

TEST(SimRequestParser, ChecksumFieldThatIsNoNumberIsRefusedWithB) {
  const std::string preamble(4, '\xFF');
  EXPECT_EQ(ParseFrame(preamble + ":1;37;00E002;\r", 1).refusal, code::kUnparseable);
  EXPECT_EQ(ParseFrame(preamble + ":1;37;00E002;99999\r", 1).refusal, code::kUnparseable);
  EXPECT_EQ(ParseFrame(preamble + ":1;37;00E002;1x\r", 1).refusal, code::kUnparseable);
}

TEST(SimReplyForms, ReadReplyCarriesTheCrcOfItsText) {
  EXPECT_EQ(ReadReply(1, "39"), "!1;39;" + std::to_string(Crc16Modbus("1;39;")) + "\r");
  EXPECT_EQ(CodeReply(code::kUnparseable), "$000B\r");
  EXPECT_EQ(HexBytes(0x42C80000u, 4), "42C80000");
}

}  // namespace
}  // namespace zrm::sim
