// The write of changes against the emulated instrument: the frames it
// receives after the comparison's read are the evidence of what was sent.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/changes_write_command.h"
#include "app/command_test_record.h"
#include "app/journal_repair.h"
#include "app/read_command.h"
#include "app/session.h"
#include "app/write_command.h"
#include "app/write_journal.h"
#include "lib/simulator.h"
#include "link/link.h"
#include "platform/serial_port.h"
#include "settings/device_transfer.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm {
namespace {

using namespace std::chrono_literals;
using test::RecordingOperator;

constexpr LinkParams kParams{1, 2, 1000};

// "W2:b327=00" for a write, "R2:f29" for a read.
std::string FrameText(const sim::ReceivedFrame& f) {
  const sim::ParameterKey& p = *f.fields.parameter;
  std::string text = (f.fields.command == 38u ? "W" : "R") + std::to_string(p.space) + ":" +
                     (p.width == sim::Width::kByte ? "b" : "f") + std::to_string(p.address);
  if (!f.fields.data.empty()) text += "=" + f.fields.data;
  return text;
}

// The frames from the first write on: what the write of changes sent.
std::vector<std::string> WriteFrames(const sim::Simulator& simulator) {
  std::vector<std::string> out;
  for (const sim::ReceivedFrame& f : simulator.Frames())
    if (!out.empty() || f.fields.command == 38u) out.push_back(FrameText(f));
  return out;
}

std::string FloatHex(float value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08X", std::bit_cast<std::uint32_t>(value));
  return text;
}

// An instrument that holds the command test record, read back into the
// editor as the window is after "Прочитать из прибора".
class ChangesWriteTest : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::SimulatorOptions options;
    options.turnaround = 1ms;
    options.restart_time = 10ms;
    simulator_ = std::make_unique<sim::Simulator>(options);
    std::string error;
    ASSERT_TRUE(simulator_->Start(&error)) << error;
    ASSERT_TRUE(port_.Open(simulator_->SlavePath(), 9600, error)) << error;
    link_ = std::make_unique<Link>(port_, kParams, nullptr);
    s_ = test::CommandTestRecord();
    form_ = test::ShownForm(s_);
    RecordingOperator op;
    op.default_answer = true;
    DeviceSettings identified;
    ASSERT_EQ(WriteCommand(form_, s_, *link_, op, {dir_.Path(), 1}, identified), result::kOk);
    ASSERT_TRUE(std::filesystem::is_empty(JournalFolder(dir_.Path())));  // ended with success
    ASSERT_EQ(ReadCommand(form_, s_, *link_, op, 1), result::kOk);
    simulator_->ClearFrames();
    op_.default_answer = true;
  }

  ExchangeResult WriteChanges() {
    return WriteChangesCommand(form_, s_, *link_, op_, {dir_.Path(), 1}, outcome_);
  }

  test::ScratchDir dir_;
  std::unique_ptr<sim::Simulator> simulator_;
  SerialPort port_;
  std::unique_ptr<Link> link_;
  DeviceSettings s_;
  EditorForm form_;
  RecordingOperator op_;
  ChangesWriteOutcome outcome_;
  DeviceSettings identified_;  // what a whole write read before its first frame
};

TEST_F(ChangesWriteTest, OneSetPointSendsOnlyItsStepsReadBackAndRestart) {
  form_.channel[1].th1 = "55.5";
  ASSERT_EQ(WriteChanges(), result::kOk) << testing::PrintToString(op_.calls);
  // Channel 2's set point 1 with its type prepared and put back, each
  // checked by reading it back; then 47 and the restart.
  EXPECT_EQ(WriteFrames(*simulator_),
            (std::vector<std::string>{"W2:b331=00", "R2:b331", "W2:f33=" + FloatHex(55.5f),
                                      "R2:f33", "W2:b331=01", "R2:b331", "W2:b0=2F", "W1:b0=01"}));
  EXPECT_EQ(simulator_->RestartCount(), 2u);
  EXPECT_EQ(simulator_->Float(33), 55.5f);
  EXPECT_EQ(op_.CallsStartingWith("ask").size(), 1u);
  EXPECT_EQ(test::ReadBytes(outcome_.backup_path).empty(), false);
  EXPECT_TRUE(std::filesystem::is_empty(JournalFolder(dir_.Path())));
}

