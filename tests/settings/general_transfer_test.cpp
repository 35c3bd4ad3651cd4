// General parameters: serial number, date, firmware version, device type and
// error display, and the two writes that close every write of the settings.

#include "settings/device_transfer.h"
#include "settings/firmware_version.h"
#include "settings/general_transfer.h"
#include "transfer_fixture.h"

namespace zrm::test {
namespace {

using GeneralTransferTest = TransferTest;

TEST_F(GeneralTransferTest, SerialNumberPrefixAndDateAreReadUnderOneStepText) {
  device.SetByte(2, 11, 0x39);
  device.SetByte(2, 12, 0x30);
  device.SetByte(2, 14, 200);
  device.SetByte(2, 17, 31);
  device.SetByte(2, 18, 13);
  device.SetByte(2, 19, 9);
  ASSERT_EQ(ReadSerialAndDate(device, s, op), result::kOk);
  EXPECT_EQ(device.Log(), (std::vector<std::string>{"rb 2:11", "rb 2:12", "rb 2:14", "rb 2:17",
                                                    "rb 2:18", "rb 2:19"}));
  EXPECT_EQ(SerialNumber(s.general), 12345u);
  EXPECT_EQ(s.general.otk_type, 200);
  EXPECT_EQ(s.general.date_day, 31);
  EXPECT_EQ(s.general.date_month, 13) << "not validated";
  EXPECT_EQ(s.general.date_year, 2009);
  EXPECT_EQ(op.calls, (std::vector<std::string>{
                          LinesCall("Ход процесса", "", "", "", "", "Для прекращения нажмите ESC"),
                          "show",
                          LinesCall("Ход процесса", "", "Читаем номер прибора", "", "",
                                    "Для прекращения нажмите ESC"),
                          "through", "through", "through", "hide"}));
}

TEST_F(GeneralTransferTest, YearByteZeroIs2000AndAFailedYearKeepsTheOldYear) {
  device.SetByte(2, 19, 0);
  ASSERT_EQ(ReadManufacturingDate(device, s), result::kOk);
  EXPECT_EQ(s.general.date_year, 2000);

  FakeInstrument failing;
  failing.SetByte(2, 17, 5);
  failing.FailAddress(2, Width::kByte, 19, result::kNoAnswer);
  s.general.date_year = 2024;
  EXPECT_EQ(ReadManufacturingDate(failing, s), result::kNoAnswer);
  EXPECT_EQ(s.general.date_day, 5);
  EXPECT_EQ(s.general.date_year, 2024);
}

TEST_F(GeneralTransferTest, SerialFailureSkipsTheDateAndHidesThePanel) {
  device.FailAddress(2, Width::kByte, 12, result::kDeviceError);
  EXPECT_EQ(ReadSerialAndDate(device, s, op), result::kDeviceError);
  EXPECT_EQ(device.Log().back(), "rb 2:12 !7");
  EXPECT_EQ(op.calls.back(), "hide");
}

TEST_F(GeneralTransferTest, ReadsFirmwareFromSpace1ThenTypeAndErrorDisplayEachWithItsStep) {
  device.SetByte(1, 6, 0x93);
  device.SetByte(2, 3, 2);
  device.SetByte(2, 4, 1);
  ASSERT_EQ(ReadGeneralParameters(device, s, op), result::kOk);
  EXPECT_EQ(device.Log(), (std::vector<std::string>{"rb 1:6", "rb 2:3", "rb 2:4"}));
  EXPECT_EQ(s.general.firmware_version, 0x93);
  EXPECT_EQ(s.general.proc_ver, 2);
  EXPECT_EQ(s.general.err_ver, 1);
  EXPECT_EQ(StepTexts(op), (std::vector<std::string>{"", "Версия ПО прибора", "Тип прибора",
                                                     "Вид отображения ошибки"}));
  EXPECT_EQ(Pattern(op.calls), "LSLTLTLT");
}

TEST_F(GeneralTransferTest, WriteSendsTypeAndErrorDisplayThen47ThenRestart) {
  s.general.proc_ver = 1;
  s.general.err_ver = 0;
  ASSERT_EQ(WriteGeneralParameters(device, s, op), result::kOk);
  EXPECT_EQ(device.Log(),
            (std::vector<std::string>{"wb 2:3=1", "wb 2:4=0", "wb 2:0=47", "wb 1:0=1"}));
  EXPECT_EQ(StepTexts(op),
            (std::vector<std::string>{"", "Записываем тип прибора",
                                      "Записываем вид отображения ошибки", "Тип прибора",
                                      "Отдается команда на перезагрузку прибора"}));
  EXPECT_EQ(op.calls.front(), LinesCall("Ход процесса", "", "", "", "", ""));
  EXPECT_EQ(Pattern(op.calls), "LSLTLTLTLT");
}

TEST_F(GeneralTransferTest, GeneralSwitchOffStillSends47AndTheRestart) {
  s.general.gen_select = 0;
  ASSERT_EQ(WriteGeneralParameters(device, s, op), result::kOk);
  EXPECT_EQ(device.Log(), (std::vector<std::string>{"wb 2:0=47", "wb 1:0=1"}));
  EXPECT_EQ(Pattern(op.calls), "LLTLT") << "the panel is not shown for the fixed writes alone";
}

TEST_F(GeneralTransferTest, Failed47LeavesTheRestartUnsent) {
  device.FailAddress(2, Width::kByte, 0, result::kNoAnswer);
  EXPECT_EQ(WriteGeneralParameters(device, s, op), result::kNoAnswer);
  EXPECT_EQ(device.Log().back(), "wb 2:0=47 !2");
}

TEST(FirmwareVersionText, SplitsTheWordIntoItsThreeParts) {
  EXPECT_EQ(FirmwareVersionText(0x93), "2.1.3");
  EXPECT_EQ(FirmwareVersionText(0x5A), "1.1.10");
  EXPECT_EQ(FirmwareVersionText(0), "0.0.0");
  EXPECT_EQ(FirmwareVersionText(255), "3.3.15");
}

}  // namespace
}  // namespace zrm::test
