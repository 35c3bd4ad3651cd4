#include "link/reply_check.h"

#include <array>
#include <string>

#include <gtest/gtest.h>

namespace zrm {
namespace {

TEST(ReplyCode, TableDecidesByFirstRowFoundAnywhere) {
  const std::pair<const char*, ExchangeResult> rows[] = {
      {"!1;00;123\r", result::kOk},   {"$0000;5\r", result::kOk},  {"$0001\r", result::kDeviceError},   {"$0002\r", result::kUnexpectedFormat},
      {"$0003\r", result::kParameterNotFound},      {"$0005\r", result::kDeviceError},    {"$0006\r", result::kOperandTooBig},   {"$000B\r", result::kNotUnderstood},
      {"$000C\r", result::kModuleAddressTooBig},      {"$000D\r", result::kChecksum},    {"$0004\r", result::kDeviceError},   {"$\r", result::kDeviceError},
      {"xx$0006yy$0001\r", result::kDeviceError},  // "$0001" comes first in the table
      {"$0001 $0000\r", result::kOk},
  };
  for (const auto& [reply, expected] : rows) EXPECT_EQ(CheckReplyCode(reply), expected) << reply;
}

TEST(ReadReply, TakesOneFourOrSixteenBytes) {
  std::array<std::uint8_t, 1> byte{};
  EXPECT_EQ(ParseReadReply("!1;3f;555\r", byte), result::kOk);
  EXPECT_EQ(byte[0], 0x3F);

  std::array<std::uint8_t, 4> dword{};
  EXPECT_EQ(ParseReadReply("!1;3F800000;1234\r", dword), result::kOk);
  EXPECT_EQ(dword, (std::array<std::uint8_t, 4>{0x3F, 0x80, 0x00, 0x00}));

  std::array<std::uint8_t, 16> block{};
  EXPECT_EQ(ParseReadReply("!7;000102030405060708090A0B0C0D0EFF;1\r", block), result::kOk);
  EXPECT_EQ(block[0], 0x00);
  EXPECT_EQ(block[10], 0x0A);
  EXPECT_EQ(block[15], 0xFF);
}

TEST(ReadReply, BangAtIndex64IsAcceptedAt65Refused) {
  std::array<std::uint8_t, 1> byte{};
  EXPECT_EQ(ParseReadReply(std::string(64, 'x') + "!1;42;1\r", byte), result::kOk);
  EXPECT_EQ(byte[0], 0x42);
  byte[0] = 0;
  EXPECT_EQ(ParseReadReply(std::string(65, 'x') + "!1;42;1\r", byte), result::kTooManyChars);
  EXPECT_EQ(byte[0], 0);
}

TEST(ReadReply, AnyFaultGivesThreeAndLeavesTheDataAlone) {
  std::array<std::uint8_t, 4> dword{9, 9, 9, 9};
  std::array<std::uint8_t, 1> byte{9};
  const char* broken_dwords[] = {
      "$0001\r",            // code, no "!"
      "!1\r",               // no ";" at all
      "1;3F800000;1\r",     // no "!"
      "!1;3F80;1\r",        // data too short
      "!1;3F80G000;1\r",    // not hex
      "!1;3F8 0000;1\r",
      "!1;3F800",           // cut off
  };
  for (const char* reply : broken_dwords) {
    EXPECT_EQ(ParseReadReply(reply, dword), result::kNotUnderstood) << reply;
    EXPECT_EQ(dword, (std::array<std::uint8_t, 4>{9, 9, 9, 9})) << reply;
  }
  EXPECT_EQ(ParseReadReply("!1;3F\r", byte), result::kNotUnderstood);  // a byte needs a ";" after it
  EXPECT_EQ(ParseReadReply("x;!1", byte), result::kNotUnderstood);      // no ";" after the address
  EXPECT_EQ(byte[0], 9);
}

}  // namespace
}  // namespace zrm