TEST_F(ChangesWriteTest, SetPointTypeChangeIsPreparedAsTheWholeWritePreparesIt) {
  form_.channel[0].th_type2 = 1;  // "Понижение" instead of "Повышение"
  ASSERT_EQ(WriteChanges(), result::kOk);
  EXPECT_EQ(WriteFrames(*simulator_),
            (std::vector<std::string>{"W2:b328=00", "R2:b328", "W2:b328=01", "R2:b328", "W2:b0=2F",
                                      "W1:b0=01"}));
}

TEST_F(ChangesWriteTest, NothingToWriteSendsNothingAndSaysSo) {
  ASSERT_EQ(WriteChanges(), result::kOk);
  EXPECT_TRUE(WriteFrames(*simulator_).empty());
  EXPECT_EQ(simulator_->RestartCount(), 1u);
  EXPECT_EQ(op_.Messages(),
            std::vector<std::string>{"message|Запись изменений|Настройки прибора совпадают с "
                                     "редактором: записывать нечего.|information"});
  EXPECT_TRUE(outcome_.backup_path.empty());
}

TEST_F(ChangesWriteTest, DeclinedConfirmationSendsNothing) {
  form_.channel[0].th1 = "51";
  op_.default_answer = false;
  EXPECT_EQ(WriteChanges(), result::kStoppedToClarify);
  EXPECT_TRUE(WriteFrames(*simulator_).empty());
  EXPECT_TRUE(outcome_.backup_path.empty());
}

TEST_F(ChangesWriteTest, StoppedMidwayKeepsTheBackupAndTellsWhatWasWritten) {
  form_.channel[0].th1 = "51";
  form_.channel[0].ns = 5;  // written after the set point block
  // ESC while the set point's type goes back: noticed before the averaging.
  op_.on_through = [&] {
    if (WriteFrames(*simulator_).size() == 4) op_.esc.push_back(true);
  };
  EXPECT_EQ(WriteChanges(), result::kUserAbort);
  const std::string backup = outcome_.backup_path;
  ASSERT_FALSE(backup.empty());
  EXPECT_EQ(op_.Messages().at(0),
            "message|Запись изменений|Запись остановлена. Записано:\n"
            "Канал 1: Величина I\n"
            "Повторная запись изменений из того же профиля допишет остальное.\n"
            "\nПрежние настройки прибора сохранены в " +
                backup + "|warning");
  EXPECT_EQ(simulator_->RestartCount(), 1u);  // no restart after a stop
  EXPECT_EQ(simulator_->Float(29), 51.0f);

  // The device vanishes at the closing write: the averaging went through.
  op_ = RecordingOperator();
  op_.default_answer = true;
  simulator_->AddFault({sim::FaultKind::kVanish,
                        {sim::FaultWhen::By::kParameter, 0, 2, 0, sim::Width::kByte, 0.0},
                        0});
  EXPECT_EQ(WriteChanges(), result::kNoAnswer);
  EXPECT_EQ(op_.Messages().at(0),
            "message|Запись изменений|Запись остановлена. Записано:\n"
            "Канал 1: Усреднение\n"
            "Повторная запись изменений из того же профиля допишет остальное.\n"
            "\nПрежние настройки прибора сохранены в " +
                outcome_.backup_path + "|warning");
  EXPECT_NE(outcome_.backup_path, backup);
  EXPECT_NE(test::ReadBytes(backup), "");
}

TEST_F(ChangesWriteTest, FailureInsideASetPointNamesTheTypeLeftPrepared) {
  // The set point never reads back as written: its type stays 0 (alarm off)
  // in the instrument, which is neither what it held nor what was asked.
  form_.channel[0].th1 = "51";
  simulator_->AddFault({sim::FaultKind::kWrongValue,
                        {sim::FaultWhen::By::kParameter, 0, 2, 29, sim::Width::kDword, 0.0},
                        0});
  EXPECT_EQ(WriteChanges(), result::kReadBackMismatch);
  EXPECT_EQ(simulator_->Byte(2, 327), std::optional<std::uint8_t>(0));
  EXPECT_EQ(op_.Messages().at(0),
            "message|Запись изменений|Запись остановлена. Записано:\n"
            "ни один параметр до конца\n"
            "В приборе сейчас ни прежнее, ни новое значение:\n"
            "Канал 1: Уставка I Тип\nКанал 1: Величина I\n"
            "Повторная запись изменений из того же профиля допишет остальное.\n"
            "\nПрежние настройки прибора сохранены в " +
                outcome_.backup_path + "|warning");
}

