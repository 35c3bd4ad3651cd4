// The instrument read behind "Сформировать страницу".

#include "app/report_command.h"

#include <gtest/gtest.h>

#include "app/command_test_record.h"
#include "support/fake_instrument.h"
#include "support/recording_operator.h"

namespace zrm {
namespace {

using test::FakeInstrument;
using test::RecordingOperator;

// Group switches channel 1, channel 2, relay, general.
std::array<std::int32_t, 4> Switches(const DeviceSettings& s) {
  return {s.channel[0].select, s.channel[1].select, s.relay.select, s.general.gen_select};
}

DeviceSettings RecordWithSwitches(std::array<std::int32_t, 4> switches) {
  DeviceSettings s = test::CommandTestRecord();
  s.channel[0].select = switches[0];
  s.channel[1].select = switches[1];
  s.relay.select = switches[2];
  s.general.gen_select = switches[3];
  return s;
}

// A fake instrument of device type 2 made on 6.12.2026.
FakeInstrument Instrument() {
  FakeInstrument link;
  link.SetByte(2, 3, 2);    // proc_ver
  link.SetByte(2, 17, 6);   // day
  link.SetByte(2, 18, 12);  // month
  link.SetByte(2, 19, 26);  // year - 2000
  return link;
}

TEST(ReportReadCommand, ReadsEveryGroupAndTheDateThenRestoresTheSwitches) {
  DeviceSettings s = RecordWithSwitches({0, 1, 0, 0});
  FakeInstrument link = Instrument();
  RecordingOperator op;
  op.esc = {true};  // pressed before the command: must not stop it

  EXPECT_EQ(ReportReadCommand(link, s, op), result::kOk);
  EXPECT_EQ(s.general.proc_ver, 2);  // the general group was read although switched off
  EXPECT_EQ(s.general.date_day, 6);
  EXPECT_EQ(s.general.date_month, 12);
  EXPECT_EQ(s.general.date_year, 2026);
  EXPECT_EQ(Switches(s), (std::array<std::int32_t, 4>{0, 1, 0, 0}));
  EXPECT_TRUE(op.Messages().empty());

  const std::vector<std::string> log = link.Log();
  ASSERT_GE(log.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(log.end() - 3, log.end()),
            (std::vector<std::string>{"rb 2:17", "rb 2:18", "rb 2:19"}));
  ASSERT_GE(op.calls.size(), 2u);
  EXPECT_EQ(op.calls[0], "esc|1");
  EXPECT_EQ(op.calls[1], "lock");
  EXPECT_EQ(op.calls.back(), "unlock");
}

TEST(ReportReadCommand, AFailedReadIsShownOnceAndEndsBeforeTheDate) {
  DeviceSettings s = RecordWithSwitches({1, 0, 1, 0});
  FakeInstrument link = Instrument();
  link.FailOperation(3, result::kNoAnswer);
  RecordingOperator op;

  EXPECT_EQ(ReportReadCommand(link, s, op), result::kNoAnswer);
  EXPECT_EQ(link.operations.size(), 3u);
  EXPECT_EQ(op.Messages(), std::vector<std::string>{"message|Ошибка|Прибор не ответил (ERR 2)|error"});
  EXPECT_EQ(Switches(s), (std::array<std::int32_t, 4>{1, 0, 1, 0}));
  EXPECT_EQ(op.calls.back(), "unlock");
}

TEST(ReportReadCommand, AFailedDateReadIsShownOnce) {
  FakeInstrument counting = Instrument();
  {
    DeviceSettings s = RecordWithSwitches({0, 0, 0, 0});
    RecordingOperator op;
    ASSERT_EQ(ReportReadCommand(counting, s, op), result::kOk);
  }
  const int last = static_cast<int>(counting.operations.size());

  DeviceSettings s = RecordWithSwitches({0, 0, 0, 0});
  FakeInstrument link = Instrument();
  link.FailOperation(last, result::kChecksum);  // the year of the final date read
  RecordingOperator op;
  EXPECT_EQ(ReportReadCommand(link, s, op), result::kChecksum);
  EXPECT_EQ(op.Messages().size(), 1u);
  EXPECT_EQ(Switches(s), (std::array<std::int32_t, 4>{0, 0, 0, 0}));
  EXPECT_EQ(op.calls.back(), "unlock");
}

}  // namespace
}  // namespace zrm
