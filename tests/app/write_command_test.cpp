#include "app/write_command.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "app/command_test_record.h"
#include "editor/relay_grid.h"
#include "support/fake_instrument.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm {
namespace {

using test::FakeInstrument;
using test::RecordingOperator;

const std::string kStoppedToCorrect = "Прекратили запись чтобы поправить настройки (ERR 17)";

bool Contains(const std::string& call, const std::string& text) {
  return call.find(text) != std::string::npos;
}

// The float written with read-back to space 2 at `address`, if any.
std::vector<float> FloatsWrittenTo(const FakeInstrument& link, ParameterAddress address) {
  std::vector<float> values;
  for (const auto& o : link.operations) {
    if (o.kind != test::Operation::Kind::kWriteFloatChecked || o.address != address) continue;
    float v;
    std::memcpy(&v, &o.value, sizeof v);
    values.push_back(v);
  }
  return values;
}

TEST(WriteCommandTest, BadFieldTextStopsBeforeAnythingIsCollectedOrSent) {
  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  form.channel[0].th1 = "33";
  form.channel[1].his1 = "0.0z";
  FakeInstrument link;
  RecordingOperator op;
  test::ScratchDir dir;
  DeviceSettings identified;
  EXPECT_EQ(WriteCommand(form, s, link, op, {dir.Path(), 1}, identified),
            result::kStoppedToCorrect);
  EXPECT_TRUE(link.operations.empty());
  EXPECT_EQ(s.channel[0].th1, 50.0f);
  const auto messages = op.Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(
      messages[0],
      "message|Ошибка задания параметров канала 2.|Ошибка задания гистерезиса уставки 1.|error");
  EXPECT_TRUE(Contains(messages[1], kStoppedToCorrect));
  EXPECT_EQ(op.calls.back(), "unlock");
  EXPECT_TRUE(op.CallsStartingWith("lock").empty());
}

TEST(WriteCommandTest, AcceptedCorrectionIsWrittenButNotShown) {
  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  form.channel[0].th1 = "12000";
  FakeInstrument link;
  RecordingOperator op;
  test::ScratchDir dir;
  DeviceSettings identified;
  op.answers = {true};
  EXPECT_EQ(WriteCommand(form, s, link, op, {dir.Path(), 1}, identified), result::kOk);
  EXPECT_TRUE(op.Messages().empty());
  EXPECT_EQ(op.CallsStartingWith("ask|").size(), 1u);
  EXPECT_EQ(s.channel[0].th1, 9999.0f);
  EXPECT_EQ(FloatsWrittenTo(link, 29), std::vector<float>{9999.0f});
  EXPECT_EQ(form.channel[0].th1, "12000");
  EXPECT_EQ(op.calls.back(), "unlock");
}

TEST(WriteCommandTest, RelayQuestionAnsweredNoSendsNothing) {
  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  ToggleRelayCell(form, 2, 1);    // relay 1 on set point II of channel 1
  form.channel[0].th2 = "20000";  // would be questioned later
  FakeInstrument link;
  RecordingOperator op;
  test::ScratchDir dir;
  DeviceSettings identified;
  EXPECT_EQ(WriteCommand(form, s, link, op, {dir.Path(), 1}, identified),
            result::kStoppedToCorrect);
  EXPECT_TRUE(link.operations.empty());
  EXPECT_EQ(op.CallsStartingWith("ask|").size(), 1u);
  ASSERT_EQ(op.Messages().size(), 1u);
  EXPECT_TRUE(Contains(op.Messages()[0], kStoppedToCorrect));
  EXPECT_EQ(s.relay.rel0_msk0, 0x03);  // the editor was collected
}

TEST(WriteCommandTest, RemarkAnsweredNoStopsWithSixteen) {
  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  form.channel[1].spd_th = "25";
  FakeInstrument link;
  RecordingOperator op;
  test::ScratchDir dir;
  DeviceSettings identified;
  EXPECT_EQ(WriteCommand(form, s, link, op, {dir.Path(), 1}, identified),
            result::kStoppedToClarify);
  EXPECT_TRUE(link.operations.empty());
  ASSERT_EQ(op.Messages().size(), 1u);
  EXPECT_TRUE(Contains(op.Messages()[0], "Прекратили запись для уточнения настроек (ERR 16)"));
}

TEST(WriteCommandTest, WritesEveryGroupWhateverTheSwitchesWere) {
  DeviceSettings s = test::CommandTestRecord();
  s.channel[1].select = 0;
  s.general.gen_select = 0;
  EditorForm form = test::ShownForm(s);
  form.channel[1].th1 = "-7.5";
  FakeInstrument link;
  RecordingOperator op;
  test::ScratchDir dir;
  DeviceSettings identified;
  op.esc = {true};  // pressed while the window was idle
  EXPECT_EQ(WriteCommand(form, s, link, op, {dir.Path(), 1}, identified), result::kOk);
  EXPECT_EQ(FloatsWrittenTo(link, 33), std::vector<float>{-7.5f});
  EXPECT_TRUE(form.channel1_area_white && form.channel2_area_white && form.relay_area_white &&
              form.general_area_white);
  EXPECT_EQ(s.channel[1].select, 1);
  EXPECT_EQ(s.general.gen_select, 1);
  // The last exchange is the restart: 1 into space 1, byte 0.
  ASSERT_FALSE(link.operations.empty());
  const auto& last = link.operations.back();
  EXPECT_EQ(last.space, 1u);
  EXPECT_EQ(last.address, 0u);
  EXPECT_EQ(last.value, 1u);
}

TEST(WriteCommandTest, TransferFailureIsShownOnceBeforeUnlocking) {
  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  FakeInstrument link;
  // The third exchange after the four reads of the instrument's identity.
  link.FailOperation(7, result::kReadBackMismatch);
  RecordingOperator op;
  test::ScratchDir dir;
  DeviceSettings identified;
  EXPECT_EQ(WriteCommand(form, s, link, op, {dir.Path(), 1}, identified),
            result::kReadBackMismatch);
  ASSERT_EQ(op.Messages().size(), 1u);
  EXPECT_TRUE(Contains(op.Messages()[0], "(ERR 15)"));
  EXPECT_EQ(op.calls.back(), "unlock");
  EXPECT_EQ(link.operations.size(), 7u);
}

TEST(WriteCommandTest, UnwritableJournalStopsBeforeAnythingIsSent) {
  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  FakeInstrument link;
  RecordingOperator op;
  test::ScratchDir dir;
  DeviceSettings identified;
  test::WriteBytes(dir.File("journal"), "a file where the folder should be");
  EXPECT_EQ(WriteCommand(form, s, link, op, {dir.Path(), 1}, identified), result::kFile);
  // Only what names the instrument was read: type, serial number and prefix.
  std::vector<std::string> sent;
  for (const auto& o : link.operations) sent.push_back(o.Text());
  EXPECT_EQ(sent, (std::vector<std::string>{"rb 2:3", "rb 2:11", "rb 2:12", "rb 2:14"}));
  ASSERT_FALSE(op.Messages().empty());
  EXPECT_TRUE(Contains(op.Messages()[0], "Журнал записи не сохранён, запись не начата.\n" +
                                             dir.File("journal") + ": "));
  EXPECT_EQ(op.calls.back(), "unlock");
}

}  // namespace
}  // namespace zrm
