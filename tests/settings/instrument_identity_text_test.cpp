// The words an instrument is known by, at the edges of their codes.

#include <gtest/gtest.h>

#include "settings/instrument_identity_text.h"

namespace zrm::test {
namespace {

TEST(FirmwareVersionText, SplitsTheWordIntoItsThreeParts) {
  EXPECT_EQ(FirmwareVersionText(0x93), "2.1.3");
  EXPECT_EQ(FirmwareVersionText(0x5A), "1.1.10");
  EXPECT_EQ(FirmwareVersionText(0), "0.0.0");
  EXPECT_EQ(FirmwareVersionText(255), "3.3.15");
}

TEST(InstrumentIdentityText, NamesTheTypeAndModelOfEveryCodeAndNothingBeyond) {
  EXPECT_EQ(DeviceTypeName(0), "4810/11 Н Одноканальный");
  EXPECT_EQ(DeviceTypeName(2), "4816 Н Одноканальн. проп.регул.");
  EXPECT_EQ(DeviceTypeName(3), "?");
  EXPECT_EQ(DeviceTypeName(-1), "?");
  EXPECT_EQ(ModelNumber(1), "4813");
  EXPECT_EQ(ModelNumber(3), "3");
  EXPECT_EQ(ModelNumber(-1), "-1");
}

TEST(InstrumentIdentityText, DeviceNumberPadsTheSerialAndTakesThePrefixAsTheInstrumentsByte) {
  struct Row {
    std::int32_t otk_type = 0;
    std::int32_t serial_hi = 0;
    std::int32_t serial_lo = 0;
    const char* number = "";
  };
  for (const Row& row : {Row{47, 0, 42, "047-00042"}, Row{0, 255, 255, "000-65535"},
                         Row{300, 0, 1, "255-00001"}, Row{-1, 0, 0, "255-00000"}}) {
    GeneralSettings g;
    g.otk_type = row.otk_type;
    g.serial_hi = row.serial_hi;
    g.serial_lo = row.serial_lo;
    g.proc_ver = 1;
    EXPECT_EQ(DeviceNumber(g), row.number);
    EXPECT_EQ(InstrumentFileStem(g), std::string("ZRM4813-") + row.number);
  }
}

}  // namespace
}  // namespace zrm::test
