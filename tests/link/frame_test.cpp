#include <string>

#include <gtest/gtest.h>

#include "link/address_triplet.h"
#include "link/crc16.h"
#include "link/request_frame.h"

namespace zrm {
namespace {

const std::string kPreamble = "\xFF\xFF\xFF\xFF";

std::uint16_t CrcOf(const std::string& text) {
  return Crc16(reinterpret_cast<const std::uint8_t*>(text.data()), 0, text.size() - 1);
}

TEST(Crc16, MatchesModbusCheckValueAndHonoursTheRange) {
  EXPECT_EQ(CrcOf("123456789"), 19255);
  EXPECT_EQ(CrcOf("1;37;00E002;"), 17248);
  // Both ends of the range count, nothing outside it does.
  const std::string framed = "::123456789::";
  EXPECT_EQ(Crc16(reinterpret_cast<const std::uint8_t*>(framed.data()), 2, 10), 19255);
}

TEST(AddressTriplet, PacksWidthSpaceAndThirteenAddressBits) {
  EXPECT_EQ(MakeAddressTriplet(1, 2, WidthCode::kStatusBlock), (AddressTriplet{0x00, 0xE0, 0x02}));
  EXPECT_EQ(MakeAddressTriplet(2, 0x1234, WidthCode::kDword), (AddressTriplet{0x00, 0x92, 0x34}));
  EXPECT_EQ(MakeAddressTriplet(2, 0x1FFF, WidthCode::kByte), (AddressTriplet{0x00, 0x1F, 0xFF}));
  // Bits above the thirteenth are dropped, they never reach the flag or width.
  EXPECT_EQ(MakeAddressTriplet(2, 0xFFFFE005, WidthCode::kByte),
            (AddressTriplet{0x00, 0x00, 0x05}));
  EXPECT_TRUE(IsValidMemorySpace(1));
  EXPECT_TRUE(IsValidMemorySpace(2));
  EXPECT_FALSE(IsValidMemorySpace(0));
  EXPECT_FALSE(IsValidMemorySpace(3));
}

TEST(RequestFrame, StatusBlockRequestIsTheWorkedExample) {
  EXPECT_EQ(BuildReadRequest(1, MakeAddressTriplet(1, 2, WidthCode::kStatusBlock)),
            kPreamble + ":1;37;00E002;17248\r");
}

TEST(RequestFrame, WritesCarryUpperCaseHexAndDecimalChecksum) {
  const AddressTriplet byte_at_2b = MakeAddressTriplet(2, 0x2B, WidthCode::kByte);
  const std::string text_300 = ":12;38;00002B;FF;";
  EXPECT_EQ(BuildWriteByteRequest(12, byte_at_2b, 300),
            kPreamble + text_300 + std::to_string(CrcOf(text_300.substr(1))) + "\r");
  EXPECT_EQ(BuildWriteByteRequest(12, byte_at_2b, 10).substr(4, 17), ":12;38;00002B;0A;");

  const std::string dword = BuildWriteDwordRequest(
      4294967295u, MakeAddressTriplet(1, 0x10, WidthCode::kDword), 0x3F8000ABu);
  const std::string text = ":4294967295;38;00A010;3F8000AB;";
  EXPECT_EQ(dword, kPreamble + text + std::to_string(CrcOf(text.substr(1))) + "\r");
}

}  // namespace
}  // namespace zrm
