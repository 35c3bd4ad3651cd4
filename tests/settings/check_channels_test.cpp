#include "settings/check_channels.h"

#include <gtest/gtest.h>

#include <limits>

#include "settings/sample_record.h"
#include "support/recording_operator.h"

namespace zrm {
namespace {

using test::RecordingOperator;

const std::string kError1 = "Ошибка в настройках канала 1|";
const std::string kRemark1 = "Замечание по настройкам канала 1|";

ExchangeResult CheckFirst(DeviceSettings& s, RecordingOperator& op) {
  return CheckChannel(s, 0, true, true, op);
}

TEST(CheckChannelTest, SoundChannelPassesSilently) {
  DeviceSettings s = test::SampleRecord();
  RecordingOperator op;
  EXPECT_EQ(CheckChannels(s, true, true, op), result::kOk);
  EXPECT_TRUE(op.calls.empty());
}

TEST(CheckChannelTest, LimitsAreStrict) {
  DeviceSettings s = test::SampleRecord();
  ChannelSettings& c = s.channel[0];
  c.th1 = 9999.0f;
  c.th2 = -999.0f;
  c.diap_max = 9999.0f;
  c.diap_min = -999.0f;
  c.his1 = c.diap_max;
  c.spd_th = 20.0f;
  c.spd_his = 0.001f;
  c.ns = 10;
  c.lin = 0.0f;
  RecordingOperator op;
  EXPECT_EQ(CheckFirst(s, op), result::kOk);
  EXPECT_TRUE(op.calls.empty());
}

TEST(CheckChannelTest, SetpointAboveLimitIsCorrectedOnYes) {
  DeviceSettings s = test::SampleRecord();
  s.channel[0].th1 = 10000.0f;
  RecordingOperator op;
  op.answers = {true};
  EXPECT_EQ(CheckFirst(s, op), result::kOk);
  EXPECT_EQ(s.channel[0].th1, 9999.0f);
  EXPECT_EQ(op.calls, (std::vector<std::string>{
      "ask|" + kError1 + "Слишком большая величина уставки 1 она будет ограничена величиной 9999. Записать так ?|error|yes"}));
}

TEST(CheckChannelTest, NoToAQuestionStopsWithSeventeenAndKeepsEarlierCorrections) {
  DeviceSettings s = test::SampleRecord();
  s.channel[0].th1 = 12000.0f;
  s.channel[0].th2 = -1000.0f;
  RecordingOperator op;
  op.answers = {true, false};
  EXPECT_EQ(CheckFirst(s, op), result::kStoppedToCorrect);
  EXPECT_EQ(s.channel[0].th1, 9999.0f);
  EXPECT_EQ(s.channel[0].th2, -1000.0f);
  ASSERT_EQ(op.calls.size(), 2u);
  EXPECT_NE(op.calls[1].find("Слишком маленькая величина уставки 2"), std::string::npos);
}

TEST(CheckChannelTest, RangeMaximumIsCorrectedToTheFloatNearest9999_999) {
  DeviceSettings s = test::SampleRecord();
  s.channel[0].diap_max = 20000.0f;
  RecordingOperator op;
  op.default_answer = true;
  EXPECT_EQ(CheckFirst(s, op), result::kOk);
  EXPECT_EQ(s.channel[0].diap_max, 9999.999f);
  // The corrected maximum is above 9999, so the next write asks again.
  RecordingOperator again;
  again.default_answer = true;
  EXPECT_EQ(CheckFirst(s, again), result::kOk);
  EXPECT_EQ(again.calls.size(), 1u);
}

TEST(CheckChannelTest, CorrectionIsInForceForLaterRows) {
  // diap_min corrected to -999 is then below a maximum of -998.
  DeviceSettings s = test::SampleRecord();
  s.channel[0].diap_min = -5000.0f;
  s.channel[0].diap_max = -998.0f;
  s.channel[0].his1 = s.channel[0].his2 = -998.5f;
  RecordingOperator op;
  op.default_answer = true;
  EXPECT_EQ(CheckFirst(s, op), result::kStoppedToCorrect);
  EXPECT_EQ(s.channel[0].diap_min, -999.0f);
  ASSERT_EQ(op.calls.size(), 2u);
  EXPECT_NE(op.calls[0].find("Слишком маленький минимальный диапазон"), std::string::npos);
  // Not the range order error: the corrected minimum is below the maximum.
  EXPECT_EQ(op.calls[1], "message|" + kError1 +
                             "Задан отрицательный гистерезис 1. Прибор не будет работать правильно.|error");
}

TEST(CheckChannelTest, ErrorRowsStopWithSeventeen) {
  struct Case {
    void (*spoil)(ChannelSettings&);
    const char* text;
  };
  const Case cases[] = {
      {[](ChannelSettings& c) { c.diap_max = -1000.0f; c.diap_min = -2000.0f; },
       "Слишком маленький максимум диапазона. Прибор, скорее всего, не будет работать правильно."},
      {[](ChannelSettings& c) { c.diap_min = 10000.0f; c.diap_max = 9000.0f; },
       "Слишком большой минимальный диапазон. Прибор, скорее всего, не будет работать правильно."},
      {[](ChannelSettings& c) { c.diap_min = c.diap_max; },
       "Неправильное соотношение между диапазонами. Прибор не будет работать правильно."},
      // A range end that is not a number passes every bound and stops here.
      {[](ChannelSettings& c) { c.diap_min = std::numeric_limits<float>::quiet_NaN(); },
       "Неправильное соотношение между диапазонами. Прибор не будет работать правильно."},
      {[](ChannelSettings& c) { c.diap_max = std::numeric_limits<float>::quiet_NaN(); },
       "Неправильное соотношение между диапазонами. Прибор не будет работать правильно."},
      {[](ChannelSettings& c) { c.his2 = -0.1f; },
       "Задан отрицательный гистерезис 2. Прибор не будет работать правильно."},
      {[](ChannelSettings& c) { c.his1 = 0.0f; },
       "Задан нулевой гистерезис 1. Прибор не будет работать правильно."},
      {[](ChannelSettings& c) { c.his2 = 0.0f; },
       "Задан нулевой гистерезис 2. Прибор не будет работать правильно."},
      {[](ChannelSettings& c) { c.his1 = 100.5f; },
       "Задан гистерезис 1 превышающий максимум диапазона. Прибор не будет работать правильно."},
      {[](ChannelSettings& c) { c.his2 = 101.0f; },
       "Задан гистерезис 2 превышающий максимум диапазона. Прибор не будет работать правильно."},
      {[](ChannelSettings& c) { c.lin = -0.1f; },
       "Задано отрицательное сопротивление линии для двухпроводного включения. Прибор не будет работать правильно."},
  };
  for (const Case& c : cases) {
    DeviceSettings s = test::SampleRecord();
    c.spoil(s.channel[0]);
    RecordingOperator op;
    op.default_answer = true;
    EXPECT_EQ(CheckFirst(s, op), result::kStoppedToCorrect) << c.text;
    EXPECT_EQ(op.calls, std::vector<std::string>{"message|" + kError1 + c.text + "|error"});
  }
}

TEST(CheckChannelTest, AveragingRemarkKeepsTheValue) {
  for (int ns : {15, -1}) {  // compared as an unsigned number
    DeviceSettings s = test::SampleRecord();
    s.channel[0].ns = ns;
    RecordingOperator yes;
    yes.answers = {true};
    EXPECT_EQ(CheckFirst(s, yes), result::kOk);
    EXPECT_EQ(s.channel[0].ns, ns);
    EXPECT_EQ(yes.calls, std::vector<std::string>{
        "ask|" + kRemark1 + "При таком усреднении в канале теряется динамика отображения.Записать так как есть?|warning|yes"});
    RecordingOperator no;
    EXPECT_EQ(CheckFirst(s, no), result::kStoppedToClarify);
  }
}

TEST(CheckChannelTest, StepRemarks) {
  DeviceSettings s = test::SampleRecord();
  s.channel[0].spd_th = 15.0f;
  RecordingOperator quiet;
  EXPECT_EQ(CheckFirst(s, quiet), result::kOk);
  EXPECT_TRUE(quiet.calls.empty());

  s.channel[0].spd_th = 25.0f;
  s.channel[0].spd_his = 0.0f;
  RecordingOperator op;
  op.default_answer = true;
  EXPECT_EQ(CheckFirst(s, op), result::kOk);
  EXPECT_EQ(s.channel[0].spd_th, 10.0f);
  EXPECT_EQ(s.channel[0].spd_his, 0.001f);
  EXPECT_EQ(op.calls, (std::vector<std::string>{
      "ask|" + kRemark1 + "Слишком большой шаг изменения уставки. Он будет ограничен 10. Записать так?|warning|yes",
      "ask|" + kRemark1 + "Слишком маленький шаг изменения гистерезиса уставки. Он будет сделан равным 0.001. Записать так?|warning|yes"}));

  DeviceSettings refused = test::SampleRecord();
  refused.channel[0].spd_his = 30.0f;
  RecordingOperator no;
  EXPECT_EQ(CheckFirst(refused, no), result::kStoppedToClarify);
  EXPECT_EQ(refused.channel[0].spd_his, 30.0f);
}

TEST(CheckChannelTest, SwitchesChooseTheTables) {
  DeviceSettings s = test::SampleRecord();
  s.channel[0].his1 = 0.0f;  // error row
  s.channel[0].ns = 20;      // remark row
  RecordingOperator remarks_only;
  EXPECT_EQ(CheckChannel(s, 0, false, true, remarks_only), result::kStoppedToClarify);
  EXPECT_EQ(remarks_only.calls.size(), 1u);
  RecordingOperator none;
  EXPECT_EQ(CheckChannel(s, 0, false, false, none), result::kOk);
  EXPECT_TRUE(none.calls.empty());
  EXPECT_EQ(CheckChannel(s, 2, true, true, none), result::kOperandTooBig);
}

TEST(CheckChannelsTest, OnlySelectedChannelsAndSecondCaption) {
  DeviceSettings s = test::SampleRecord();
  s.channel[0].his1 = 0.0f;
  s.channel[0].select = 0;
  s.channel[1].his2 = 0.0f;
  RecordingOperator op;
  EXPECT_EQ(CheckChannels(s, true, true, op), result::kStoppedToCorrect);
  EXPECT_EQ(op.calls, std::vector<std::string>{
      "message|Ошибка в настройках канала 2|Задан нулевой гистерезис 2. Прибор не будет работать правильно.|error"});

  s.channel[1].select = 2;  // only 1 selects
  RecordingOperator quiet;
  EXPECT_EQ(CheckChannels(s, true, true, quiet), result::kOk);
  EXPECT_TRUE(quiet.calls.empty());
}

}  // namespace
}  // namespace zrm