TEST_F(ChangesWriteTest, ADeviceByteHeldOtherwiseIsCheckedBefore47AndNamedUnfinished) {
  form_.reg_int += 1;
  simulator_->AddFault({sim::FaultKind::kWrongValue,
                        {sim::FaultWhen::By::kParameter, 0, 2, 337, sim::Width::kByte, 0.0},
                        0});
  EXPECT_EQ(WriteChanges(), result::kReadBackMismatch);
  EXPECT_EQ(WriteFrames(*simulator_), (std::vector<std::string>{"W2:b337=1F", "R2:b337"}));
  EXPECT_EQ(op_.Messages().at(0),
            "message|Запись изменений|Запись остановлена. Записано:\n"
            "ни один параметр до конца\n"
            "В приборе сейчас ни прежнее, ни новое значение:\n"
            "Реле: Интервал принятия решения\n"
            "Повторная запись изменений из того же профиля допишет остальное.\n"
            "\nПрежние настройки прибора сохранены в " +
                outcome_.backup_path + "|warning");
}

TEST_F(ChangesWriteTest, AnUnwritableHistoryRefusesTheWriteBeforeItsFirstFrameAndAReadWarns) {
  const std::string history = dir_.File("history.sqlite");
  test::WriteBytes(history, std::string(4096, 'x'));
  link_.reset();
  port_.Close();
  Session session(dir_.Path());
  RecordingOperator op;
  op.default_answer = true;
  ASSERT_TRUE(session.StartWithoutWindow(op, simulator_->SlavePath()));
  simulator_->ClearFrames();
  DeviceSettings target = s_;
  target.channel[0].th1 += 1.0f;
  EditorForm form = test::ShownForm(target);
  ChangesWriteOutcome outcome;
  EXPECT_EQ(session.WriteChanges(form, target, op, outcome), result::kFile);
  EXPECT_TRUE(simulator_->Frames().empty()) << "not even a read";
  const std::string why = "История изменений не открыта: " + history +
                          ": файл не является базой истории";
  EXPECT_EQ(op.Messages(), std::vector<std::string>{
                               "message|История изменений|" + why +
                               "\nЗапись в прибор не начата: без записи в историю изменений "
                               "прибор не меняется.|error"});
  EXPECT_EQ(session.Read(form, target, op), result::kOk);
  EXPECT_NE(std::find(op.calls.begin(), op.calls.end(), "notice|" + why), op.calls.end());
  EXPECT_EQ(test::ReadBytes(history), std::string(4096, 'x'));
}

TEST_F(ChangesWriteTest, UnsavableBackupStopsBeforeAnyWrite) {
  form_.channel[0].th1 = "51";
  test::WriteBytes(dir_.File("backup"), "a file where the folder should be");
  EXPECT_EQ(WriteChanges(), result::kFile);
  EXPECT_TRUE(WriteFrames(*simulator_).empty());
  const std::vector<std::string> messages = op_.Messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages[0].rfind("message|Резервная копия|Резервная копия не сохранена, запись не "
                              "начата.\n" +
                                  dir_.File("backup") + ": ",
                              0),
            0u)
      << messages[0];
}

TEST_F(ChangesWriteTest, UnwritableJournalStopsBeforeAnyWrite) {
  form_.channel[0].th1 = "51";
  std::filesystem::remove_all(JournalFolder(dir_.Path()));
  test::WriteBytes(dir_.File("journal"), "a file where the folder should be");
  EXPECT_EQ(WriteChanges(), result::kFile);
  EXPECT_TRUE(WriteFrames(*simulator_).empty());
  const std::vector<std::string> messages = op_.Messages();
  ASSERT_FALSE(messages.empty());
  EXPECT_EQ(messages[0].rfind("message|Журнал записи|Журнал записи не сохранён, запись не "
                              "начата.\n" +
                                  dir_.File("journal") + ": ",
                              0),
            0u)
      << messages[0];
}

