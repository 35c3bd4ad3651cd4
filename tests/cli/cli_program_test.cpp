// zrm48ctl against the zrm48sim program, as a test jig uses the two.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <thread>

#include "cli/cli_process.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

TEST(CliProgramTest, ReadStatusAndRawAccessAgainstTheSimulatorProgram) {
  SimProgram instrument;
  ASSERT_EQ(instrument.DevicePath().rfind("/dev/pts/", 0), 0u) << instrument.DevicePath();
  ScratchDir dir;
  const std::vector<std::string> common = {"--dir", dir.Path(), "--device",
                                           instrument.DevicePath()};
  auto ctl = [&](std::vector<std::string> args) {
    args.insert(args.begin(), common.begin(), common.end());
    return RunCtl(args);
  };

  const CliOutcome read = ctl({"read", dir.File("instrument")});
  EXPECT_EQ(read.exit_code, 0) << read.err;
  EXPECT_EQ(read.out,
            "serial_number=12345\notk_type=047\nfirmware_version=1.1.10\ndate=17.3.2021\n");

  const CliOutcome status = ctl({"status", "--count", "3", "--interval", "20"});
  EXPECT_EQ(status.exit_code, 0) << status.err;
  EXPECT_EQ(std::count(status.out.begin(), status.out.end(), '\n'), 3);

  EXPECT_EQ(ctl({"set", "2", "15", "dword", "0.25", "--checked"}).exit_code, 0);
  EXPECT_EQ(ctl({"get", "2", "15", "dword"}).out, "3E800000 0.25\n");
  // An address where the instrument keeps no parameter: a write is answered
  // "$0003"; a read gets the same code where data should be.
  const CliOutcome absent = ctl({"set", "2", "20", "dword", "1"});
  EXPECT_EQ(absent.exit_code, 22);
  EXPECT_EQ(absent.err, "Ошибка: Параметр не найден (ERR 22)\n");
  EXPECT_EQ(ctl({"get", "2", "20", "dword"}).exit_code, 3);
  EXPECT_EQ(ctl({"set", "2", "6", "byte", "200"}).exit_code, 0);
  EXPECT_EQ(ctl({"get", "2", "6", "byte"}).out, "200\n");

  // The read is in the folder's history; nothing else is, and it holds.
  const CliOutcome history = ctl({"history", "--action", "read"});
  EXPECT_EQ(history.exit_code, 0) << history.err;
  EXPECT_EQ(std::count(history.out.begin(), history.out.end(), '\n'), 2) << history.out;
  EXPECT_NE(history.out.find(",zrm48ctl,"), std::string::npos) << history.out;
  EXPECT_NE(history.out.find(",4813,047-12345,1.1.10," + instrument.DevicePath() + ",1,read,0,"),
            std::string::npos)
      << history.out;
  EXPECT_EQ(ctl({"history", "--action", "changes"}).exit_code, 66);
  EXPECT_EQ(ctl({"history", "--since", "2026-13-01"}).exit_code, 64);
  EXPECT_EQ(ctl({"history", "--verify"}).exit_code, 0);
}

}  // namespace
}  // namespace zrm::test

namespace zrm::test {
namespace {

TEST(CliProgramTest, ScanFindsTheBusOfTheSimulatorProgram) {
  SimProgram bus({"--address", "3,7,12", "--baud", "19200", "--line-timing"});
  ScratchDir dir;
  auto scan = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--dir", dir.Path(), "--device", bus.DevicePath(), "scan"});
    return RunCtl(args);
  };
  const CliOutcome found = scan({"--speeds", "9600,19200", "--addresses", "1-12"});
  EXPECT_EQ(found.exit_code, 0) << found.err;
  EXPECT_EQ(found.out,
            "3\t19200\t1\t4813 Н Двухканальный\t047-12345\t1.1.10\t17.3.2021\n"
            "7\t19200\t1\t4813 Н Двухканальный\t047-12346\t1.1.10\t17.3.2021\n"
            "12\t19200\t1\t4813 Н Двухканальный\t047-12347\t1.1.10\t17.3.2021\n");
  EXPECT_EQ(found.err.find("Что-то"), std::string::npos) << found.err;
  // Each instrument found is in the history at its address.
  const std::string searched =
      RunCtl({"--dir", dir.Path(), "history", "--action", "search", "--csv"}).out;
  EXPECT_NE(searched.find(",4813,047-12346,1.1.10," + bus.DevicePath() +
                          ",7,search,0,найден на скорости 19200,"),
            std::string::npos)
      << searched;

