#include "app/read_command.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "app/command_test_record.h"
#include "support/fake_instrument.h"
#include "support/recording_operator.h"

namespace zrm {
namespace {

using test::FakeInstrument;
using test::RecordingOperator;
using test::Width;

const std::string kNoAnswer = "message|Ошибка|Прибор не ответил (ERR 2)|error";

// Index of the first call equal to `call`, or -1.
long IndexOf(const std::vector<std::string>& calls, const std::string& call) {
  auto it = std::find(calls.begin(), calls.end(), call);
  return it == calls.end() ? -1 : it - calls.begin();
}

TEST(ReadCommandTest, NoInstrumentShowsErrorTwoOnceAndKeepsTheWindow) {
  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  form.relay_area_white = true;  // every command marks all four areas
  const EditorForm before = form;
  FakeInstrument link;
  link.FailOperation(1, result::kNoAnswer);
  RecordingOperator op;
  EXPECT_EQ(ReadCommand(form, s, link, op, 1), result::kNoAnswer);
  EXPECT_EQ(link.operations.size(), 1u);
  EXPECT_EQ(op.Messages(), std::vector<std::string>{kNoAnswer});
  EXPECT_EQ(form, before);
  // The message comes before the commands are unlocked, and that is the end.
  EXPECT_EQ(op.calls.back(), "unlock");
  EXPECT_LT(IndexOf(op.calls, kNoAnswer), IndexOf(op.calls, "unlock"));
}

TEST(ReadCommandTest, EditsNotReachedByAFailedReadAreKept) {
  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  form.channel[0].th1 = "77";
  form.channel[1].ns = 4;
  FakeInstrument link;
  link.FailOperation(1, result::kNoAnswer);
  RecordingOperator op;
  EXPECT_EQ(ReadCommand(form, s, link, op, 1), result::kNoAnswer);
  EXPECT_EQ(form.channel[0].th1, " 77.0000");
  EXPECT_EQ(form.setpoint_grid[1][1], " 77.0000");
  EXPECT_EQ(form.channel[1].ns, 4);
}

TEST(ReadCommandTest, FieldsReadBeforeAFailureShowTheirNewValues) {
  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  FakeInstrument link;
  link.SetByte(2, 315, 18);           // channel 1 sensor type
  link.SetFloat(2, 15, 40.0f);        // channel 1 range maximum
  link.FailAddress(2, Width::kDword, 13, result::kChecksum);  // range minimum
  RecordingOperator op;
  EXPECT_EQ(ReadCommand(form, s, link, op, 1), result::kChecksum);
  EXPECT_EQ(form.channel[0].dat, 18);
  EXPECT_EQ(form.channel[0].diap_max, " 40.0000");
  EXPECT_EQ(form.channel[0].th1, " 50.0000");
  EXPECT_EQ(op.Messages().size(), 1u);
}

TEST(ReadCommandTest, SwitchesEveryGroupOnAndShowsTheRecord) {
  DeviceSettings s = test::CommandTestRecord();
  s.channel[1].select = 0;
  s.relay.select = 0;
  s.general.gen_select = 0;
  EditorForm form = test::ShownForm(s);
  FakeInstrument link;
  link.SetFloat(2, 33, 12.5f);  // channel 2 set point 1
  RecordingOperator op;
  op.esc = {true};  // pressed while the window was idle
  EXPECT_EQ(ReadCommand(form, s, link, op, 2), result::kOk);
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(s.channel[0].select, 1);
  EXPECT_EQ(s.channel[1].select, 1);
  EXPECT_EQ(s.relay.select, 1);
  EXPECT_EQ(s.general.gen_select, 1);
  EXPECT_TRUE(form.channel1_area_white && form.channel2_area_white && form.relay_area_white &&
              form.general_area_white);
  EXPECT_EQ(form.channel[1].th1, " 12.5000");
  EXPECT_EQ(form.port_label, "2");
  EXPECT_EQ(op.calls.front(), "esc|1");
  EXPECT_LT(IndexOf(op.calls, "lock"), IndexOf(op.calls, "unlock"));
  EXPECT_EQ(op.calls.back(), "unlock");
}

TEST(ReadCommandTest, EscDuringTheTransferStopsWithTwenty) {
  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  FakeInstrument link;
  RecordingOperator op;
  op.on_through = [&op] { op.esc = {true}; };
  EXPECT_EQ(ReadCommand(form, s, link, op, 1), result::kUserAbort);
  ASSERT_EQ(op.Messages().size(), 1u);
  EXPECT_NE(op.Messages()[0].find("|Ход процесса остановлен пользователем (ERR 20)|"),
            std::string::npos);
}

}  // namespace
}  // namespace zrm
