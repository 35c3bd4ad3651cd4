// General parameters: serial number, date, firmware version, device type and
// error display, and the two writes that close every write of the settings.

#include "settings/device_transfer.h"
#include "settings/general_transfer.h"
#include "transfer_fixture.h"

namespace zrm::test {
namespace {

using GeneralTransferTest = TransferTest;

TEST_F(GeneralTransferTest, SerialNumberPrefixAndDateAreReadUnderOneStepText) {
  device_.SetByte(2, 11, 0x39);
  device_.SetByte(2, 12, 0x30);
  device_.SetByte(2, 14, 200);
  device_.SetByte(2, 17, 31);
  device_.SetByte(2, 18, 13);
  device_.SetByte(2, 19, 9);
  ASSERT_EQ(ReadSerialAndDate(device_, s_, op_), result::kOk);
  EXPECT_EQ(device_.Log(), (std::vector<std::string>{"rb 2:11", "rb 2:12", "rb 2:14", "rb 2:17",
                                                     "rb 2:18", "rb 2:19"}));
  EXPECT_EQ(SerialNumber(s_.general), 12345u);
  EXPECT_EQ(s_.general.otk_type, 200);
  EXPECT_EQ(s_.general.date_day, 31);
  EXPECT_EQ(s_.general.date_month, 13) << "not validated";
  EXPECT_EQ(s_.general.date_year, 2009);
  EXPECT_EQ(op_.calls,
            (std::vector<std::string>{
                LinesCall("Ход процесса", "", "", "", "", "Для прекращения нажмите ESC"), "show",
                LinesCall("Ход процесса", "", "Читаем номер прибора", "", "",
                          "Для прекращения нажмите ESC"),
                "through", "through", "through", "hide"}));
}

TEST_F(GeneralTransferTest, YearByteZeroIs2000AndAFailedYearKeepsTheOldYear) {
  device_.SetByte(2, 19, 0);
  ASSERT_EQ(ReadManufacturingDate(device_, s_), result::kOk);
  EXPECT_EQ(s_.general.date_year, 2000);

  FakeInstrument failing;
  failing.SetByte(2, 17, 5);
  failing.FailAddress(2, Width::kByte, 19, result::kNoAnswer);
  s_.general.date_year = 2024;
  EXPECT_EQ(ReadManufacturingDate(failing, s_), result::kNoAnswer);
  EXPECT_EQ(s_.general.date_day, 5);
  EXPECT_EQ(s_.general.date_year, 2024);
}

TEST_F(GeneralTransferTest, SerialFailureSkipsTheDateAndHidesThePanel) {
  device_.FailAddress(2, Width::kByte, 12, result::kDeviceError);
  EXPECT_EQ(ReadSerialAndDate(device_, s_, op_), result::kDeviceError);
  EXPECT_EQ(device_.Log().back(), "rb 2:12 !7");
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(GeneralTransferTest, ReadsFirmwareFromSpace1ThenTypeAndErrorDisplayEachWithItsStep) {
  device_.SetByte(1, 6, 0x93);
  device_.SetByte(2, 3, 2);
  device_.SetByte(2, 4, 1);
  ASSERT_EQ(ReadGeneralParameters(device_, s_, op_), result::kOk);
  EXPECT_EQ(device_.Log(), (std::vector<std::string>{"rb 1:6", "rb 2:3", "rb 2:4"}));
  EXPECT_EQ(s_.general.firmware_version, 0x93);
  EXPECT_EQ(s_.general.proc_ver, 2);
  EXPECT_EQ(s_.general.err_ver, 1);
  EXPECT_EQ(StepTexts(op_), (std::vector<std::string>{"", "Версия ПО прибора", "Тип прибора",
                                                      "Вид отображения ошибки"}));
  EXPECT_EQ(Pattern(op_.calls), "LSLTLTLT");
}

TEST_F(GeneralTransferTest, WriteSendsTypeAndErrorDisplayThen47ThenRestart) {
  s_.general.proc_ver = 1;
  s_.general.err_ver = 0;
  ASSERT_EQ(WriteGeneralParameters(device_, s_, op_), result::kOk);
  ASSERT_EQ(WriteClosingCommands(device_, op_), result::kOk);
  EXPECT_EQ(device_.Log(),
            (std::vector<std::string>{"wb 2:3=1", "wb 2:4=0", "wb 2:0=47", "wb 1:0=1"}));
  EXPECT_EQ(StepTexts(op_), (std::vector<std::string>{
                                "", "Записываем тип прибора", "Записываем вид отображения ошибки",
                                "Тип прибора", "Отдается команда на перезагрузку прибора"}));
  EXPECT_EQ(op_.calls.front(), LinesCall("Ход процесса", "", "", "", "", ""));
  EXPECT_EQ(Pattern(op_.calls), "LSLTLTLTLT");
}

TEST_F(GeneralTransferTest, GeneralSwitchOffStillSends47AndTheRestart) {
  s_.general.gen_select = 0;
  ASSERT_EQ(WriteGeneralParameters(device_, s_, op_), result::kOk);
  ASSERT_EQ(WriteClosingCommands(device_, op_), result::kOk);
  EXPECT_EQ(device_.Log(), (std::vector<std::string>{"wb 2:0=47", "wb 1:0=1"}));
  EXPECT_EQ(Pattern(op_.calls), "LTLT") << "the panel is not shown for the fixed writes alone";
}

TEST_F(GeneralTransferTest, Failed47LeavesTheRestartUnsent) {
  device_.FailAddress(2, Width::kByte, 0, result::kNoAnswer);
  EXPECT_EQ(WriteClosingCommands(device_, op_), result::kNoAnswer);
  EXPECT_EQ(device_.Log().back(), "wb 2:0=47 !2");
}

}  // namespace
}  // namespace zrm::test