  const CliOutcome none = scan({"--speeds", "9600", "--addresses", "4-7"});
  EXPECT_EQ(none.exit_code, 2);
  EXPECT_EQ(none.out, "");
  EXPECT_EQ(none.err,
            "Что-то отвечает на другой скорости: Адрес: 7 (на скорости 9600 ответ не читается)\n"
            "Прибор не найден.\n");

  // Ctrl-C stops the search before its next probe; nothing was found yet.
  CliRun interrupted({"--dir", dir.Path(), "--device", bus.DevicePath(), "scan"});
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  interrupted.Interrupt();
  const CliOutcome stopped = interrupted.Finish();
  EXPECT_EQ(stopped.exit_code, 20);
  EXPECT_EQ(stopped.out, "");
  const std::string end = "Поиск остановлен пользователем.\n";
  ASSERT_GE(stopped.err.size(), end.size()) << stopped.err;
  EXPECT_EQ(stopped.err.substr(stopped.err.size() - end.size()), end);  // after what it heard
}

}  // namespace
}  // namespace zrm::test

#include "app/write_journal.h"
#include "platform/silent_operator.h"
#include "profiles/profile_file.h"

namespace zrm::test {
namespace {

TEST(CliProgramTest, ResumeAndRollbackEndAnUnfinishedWriteAndTheJournalEntry) {
  SimProgram instrument;
  ScratchDir dir;
  auto ctl = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {"--dir", dir.Path(), "--device", instrument.DevicePath()});
    return RunCtl(args);
  };
  ASSERT_EQ(ctl({"read", dir.File("before")}).exit_code, 0);
  DeviceSettings before;
  ReadProfile(dir.File("before.prf"), before);
  DeviceSettings identity = before;  // the simulator's 4813 047-12345
  identity.general.serial_lo = 12345 % 256;
  identity.general.serial_hi = 12345 / 256;
  DeviceSettings target = before;
  target.channel[0].th1 = 51.0f;
  DescriptionLines description;
  std::string reason;
  ASSERT_TRUE(SaveProfileGivingReason(dir.File("target.prf"), target, description, reason));
  SilentOperator quiet(true);
  const auto unfinished = [&](const DeviceSettings& settings, const std::string& backup) {
    JournalLock lock;
    ASSERT_EQ(OpenJournalEntry(dir.Path(), identity, settings, backup, quiet, lock), result::kOk);
  };
  const auto entry_left = [&] {
    JournalEntry entry;
    return FindJournalEntry(dir.Path(), identity, entry, reason) != JournalState::kNone;
  };

  // Nothing unfinished: said, exit 66, nothing written.
  const CliOutcome none = ctl({"--yes", "resume"});
  EXPECT_EQ(none.exit_code, 66) << none.err;
  EXPECT_EQ(none.err, "Незавершённой записи в прибор 047-12345 нет.\n");

  // Completing writes what still differs; the instrument equals the profile.
  EXPECT_EQ(ctl({"diff", dir.File("target.prf")}).exit_code, 65);
  unfinished(target, dir.File("before.prf"));
  const CliOutcome resumed = ctl({"--yes", "resume"});
  EXPECT_EQ(resumed.exit_code, 0) << resumed.err;
  EXPECT_NE(resumed.err.find("не завершена"), std::string::npos) << resumed.err;
  EXPECT_EQ(ctl({"diff", dir.File("target.prf")}).exit_code, 0);
  EXPECT_FALSE(entry_left());

  // Rolling back writes the backup; without a backup it refuses with 67.
  unfinished(target, dir.File("before.prf"));
  const CliOutcome rolled_back = ctl({"--yes", "rollback"});
  EXPECT_EQ(rolled_back.exit_code, 0) << rolled_back.err;
  EXPECT_EQ(ctl({"diff", dir.File("before.prf")}).exit_code, 0);
  EXPECT_FALSE(entry_left());
  unfinished(target, "");
  const CliOutcome no_backup = ctl({"--yes", "rollback"});
  EXPECT_EQ(no_backup.exit_code, 67) << no_backup.err;
  EXPECT_TRUE(entry_left());

  // Every command that identifies the instrument says so and goes on.
  const std::string sentence = "не завершена.\n";
  for (const std::vector<std::string>& command :
       {std::vector<std::string>{"read", dir.File("again")},
        {"diff", dir.File("before.prf")},
        {"report"},
        {"backup"},
        {"scan", "--speeds", "9600", "--addresses", "1-1"}}) {
    const CliOutcome told = ctl(command);
    EXPECT_EQ(told.exit_code, 0) << command[0] << told.err;
    EXPECT_NE(told.err.find(sentence), std::string::npos) << command[0] << told.err;
  }