// A write left unfinished, then completed or rolled back as zrm48ctl and
// the window do it.
class RepairableWriteTest : public ChangesWriteTest {
 protected:
  // The instrument back on a new line, with the memory the write left.
  void Reconnect() {
    sim::SimulatorOptions options;
    options.turnaround = 1ms;
    options.restart_time = 10ms;
    options.memory = simulator_->Memory();
    simulator_ = std::make_unique<sim::Simulator>(options);
    std::string error;
    ASSERT_TRUE(simulator_->Start(&error)) << error;
    link_.reset();
    port_.Close();
    ASSERT_TRUE(port_.Open(simulator_->SlavePath(), 9600, error)) << error;
    link_ = std::make_unique<Link>(port_, kParams, nullptr);
  }

  // "Дописать" or "Вернуть как было" as zrm48ctl and the window run them,
  // answering Yes; then what the instrument holds.
  DeviceSettings Repair(RepairKind kind) {
    // The port is the session's while it works: one program at a time.
    link_.reset();
    port_.Close();
    {
      Session session(dir_.Path());
      RecordingOperator op;
      op.default_answer = true;
      EXPECT_TRUE(session.StartWithoutWindow(op, simulator_->SlavePath()));
      DeviceSettings instrument;
      RepairPlan plan;
      EXPECT_EQ(session.FindRepair(kind, session.settings, op, instrument, plan), result::kOk);
      EXPECT_EQ(plan.finding, RepairFinding::kReady);
      ChangesWriteOutcome outcome;
      EXPECT_EQ(session.RepairWrite(plan, session.form, session.settings, op, outcome), result::kOk)
          << testing::PrintToString(op.calls);
    }
    std::string error;
    EXPECT_TRUE(port_.Open(simulator_->SlavePath(), 9600, error)) << error;
    link_ = std::make_unique<Link>(port_, kParams, nullptr);
    DeviceSettings held = s_;
    EXPECT_EQ(ReadDeviceSettings(*link_, held, op_), result::kOk);
    return held;
  }
};

// Which write is cut off, and after how many of its frames the instrument
// vanishes (the next frame gets no answer).
struct Interruption {
  enum class Write { kChanges, kWholeWithBackup, kWhole } write;
  std::size_t after_frames;
};

class InterruptedWriteTest : public RepairableWriteTest,
                             public ::testing::WithParamInterface<Interruption> {
 protected:
  ExchangeResult RunWrite(std::string& backup_path) {
    const BackupPlace place{dir_.Path(), 1};
    switch (GetParam().write) {
      case Interruption::Write::kChanges: return WriteChanges();
      case Interruption::Write::kWholeWithBackup:
        return WriteCommandWithBackup(form_, s_, *link_, op_, place, backup_path, identified_);
      case Interruption::Write::kWhole:
        return WriteCommand(form_, s_, *link_, op_, place, identified_);
    }
    return result::kOk;
  }

  // Sets two set points in the editor and runs the write with the
  // instrument vanishing after GetParam().after_frames of its frames.
  ExchangeResult RunInterrupted(std::string& backup_path) {
    form_.channel[0].th1 = "51";
    form_.channel[1].th1 = "55.5";
    // The write of changes and the one with a backup read the instrument
    // first, as this read does; the plain whole write only its four bytes of
    // identity.
    const bool reads = GetParam().write != Interruption::Write::kWhole;
    constexpr std::size_t kIdentityReads = 4;
    const std::size_t before_read = simulator_->RequestsReceived();
    DeviceSettings instrument = s_;
    EXPECT_EQ(ReadDeviceSettings(*link_, instrument, op_), result::kOk);
    const std::size_t read_requests = simulator_->RequestsReceived() - before_read;
    simulator_->ClearFrames();
    const std::size_t after = GetParam().after_frames;
    sim::Fault vanish{sim::FaultKind::kVanish, {}, 0};
    vanish.when.request_number =
        simulator_->RequestsReceived() + (reads ? read_requests : kIdentityReads) + after + 1;
    simulator_->AddFault(vanish);
    const ExchangeResult r = RunWrite(backup_path);
    if (GetParam().write == Interruption::Write::kChanges) backup_path = outcome_.backup_path;
    return r;
  }
};

