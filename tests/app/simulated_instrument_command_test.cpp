// The read and write commands through the real serial port and link: what
// reaches the wire is the evidence.

#include <gtest/gtest.h>

#include <string>

#include "app/command_test_record.h"
#include "app/read_command.h"
#include "app/write_command.h"
#include "lib/pseudo_terminal.h"
#include "lib/simulator.h"
#include "link/link.h"
#include "platform/serial_port.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm {
namespace {

using test::RecordingOperator;

constexpr LinkParams kParams{1, 2, 1000};

TEST(SimulatedInstrumentCommandTest, FailedFieldCheckSendsNoFrame) {
  sim::Simulator simulator;
  std::string error;
  ASSERT_TRUE(simulator.Start(&error)) << error;
  SerialPort port;
  ASSERT_TRUE(port.Open(simulator.SlavePath(), 9600, error)) << error;
  Link link(port, kParams, nullptr);

  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  form.channel[1].his1 = "0.0z";
  RecordingOperator op;
  test::ScratchDir dir;
  DeviceSettings identified;
  EXPECT_EQ(WriteCommand(form, s, link, op, {dir.Path(), 1}, identified),
            result::kStoppedToCorrect);
  EXPECT_EQ(simulator.RequestsReceived(), 0u);

  // The same window with the text put right is written and restarts the
  // instrument, so the line was there all along.
  form.channel[1].his1 = "0.5";
  RecordingOperator again;
  EXPECT_EQ(WriteCommand(form, s, link, again, {dir.Path(), 1}, identified), result::kOk);
  EXPECT_GT(simulator.RequestsReceived(), 0u);
  EXPECT_EQ(simulator.RestartCount(), 1u);
  EXPECT_EQ(simulator.Float(41), 0.5f);  // channel 2 hysteresis 1
}

TEST(SimulatedInstrumentCommandTest, ReadWithoutInstrumentShowsNoAnswerOnce) {
  sim::PseudoTerminal silent_line;  // nothing answers on the other side
  SerialPort port;
  std::string error;
  ASSERT_TRUE(silent_line.Open(error)) << error;
  ASSERT_TRUE(port.Open(silent_line.SlavePath(), 9600, error)) << error;
  Link link(port, kParams, nullptr);

  DeviceSettings s = test::CommandTestRecord();
  EditorForm form = test::ShownForm(s);
  form.relay_area_white = true;
  const EditorForm before = form;
  RecordingOperator op;
  EXPECT_EQ(ReadCommand(form, s, link, op, 1), result::kNoAnswer);
  EXPECT_EQ(op.Messages(),
            std::vector<std::string>{"message|Ошибка|Прибор не ответил (ERR 2)|error"});
  EXPECT_EQ(form, before);
}

}  // namespace
}  // namespace zrm