  // A write never starts over one running from another program: while that
  // one holds the entry's lock the second is refused, naming the entry.
  {
    JournalLock running;
    ASSERT_EQ(OpenJournalEntry(dir.Path(), identity, target, "", quiet, running), result::kOk);
    const CliOutcome refused = ctl({"--yes", "write", dir.File("target.prf")});
    EXPECT_EQ(refused.exit_code, 14) << refused.err;
    EXPECT_NE(refused.err.find("уже идёт запись из другой программы"), std::string::npos)
        << refused.err;
    EXPECT_NE(refused.err.find(JournalEntryPath(dir.Path(), identity)), std::string::npos);
    EXPECT_EQ(ctl({"diff", dir.File("before.prf")}).exit_code, 0);  // nothing written
  }
  // Once it has gone, a whole write over the unfinished entry tells of it
  // and, ending with success, takes it away.
  const CliOutcome over = ctl({"--yes", "write", dir.File("target.prf")});
  EXPECT_EQ(over.exit_code, 0) << over.err;
  EXPECT_NE(over.err.find(sentence), std::string::npos) << over.err;
  EXPECT_FALSE(entry_left());
  EXPECT_EQ(ctl({"diff", dir.File("target.prf")}).exit_code, 0);
  ASSERT_EQ(ctl({"--yes", "write", dir.File("before.prf")}).exit_code, 0);

  // A damaged entry is reported with its path, kept, and nothing is written.
  const std::string path = JournalEntryPath(dir.Path(), identity);
  WriteBytes(path, "version=9\n");
  const CliOutcome damaged = ctl({"--yes", "resume"});
  EXPECT_EQ(damaged.exit_code, 14);
  EXPECT_NE(damaged.err.find(path), std::string::npos) << damaged.err;
  EXPECT_EQ(ReadBytes(path), "version=9\n");
  EXPECT_EQ(ctl({"diff", dir.File("before.prf")}).exit_code, 0);
}

TEST(CliProgramTest, AWriteKilledMidwayIsCompletedByResume) {
  SimProgram instrument({"--turnaround", "25"});
  ScratchDir dir;
  const std::vector<std::string> common = {"--dir", dir.Path(), "--device",
                                           instrument.DevicePath()};
  auto ctl = [&](std::vector<std::string> args) {
    args.insert(args.begin(), common.begin(), common.end());
    return args;
  };
  ASSERT_EQ(RunCtl(ctl({"read", dir.File("before")})).exit_code, 0);
  DeviceSettings target;
  ReadProfile(dir.File("before.prf"), target);
  target.channel[0].th1 = 51.0f;
  target.channel[1].th2 = -7.5f;
  std::string reason;
  ASSERT_TRUE(SaveProfileGivingReason(dir.File("target.prf"), target, {}, reason));
  DeviceSettings identity = target;  // the simulator's 4813 047-12345
  identity.general.serial_lo = 12345 % 256;
  identity.general.serial_hi = 12345 / 256;
  const std::string entry = JournalEntryPath(dir.Path(), identity);

  // Killed once its entry is saved and some of its frames have gone out.
  CliRun write(ctl({"--yes", "write", dir.File("target.prf")}));
  for (int i = 0; i < 400 && !std::filesystem::exists(entry); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(std::filesystem::exists(entry));
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  kill(write.Pid(), SIGKILL);
  EXPECT_EQ(write.Finish().exit_code, -1);
  EXPECT_TRUE(std::filesystem::exists(entry));

  // The dead write's lock holds nothing up; the instrument ends as the
  // profile, and the journal is empty.
  const CliOutcome resumed = RunCtl(ctl({"--yes", "resume"}));
  EXPECT_EQ(resumed.exit_code, 0) << resumed.err;
  EXPECT_EQ(RunCtl(ctl({"diff", dir.File("target.prf")})).exit_code, 0);
  EXPECT_TRUE(std::filesystem::is_empty(JournalFolder(dir.Path())));
  // The history keeps the killed write as begun and never ended, and the
  // resume with what it changed.
  const std::string writes = RunCtl(ctl({"history", "--action", "write", "--csv"})).out;
  EXPECT_NE(writes.find(",write,идёт,запись начата,"), std::string::npos) << writes;
  EXPECT_EQ(writes.find(",write,0,"), std::string::npos) << writes;
  const std::string resume = RunCtl(ctl({"history", "--action", "resume", "--csv"})).out;
  EXPECT_NE(resume.find(",resume,0,"), std::string::npos) << resume;
  EXPECT_NE(resume.find("Канал 2: "), std::string::npos) << resume;
  EXPECT_NE(resume.find(" → -7.5000"), std::string::npos) << resume;
}

}  // namespace
}  // namespace zrm::test