TEST_P(InterruptedWriteTest, LeavesTheEntryWithTheSettingsBeingWritten) {
  std::string backup_path;
  EXPECT_NE(RunInterrupted(backup_path), result::kOk);
  const std::size_t after = GetParam().after_frames;
  EXPECT_EQ(WriteFrames(*simulator_).size(), after + 1);
  EXPECT_EQ(simulator_->RestartCount(), 1u);  // only the one of the set-up

  JournalEntry entry;
  std::string problem;
  ASSERT_EQ(FindJournalEntry(dir_.Path(), s_, entry, problem), JournalState::kUnfinished)
      << problem;
  EXPECT_TRUE(ChangedParameters(s_, entry.settings).empty());
  EXPECT_EQ(entry.settings.channel[0].th1, 51.0f);
  EXPECT_EQ(entry.settings.channel[1].th1, 55.5f);
  EXPECT_EQ(SerialNumber(entry.instrument), SerialNumber(s_.general));
  EXPECT_EQ(entry.backup_path, backup_path);
  EXPECT_EQ(backup_path.empty(), GetParam().write == Interruption::Write::kWhole);
}

TEST_P(InterruptedWriteTest, RollbackReturnsTheBackupAndResumeCompletesIt) {
  const DeviceSettings before = s_;
  std::string backup_path;
  ASSERT_NE(RunInterrupted(backup_path), result::kOk);
  const DeviceSettings target = s_;
  Reconnect();
  if (!backup_path.empty()) {
    const DeviceSettings returned = Repair(RepairKind::kRollback);
    EXPECT_TRUE(ChangedParameters(returned, before).empty());
    EXPECT_TRUE(std::filesystem::is_empty(JournalFolder(dir_.Path())));
    // Cut off once more, now to be completed.
    s_ = before;
    form_ = test::ShownForm(s_);
    ASSERT_NE(RunInterrupted(backup_path), result::kOk);
    Reconnect();
  }
  // A lock file as a writer that was killed leaves it goes with the entry.
  test::WriteBytes(JournalFolder(dir_.Path()) + "/047-12345.lock", "");
  const DeviceSettings completed = Repair(RepairKind::kResume);
  EXPECT_TRUE(ChangedParameters(completed, target).empty());
  EXPECT_EQ(completed.channel[0].th1, 51.0f);
  EXPECT_EQ(completed.channel[1].th1, 55.5f);
  EXPECT_TRUE(std::filesystem::is_empty(JournalFolder(dir_.Path())));
}

// The write of changes sends 14 frames (two set points of six, 47 and the
// restart), the whole write 122 (its last twelve before 47 and the restart
// read back the device bytes): the first answered frame, the middle, the
// check of the written bytes, and the restart that never gets its answer.
INSTANTIATE_TEST_SUITE_P(SpreadOverTheWrite, InterruptedWriteTest,
                         ::testing::Values(Interruption{Interruption::Write::kChanges, 1},
                                           Interruption{Interruption::Write::kChanges, 6},
                                           Interruption{Interruption::Write::kChanges, 13},
                                           Interruption{Interruption::Write::kWholeWithBackup, 1},
                                           Interruption{Interruption::Write::kWholeWithBackup, 55},
                                           Interruption{Interruption::Write::kWholeWithBackup, 121},
                                           Interruption{Interruption::Write::kWhole, 1},
                                           Interruption{Interruption::Write::kWhole, 55},
                                           Interruption{Interruption::Write::kWhole, 115},
                                           Interruption{Interruption::Write::kWhole, 121}));

// A device byte that the instrument stores otherwise than sent (the byte
// sent XOR 1), and how the failure names it.
struct WrongByte {
  unsigned address;
  const char* name;
};

class WrongByteTest : public RepairableWriteTest,
                      public ::testing::WithParamInterface<WrongByte> {};

