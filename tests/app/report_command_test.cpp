// The instrument read behind "Сформировать страницу".

#include "app/report_command.h"

#include <gtest/gtest.h>

#include "app/command_test_record.h"
#include "app/history_table.h"
#include "app/last_write.h"
#include "history/history_store.h"
#include "support/fake_instrument.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

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

// A closing event of a write into 047-12345 of type 4813, `minutes` after a
// fixed moment, made by `user`.
HistoryEvent WriteEnd(const std::string& action, int minutes, const std::string& user) {
  HistoryEvent e;
  e.id = action + std::to_string(minutes);
  e.time_ms = 1'796'000'000'000 + minutes * 60'000;
  e.workstation = "stand-3";
  e.user = user;
  e.program = "zrm48setup";
  e.instrument_type = "4813";
  e.instrument_number = "047-12345";
  e.action = action;
  e.opening_id = e.id + "-begun";
  e.changes = {{"Канал 1: Уставка I", "150.0000", "55.5000"}};
  return e;
}

TEST(LastWriteLine, NamesTheLastWriteThatSentSomethingAndHowItEnded) {
  DeviceSettings instrument = test::CommandTestRecord();
  instrument.general.proc_ver = 1;
  instrument.general.otk_type = 47;
  instrument.general.serial_hi = 48;
  instrument.general.serial_lo = 57;
  HistoryEvent whole = WriteEnd("write", 1, "ivanov");  // its values before were not read
  whole.changes.clear();
  HistoryEvent nothing_sent = WriteEnd("changes", 5, "petrov");
  nothing_sent.changes.clear();
  HistoryEvent other_number = WriteEnd("write", 6, "petrov");
  other_number.instrument_number = "047-12346";
  HistoryEvent other_type = WriteEnd("write", 7, "petrov");
  other_type.instrument_type = "4810";
  HistoryEvent read = WriteEnd("read", 8, "petrov");
  read.opening_id.clear();
  HistoryEvent stopped = WriteEnd("changes", 9, "sidorov");
  stopped.result = 20;
  stopped.message = "Ход процесса остановлен пользователем (ERR 20)";
  stopped.changes.clear();  // stopped before its first parameter went in
  HistoryEvent unexplained = WriteEnd("write", 9, "sidorov");  // a newer program's code
  unexplained.result = 30;

  const std::string by_ivanov =
      "Последняя запись в прибор: " + HistoryLocalTime(WriteEnd("", 1, "").time_ms) +
      ", ivanov (stand-3)";
  const struct {
    std::vector<HistoryEvent> events;
    std::string line;
  } cases[] = {
      {{}, ""},
      {{whole}, by_ivanov},
      {{WriteEnd("changes", 1, "ivanov"), nothing_sent, other_number, other_type, read}, by_ivanov},
      {{WriteEnd("resume", 1, "ivanov"), stopped},
       "Последняя запись в прибор: " + HistoryLocalTime(stopped.time_ms) +
           ", sidorov (stand-3), завершилась ошибкой: Ход процесса остановлен пользователем "
           "(ERR 20)"},
      {{unexplained},
       "Последняя запись в прибор: " + HistoryLocalTime(unexplained.time_ms) +
           ", sidorov (stand-3), завершилась ошибкой: код результата 30"},
  };
  for (const auto& c : cases) {
    test::ScratchDir dir;
    if (!c.events.empty()) {
      HistoryStore store;
      std::string error;
      ASSERT_TRUE(store.Open(dir.File("history.sqlite"), error)) << error;
      for (HistoryEvent e : c.events) ASSERT_TRUE(store.Append(e, error)) << error;
    }
    std::string error;
    EXPECT_EQ(LastWriteLine(dir.Path(), instrument, error), c.line);
    EXPECT_EQ(error, "");
    EXPECT_EQ(dir.Entries().size(), c.events.empty() ? 0u : 1u) << "asking made a file";
  }

  // An empty file holds no write; an instrument not identified has none; a
  // history that cannot be read says why.
  test::ScratchDir dir;
  test::WriteBytes(dir.File("history.sqlite"), "");
  std::string error;
  EXPECT_EQ(LastWriteLine(dir.Path(), instrument, error), "");
  EXPECT_EQ(error, "");
  test::WriteBytes(dir.File("history.sqlite"), std::string(4096, 'x'));
  EXPECT_EQ(LastWriteLine(dir.Path(), test::CommandTestRecord(), error), "");
  EXPECT_EQ(error, "");
  EXPECT_EQ(LastWriteLine(dir.Path(), instrument, error), "");
  EXPECT_EQ(error, "История изменений не открыта: " + dir.File("history.sqlite") +
                       ": файл не является базой истории");
}

}  // namespace
}  // namespace zrm
