// WriteChannel: the steps of a channel write with read-back, the preparation
// of each set point type, the ESC checks (never between a preparation and the
// restored type) and the read-back verdicts.

#include "settings/device_transfer.h"
#include "transfer_fixture.h"

namespace zrm::test {
namespace {

// A channel with a distinct value in every field the write moves.
ChannelSettings SampleChannel() {
  ChannelSettings ch;
  ch.select = 1;
  ch.dat = 19;
  ch.diap_max = 20.0f;
  ch.diap_min = 4.0f;
  ch.flag = 1;
  ch.adj = 1.25f;
  ch.shift = -0.5f;
  ch.th1 = 50.0f;
  ch.his1 = 0.25f;
  ch.th_type1 = 2;
  ch.th2 = 60.0f;
  ch.his2 = 0.75f;
  ch.th_type2 = 1;
  ch.ns = 5;
  ch.search = 3;
  ch.use = 0;
  ch.point = 2;
  ch.spd_th = 0.1f;
  ch.spd_his = 0.01f;
  ch.koef0 = 1.5f;
  ch.koef1 = -2.5f;
  ch.koef2 = 3.5f;
  ch.koef3 = -4.5f;
  return ch;
}

const std::vector<std::string> kChannel1Writes = {
    "wbc 2:315=19", "wfc 2:15=20",   "wfc 2:13=4",    "wbc 2:323=1",   "wfc 2:3=1.25",
    "wfc 2:1=-0.5", "wbc 2:327=0",   "wfc 2:29=50",   "wfc 2:37=0.25", "wbc 2:327=2",
    "wbc 2:328=0",  "wfc 2:30=60",   "wfc 2:38=0.75", "wbc 2:328=1",   "wbc 2:317=5",
    "wbc 2:319=3",  "wbc 2:341=0",   "wbc 2:321=2",   "wfc 2:31=0.1",  "wfc 2:32=0.01",
    "wfc 2:5=1.5",  "wfc 2:6=-2.5",  "wfc 2:7=3.5",   "wfc 2:8=-4.5"};

const std::vector<std::string> kChannel2Writes = {
    "wbc 2:316=19", "wfc 2:16=20",   "wfc 2:14=4",    "wbc 2:324=1",   "wfc 2:4=1.25",
    "wfc 2:2=-0.5", "wbc 2:331=0",   "wfc 2:33=50",   "wfc 2:41=0.25", "wbc 2:331=2",
    "wbc 2:332=0",  "wfc 2:34=60",   "wfc 2:42=0.75", "wbc 2:332=1",   "wbc 2:318=5",
    "wbc 2:320=3",  "wbc 2:342=0",   "wbc 2:322=2",   "wfc 2:35=0.1",  "wfc 2:36=0.01",
    "wfc 2:9=1.5",  "wfc 2:10=-2.5", "wfc 2:11=3.5",  "wfc 2:12=-4.5"};

const std::vector<std::string> kWriteStepTexts = {
    "",  // the lines set at the start of the channel write
    "Запись типа датчика",
    "Запись максимума диапазона",
    "Запись минимума диапазона",
    "Запись разрешения извлечения корня",
    "Подстройка диапазона",
    "Запись смещения",
    "Подготовка к смене уставки 1",
    "Запись уставки 1",
    "Запись гистерезиса уставки 1",
    "Запись типа уставки 1",
    "Подготовка к изменению типа уставки 2",
    "Запись уставки 2",
    "Запись гистерезиса уставки 2",
    "Запись типа уставки 2",
    "Запись усреднения",
    "Запись числа наблюдений",
    "Запись разрешения работы канала",
    "Запись числа знаков после запятой",
    "Запись скорости изменения уставки",
    "Запись скорости изменения гистерезиса",
    "Запись корректирующего полинома",
};

class ChannelWriteTest : public TransferTest {
 protected:
  ChannelWriteTest() {
    s_.channel[0] = SampleChannel();
    s_.channel[1] = SampleChannel();
  }
};

TEST_F(ChannelWriteTest, WritesEveryStepInTableOrderWithItsText) {
  ASSERT_EQ(WriteChannel(device_, s_, op_, 0), result::kOk);
  EXPECT_EQ(device_.Log(), kChannel1Writes);
  EXPECT_EQ(StepTexts(op_), kWriteStepTexts);
  EXPECT_EQ(op_.calls.front(), LinesCall("Ход процесса", "Запись настроек канала 1", "", "", "",
                                         "Для остановки нажмите ESC"));
  EXPECT_EQ(op_.CallsStartingWith("show").size(), 0u) << "the caller shows the panel";
  EXPECT_EQ(op_.CallsStartingWith("hide").size(), 0u) << "a finished channel leaves it shown";
}

TEST_F(ChannelWriteTest, ChannelTwoUsesItsOwnAddressesAndTitle) {
  ASSERT_EQ(WriteChannel(device_, s_, op_, 1), result::kOk);
  EXPECT_EQ(device_.Log(), kChannel2Writes);
  EXPECT_EQ(op_.lines[1], "Запись настроек канала 2");
}

// ESC is checked before step 1 and after steps 1-4, 6, 10, 14, 15, 16, 17:
// never between a preparation write and the write of its type.
TEST_F(ChannelWriteTest, EscIsCheckedOnlyWhereNoSetPointIsSwitchedOff) {
  ASSERT_EQ(WriteChannel(device_, s_, op_, 0), result::kOk);
  EXPECT_EQ(Pattern(op_.calls),
            "LE"
            "LTE"
            "LTE"
            "LTE"
            "LTE"
            "LT"
            "LTE"  // steps 1-6
            "LT"
            "LT"
            "LT"
            "LTE"  // steps 7-10
            "LT"
            "LT"
            "LT"
            "LTE"  // steps 11-14
            "LTE"
            "LTE"
            "LTE"  // steps 15-17
            "LT"
            "LT"
            "LT"
            "LTTTT");  // steps 18-21
}

TEST_F(ChannelWriteTest, EscDuringSetPoint1IsNoticedOnlyAfterItsTypeIsRestored) {
  for (const char* step : {"Подготовка к смене уставки 1", "Запись уставки 1",
                           "Запись гистерезиса уставки 1"}) {
    FakeInstrument fresh_device;
    RecordingOperator fresh_op;
    PressEscDuring(fresh_op, step);
    EXPECT_EQ(WriteChannel(fresh_device, s_, fresh_op, 0), result::kUserAbort) << step;
    EXPECT_EQ(fresh_device.Log().back(), "wbc 2:327=2") << step;
    EXPECT_EQ(fresh_device.Byte(2, 327), 2) << step;
    EXPECT_EQ(fresh_op.calls.back(), "hide") << step;
  }
}

TEST_F(ChannelWriteTest, EscDuringSetPoint2IsNoticedOnlyAfterItsTypeIsRestored) {
  PressEscDuring(op_, "Запись гистерезиса уставки 2");
  EXPECT_EQ(WriteChannel(device_, s_, op_, 0), result::kUserAbort);
  EXPECT_EQ(device_.Log().back(), "wbc 2:328=1");
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(ChannelWriteTest, EscBeforeTheFirstStepWritesNothing) {
  op_.esc = {true};
  EXPECT_EQ(WriteChannel(device_, s_, op_, 0), result::kUserAbort);
  EXPECT_TRUE(device_.operations.empty());
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(ChannelWriteTest, FailedPreparationLeavesSetPoint1UnwrittenAndItsTypeAsItWas) {
  device_.SetByte(2, 327, 1);
  device_.FailOperation(7, result::kNoAnswer);
  EXPECT_EQ(WriteChannel(device_, s_, op_, 0), result::kNoAnswer);
  EXPECT_EQ(device_.Log().size(), 7u);
  EXPECT_EQ(device_.Log().back(), "wbc 2:327=0 !2");
  EXPECT_EQ(device_.Float(2, 29), std::nullopt);
  EXPECT_EQ(device_.Float(2, 37), std::nullopt);
  EXPECT_EQ(device_.Byte(2, 327), 1);
  EXPECT_EQ(op_.calls.back(), "hide");
}

TEST_F(ChannelWriteTest, FloatReadBackWithinTheInstrumentsPrecisionCountsAsWritten) {
  device_.float_storage = [](float v) { return v == 50.0f ? 49.995f : v; };
  EXPECT_EQ(WriteChannel(device_, s_, op_, 0), result::kOk);
}

TEST_F(ChannelWriteTest, FloatReadBackOutsideTheToleranceEndsWith15) {
  device_.float_storage = [](float v) { return v == 50.0f ? 49.98f : v; };
  EXPECT_EQ(WriteChannel(device_, s_, op_, 0), result::kReadBackMismatch);
  EXPECT_EQ(device_.Log().back(), "wfc 2:29=50 !15");
  EXPECT_EQ(op_.calls.back(), "hide");
}

// The whole 32-bit value goes to the link: a byte field of 300 or -1 goes
// out as 255 and fails its read-back instead of being cut to 44 or 255.
TEST_F(ChannelWriteTest, ByteFieldAbove255FailsItsReadBack) {
  for (std::int32_t bad : {300, -1}) {
    FakeInstrument fresh_device;
    RecordingOperator fresh_op;
    s_.channel[0].ns = bad;
    EXPECT_EQ(WriteChannel(fresh_device, s_, fresh_op, 0), result::kReadBackMismatch) << bad;
    EXPECT_EQ(fresh_device.Byte(2, 317), 255) << bad;
  }
}

TEST_F(ChannelWriteTest, NotSelectedOrOutOfRangeChannelsWriteNothing) {
  s_.channel[1].select = 0;
  EXPECT_EQ(WriteChannel(device_, s_, op_, 1), result::kOk);
  EXPECT_TRUE(op_.calls.empty());
  EXPECT_EQ(WriteChannel(device_, s_, op_, 2), result::kOperandTooBig);
  EXPECT_EQ(WriteChannel(device_, s_, op_, -1), result::kOperandTooBig);
  EXPECT_EQ(op_.calls, (std::vector<std::string>{"hide", "hide"}));
  EXPECT_TRUE(device_.operations.empty());
}

}  // namespace
}  // namespace zrm::test
