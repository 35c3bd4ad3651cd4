// ReadChannel: the steps of a channel read in order, the addresses of both
// channels, the ESC checks, and what a failure leaves in the record.

#include <bit>

#include "settings/channel_transfer.h"
#include "settings/device_transfer.h"
#include "step_tables.h"
#include "transfer_fixture.h"

namespace zrm::test {
namespace {


const std::vector<std::string> kReadStepTexts = {
    "Чтение типа датчика",
    "Чтение максимума диапазона",
    "Чтение минимума диапазона",
    "Чтение разрешения извлечения корня",
    "Подстройка диапазона",
    "Чтение смещения",
    "Чтение уставки 1",
    "Чтение гистерезиса 1",
    "Чтение типа уставки 1",
    "Чтение уставки 2",
    "Чтение гистерезиса уставки 2",
    "Чтение типа уставки 2",
    "Чтение усреднения",
    "Чтение числа наблюдений",
    "Чтение исключения канала",
    "Чтение числа знаков после запятой",
    "Чтение скорости изменения уставки",
    "Чтение скорости изменения гистерезиса",
    "Чтение корректирующего полинома",
};

// ESC is checked first and after steps 1..15; the polynomial step moves four
// parameters.
std::string FullReadPattern() {
  std::string p = "E";
  for (int i = 0; i < 15; ++i) p += "LTE";
  p += "LTLTLT" "LTTTT";
  return p;
}

using ChannelReadTest = TransferTest;

TEST_F(ChannelReadTest, ReadsEveryStepInTableOrderWithItsTextAndEscChecks) {
  ASSERT_EQ(ReadChannel(device_, s_, op_, 0), result::kOk);
  EXPECT_EQ(device_.Log(), kChannel1Reads);
  EXPECT_EQ(StepTexts(op_), kReadStepTexts);
  EXPECT_EQ(Pattern(op_.calls), FullReadPattern());
  // Alone, the read shows the lines a whole-image read gives it.
  EXPECT_EQ(op_.calls[1], LinesCall("Ход процесса", "Идет чтение настроек канала 1",
                                    "Чтение типа датчика", "", "", "Для прекращения нажмите ESC"));
}

TEST_F(ChannelReadTest, ChannelTwoUsesItsOwnAddresses) {
  ASSERT_EQ(ReadChannel(device_, s_, op_, 1), result::kOk);
  EXPECT_EQ(device_.Log(), kChannel2Reads);
}

TEST_F(ChannelReadTest, StoresBytesUnsignedAndFloatsAsTheirBitPatterns) {
  device_.SetByte(2, 316, 240);
  device_.SetDword(2, 34, 0x42C80000);  // 100.0
  device_.SetDword(2, 42, 0x3CA3D70A);  // 0.02
  device_.SetDword(2, 16, 0xC479C000);  // -999.0
  device_.SetByte(2, 332, 2);
  ASSERT_EQ(ReadChannel(device_, s_, op_, 1), result::kOk);
  const ChannelSettings& ch = s_.channel[1];
  EXPECT_EQ(ch.dat, 240);
  EXPECT_EQ(ch.th2, 100.0f);
  EXPECT_EQ(std::bit_cast<std::uint32_t>(ch.his2), 0x3CA3D70Au);
  EXPECT_EQ(ch.diap_max, -999.0f);
  EXPECT_EQ(ch.th_type2, 2);
  EXPECT_EQ(s_.channel[0].dat, 0) << "channel 1 untouched";
}

TEST_F(ChannelReadTest, ChannelNotSelectedMakesNoExchangeAndLeavesThePanelAlone) {
  s_.channel[0].select = 0;
  EXPECT_EQ(ReadChannel(device_, s_, op_, 0), result::kOk);
  EXPECT_TRUE(device_.operations.empty());
  EXPECT_TRUE(op_.calls.empty());
}

TEST_F(ChannelReadTest, IndexOutsideTheTwoChannelsIsRefusedWithoutExchange) {
  for (int k : {2, 11, 12, -1}) {
    RecordingOperator fresh;
    EXPECT_EQ(ReadChannel(device_, s_, fresh, k), result::kOperandTooBig) << k;
    EXPECT_EQ(fresh.calls, std::vector<std::string>{"hide"}) << k;
  }
  EXPECT_TRUE(device_.operations.empty());
}

TEST_F(ChannelReadTest, FailedFlagReadIsToleratedAndKeepsTheFlag) {
  s_.channel[0].flag = 1;
  device_.SetByte(2, 323, 0);
  device_.FailAddress(2, Width::kByte, 323, result::kNoAnswer);
  device_.SetDword(2, 3, std::bit_cast<std::uint32_t>(1.5f));
  EXPECT_EQ(ReadChannel(device_, s_, op_, 0), result::kOk);
  EXPECT_EQ(s_.channel[0].flag, 1);
  EXPECT_EQ(s_.channel[0].adj, 1.5f) << "the read goes on with step 5";
  EXPECT_EQ(device_.operations.size(), kChannel1Reads.size());
  EXPECT_EQ(Pattern(op_.calls), FullReadPattern()) << "the ESC check after step 4 still runs";
}

TEST_F(ChannelReadTest, FailureKeepsEarlierFieldsNewAndLaterFieldsOld) {
  s_.channel[0].th1 = 7.0f;
  s_.channel[0].his1 = 8.0f;
  s_.channel[0].th_type1 = 1;
  device_.SetFloat(2, 29, 55.0f);
  device_.SetFloat(2, 37, 0.5f);
  device_.SetByte(2, 327, 2);
  device_.FailAddress(2, Width::kDword, 37, result::kNotUnderstood);
  EXPECT_EQ(ReadChannel(device_, s_, op_, 0), result::kNotUnderstood);
  EXPECT_EQ(s_.channel[0].th1, 55.0f);
  EXPECT_EQ(s_.channel[0].his1, 8.0f);
  EXPECT_EQ(s_.channel[0].th_type1, 1);
  EXPECT_EQ(device_.Log().back(), "rd 2:37 !3");
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(ChannelReadTest, FailureInsideThePolynomialStopsAtThatCoefficient) {
  device_.SetFloat(2, 5, 1.0f);
  device_.SetFloat(2, 6, 2.0f);
  s_.channel[0].koef2 = -3.0f;
  device_.FailAddress(2, Width::kDword, 7, result::kNoAnswer);
  EXPECT_EQ(ReadChannel(device_, s_, op_, 0), result::kNoAnswer);
  EXPECT_EQ(s_.channel[0].koef0, 1.0f);
  EXPECT_EQ(s_.channel[0].koef1, 2.0f);
  EXPECT_EQ(s_.channel[0].koef2, -3.0f);
  EXPECT_EQ(device_.Log().back(), "rd 2:7 !2");
}

TEST_F(ChannelReadTest, EscBeforeTheFirstStepEndsWithoutExchange) {
  op_.esc = {true};
  EXPECT_EQ(ReadChannel(device_, s_, op_, 0), result::kUserAbort);
  EXPECT_TRUE(device_.operations.empty());
  EXPECT_EQ(op_.calls, (std::vector<std::string>{"esc|1", "hide"}));
}

TEST_F(ChannelReadTest, EscBeforeStep16EndsTheReadBeforeThatStep) {
  PressEscDuring(op_, "Чтение исключения канала");
  EXPECT_EQ(ReadChannel(device_, s_, op_, 0), result::kUserAbort);
  EXPECT_EQ(device_.Log().back(), "rb 2:341");
  EXPECT_EQ(device_.operations.size(), 15u);
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(ChannelReadTest, EscDuringStep17LetsTheReadFinish) {
  PressEscDuring(op_, "Чтение скорости изменения уставки");
  EXPECT_EQ(ReadChannel(device_, s_, op_, 0), result::kOk);
  EXPECT_EQ(device_.Log(), kChannel1Reads);
  EXPECT_EQ(op_.esc.size(), 1u) << "the press is still pending for a later check";
}

}  // namespace
}  // namespace zrm::test