TEST_P(WrongByteTest, TheCheckBeforeTheRestartNamesItAndResumeCompletesTheWrite) {
  sim::Fault wrong{sim::FaultKind::kWrongValue,
                   {sim::FaultWhen::By::kParameter, 0, 2, GetParam().address, sim::Width::kByte, 0.0},
                   0};
  simulator_->AddFault(wrong);
  EXPECT_EQ(WriteCommand(form_, s_, *link_, op_, {dir_.Path(), 1}, identified_),
            result::kReadBackMismatch);
  EXPECT_EQ(simulator_->RestartCount(), 1u);  // only the one of the set-up
  const std::vector<std::string> messages = op_.Messages();
  ASSERT_EQ(messages.size(), 1u) << testing::PrintToString(messages);
  EXPECT_EQ(messages[0], "message|Ошибка|Не совпадает записанное и прочитанное (ERR 15)\n" +
                             std::string(GetParam().name) + "|error");
  EXPECT_EQ(messages[0].find("записано "), std::string::npos);
  JournalEntry entry;
  std::string problem;
  ASSERT_EQ(FindJournalEntry(dir_.Path(), s_, entry, problem), JournalState::kUnfinished)
      << problem;

  Reconnect();  // the instrument stores what it is sent again
  const DeviceSettings completed = Repair(RepairKind::kResume);
  EXPECT_TRUE(ChangedParameters(completed, s_).empty());
  EXPECT_TRUE(std::filesystem::is_empty(JournalFolder(dir_.Path())));
}

INSTANTIATE_TEST_SUITE_P(
    EveryByteWrittenWithoutReadBack, WrongByteTest,
    ::testing::Values(
        WrongByte{325, "Реле: Логика реле канала 1: отправлено 1, в приборе 0"},
        WrongByte{326, "Реле: Логика реле канала 2: отправлено 1, в приборе 0"},
        WrongByte{6, "Реле: Реле 1, события канала 1 и регулятора: отправлено 1, в приборе 0"},
        WrongByte{7, "Реле: Реле 1, события канала 2: отправлено 0, в приборе 1"},
        WrongByte{8, "Реле: Реле 2, события канала 1 и регулятора: отправлено 0, в приборе 1"},
        WrongByte{9, "Реле: Реле 2, события канала 2: отправлено 1, в приборе 0"},
        WrongByte{337, "Реле: Интервал принятия решения: отправлено 30, в приборе 31"},
        WrongByte{338,
                  "Реле: Интервал принятия решения (копия канала 2): отправлено 30, в приборе 31"},
        WrongByte{339, "Реле: Максимальная длительность импулься: отправлено 5, в приборе 4"},
        WrongByte{340, "Реле: Максимальная длительность импулься (копия канала 2): отправлено 5, "
                       "в приборе 4"},
        WrongByte{3, "Общие: Тип прибора: отправлено 1, в приборе 0"},
        WrongByte{4, "Общие: Отображение ошибки: отправлено 1, в приборе 0"}));

TEST(InstrumentBackupTest, NamesSortNewestFirstAndBelongToOneInstrument) {
  test::ScratchDir dir;
  DeviceSettings s = test::CommandTestRecord();
  s.general.serial_hi = 0x30;
  s.general.serial_lo = 0x39;
  std::tm at{};
  at.tm_year = 126;
  at.tm_mon = 11;
  at.tm_mday = 8;
  at.tm_hour = 5;
  at.tm_min = 9;
  at.tm_sec = 3;
  EXPECT_EQ(BackupFileName(s, at), "ZRM4813-047-12345-20261208-050903.prf");

  std::filesystem::create_directories(BackupFolder(dir.Path()));
  const std::string folder = BackupFolder(dir.Path()) + "/";
  for (const char* name :
       {"ZRM4813-047-12345-20261208-050903.prf", "ZRM4813-047-12345-20261208-050903-2.prf",
        "ZRM4813-047-12345-20251231-235959.prf", "ZRM4813-047-1234-20271208-050903.prf",
        "ZRM4810-047-12345-20271208-050903.prf", "ZRM4813-047-12345-20271208-050903.txt"})
    test::WriteBytes(folder + name, "");
  EXPECT_EQ(BackupsOf(dir.Path(), s),
            (std::vector<std::string>{folder + "ZRM4813-047-12345-20261208-050903-2.prf",
                                      folder + "ZRM4813-047-12345-20261208-050903.prf",
                                      folder + "ZRM4813-047-12345-20251231-235959.prf"}));
}

}  // namespace
}  // namespace zrm
