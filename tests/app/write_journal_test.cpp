#include "app/write_journal.h"

#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/command_test_record.h"
#include "app/journal_repair.h"
#include "profiles/profile_file.h"
#include "settings/written_parameters.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm {
namespace {

using test::RecordingOperator;

// The names removed from `folder` while `act` runs, in the kernel's order.
std::vector<std::string> RemovedDuring(const std::string& folder, const std::function<void()>& act) {
  const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  inotify_add_watch(fd, folder.c_str(), IN_DELETE);
  act();
  std::vector<std::string> names;
  alignas(inotify_event) std::array<char, 4096> buffer{};
  for (ssize_t got; (got = ::read(fd, buffer.data(), buffer.size())) > 0;)
    for (ssize_t at = 0; at < got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
      names.emplace_back(event->name);
      at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
    }
  ::close(fd);
  return names;
}

// The instrument 4813 047-12345 and, as the settings being written, the
// command test record with one set point changed.
class WriteJournalTest : public ::testing::Test {
 protected:
  void SetUp() override {
    instrument_ = test::CommandTestRecord();
    instrument_.general.proc_ver = 1;
    instrument_.general.otk_type = 47;
    instrument_.general.serial_lo = 12345 % 256;
    instrument_.general.serial_hi = 12345 / 256;
    target_ = instrument_;
    target_.channel[0].th1 = 42.5f;
  }

  std::string EntryPath() const { return JournalEntryPath(dir_.Path(), instrument_); }

  // A whole write's opening of the entry, its lock let go at once.
  ExchangeResult Open(const std::string& backup, Operator& op) {
    JournalLock lock;
    return OpenJournalEntry(dir_.Path(), instrument_, target_, backup, op, lock);
  }

  JournalState Find(JournalEntry& entry, std::string& problem) const {
    return FindJournalEntry(dir_.Path(), instrument_, entry, problem);
  }

  test::ScratchDir dir_;
  DeviceSettings instrument_;
  DeviceSettings target_;
  RecordingOperator op_;
};

TEST_F(WriteJournalTest, EntryKeepsTheSettingsAndBackupUntilClosedAndOnlyForItsInstrument) {
  ASSERT_EQ(Open("/w/backup/b.prf", op_), result::kOk);
  EXPECT_TRUE(op_.Messages().empty());
  EXPECT_EQ(EntryPath(), dir_.Path() + "/journal/ZRM4813-047-12345.journal");
  EXPECT_TRUE(std::filesystem::exists(dir_.Path() + "/journal/ZRM4813-047-12345.prf"));

  JournalEntry entry;
  std::string problem;
  ASSERT_EQ(Find(entry, problem), JournalState::kUnfinished) << problem;
  EXPECT_TRUE(ChangedParameters(target_, entry.settings).empty());
  EXPECT_EQ(entry.settings.channel[0].th1, 42.5f);
  EXPECT_EQ(entry.backup_path, "/w/backup/b.prf");
  EXPECT_EQ(SerialNumber(entry.instrument), 12345u);
  EXPECT_EQ(entry.instrument.otk_type, 47);
  const std::time_t now = std::time(nullptr);
  std::tm started = entry.started;
  EXPECT_LT(std::abs(std::difftime(now, std::mktime(&started))), 600.0);

  // Another serial number or prefix has no entry.
  for (auto change :
       {+[](GeneralSettings& g) { g.serial_lo ^= 1; }, +[](GeneralSettings& g) { g.otk_type = 48; }}) {
    DeviceSettings other = instrument_;
    change(other.general);
    EXPECT_EQ(FindJournalEntry(dir_.Path(), other, entry, problem), JournalState::kNone);
  }
  // The same instrument whose type reads otherwise now (a write that changed
  // it stopped) still has its entry, and ends it.
  DeviceSettings retyped = instrument_;
  retyped.general.proc_ver = 0;
  ASSERT_EQ(FindJournalEntry(dir_.Path(), retyped, entry, problem), JournalState::kUnfinished);
  EXPECT_EQ(entry.settings.channel[0].th1, 42.5f);

  // The entry goes before its settings: a stop between the two leaves a
  // stray settings file, never an entry whose settings are gone.
  EXPECT_EQ(RemovedDuring(dir_.Path() + "/journal",
                          [&] { CloseJournalEntry(dir_.Path(), retyped); }),
            (std::vector<std::string>{"ZRM4813-047-12345.journal", "ZRM4813-047-12345.prf"}));
  EXPECT_EQ(Find(entry, problem), JournalState::kNone);
  EXPECT_TRUE(std::filesystem::is_empty(dir_.Path() + "/journal"));
}

TEST_F(WriteJournalTest, ALaterWriteReplacesTheEntryButKeepsTheFirstBackup) {
  ASSERT_EQ(Open("/w/first.prf", op_), result::kOk);
  target_.channel[0].th1 = 7.0f;
  EXPECT_TRUE(op_.CallsStartingWith("notice|").empty());
  ASSERT_EQ(Open("/w/second.prf", op_), result::kOk);
  JournalEntry entry;
  std::string problem;
  ASSERT_EQ(Find(entry, problem), JournalState::kUnfinished) << problem;
  // The write that replaced the unfinished one said so, and asked nothing.
  const auto notices = op_.CallsStartingWith("notice|");
  ASSERT_EQ(notices.size(), 1u);
  EXPECT_EQ(notices[0].rfind("notice|Запись в прибор 047-12345, начатая ", 0), 0u) << notices[0];
  EXPECT_TRUE(op_.Messages().empty());
  EXPECT_EQ(entry.settings.channel[0].th1, 7.0f);
  EXPECT_EQ(entry.backup_path, "/w/first.prf");

  // Without any backup before, the one of the later write counts.
  CloseJournalEntry(dir_.Path(), instrument_);
  ASSERT_EQ(Open("", op_), result::kOk);
  ASSERT_EQ(Open("/w/third.prf", op_), result::kOk);
  ASSERT_EQ(Find(entry, problem), JournalState::kUnfinished) << problem;
  EXPECT_EQ(entry.backup_path, "/w/third.prf");
}

TEST_F(WriteJournalTest, DamagedEntryIsReportedKeptAndRefusesAWrite) {
  // A whole entry and its settings as this program saves them.
  ASSERT_EQ(Open("", op_), result::kOk);
  const std::string saved = test::ReadBytes(EntryPath());
  const std::string settings_path = dir_.Path() + "/journal/ZRM4813-047-12345.prf";
  const std::string settings = test::ReadBytes(settings_path);
  const std::string size_line = "settings_size=" + std::to_string(settings.size()) + "\n";
  ASSERT_NE(saved.find(size_line), std::string::npos) << saved;
  const std::string good =
      "version=1\nstarted=2026-12-08 12:01:33\nproc_ver=1\notk_type=47\nserial_lo=57\n"
      "serial_hi=48\nbackup=\n";
  const auto replaced = [](std::string text, const std::string& what, const std::string& with) {
    return text.replace(text.find(what), what.size(), with);
  };
  // A settings value changed in place, its size kept.
  std::string edited = replaced(settings, "th1=", "th1=9");
  edited.erase(edited.find('\n', edited.find("th1=9")) - 1, 1);
  struct Case {
    std::string content;
    std::optional<std::string> settings;  // none: no settings file
    std::string why;
  };
  const std::string settings_damaged = "повреждён файл записываемых настроек " + settings_path;
  const Case cases[] = {
      {"", {}, "файл повреждён"},
      {"\x01\x02garbage", {}, "файл повреждён"},
      {"version=x\n" + good.substr(10), {}, "файл повреждён"},
      {"version=4\n" + good.substr(10), {}, "файл из более новой версии программы"},
      // A write of one parameter without its scope, or with one outside the map.
      {replaced(saved, "version=2", "version=3"), settings, "файл повреждён"},
      {replaced(saved, "version=2", "version=3") + "scope=2:6\n", settings, "файл повреждён"},
      {replaced(saved, "version=2", "version=3") + "scope=0:22\n", settings, "файл повреждён"},
      {"version=1\nstarted=2026-13-08 12:01:33\n" + good.substr(38), {}, "файл повреждён"},
      {good.substr(0, good.find("serial_lo")), {}, "файл повреждён"},
      {good, {}, "нет файла записываемых настроек " + settings_path},
      // Settings cut short: their missing keys would load as defaults.
      {good, settings.substr(0, 300), settings_damaged},
      {saved, settings.substr(0, 300), settings_damaged},
      {saved, edited, settings_damaged},
      {replaced(saved, size_line, ""), settings, "файл повреждён"},
  };
  for (const Case& c : cases) {
    test::WriteBytes(EntryPath(), c.content);
    std::filesystem::remove(settings_path);
    if (c.settings) test::WriteBytes(settings_path, *c.settings);
    JournalEntry entry;
    std::string problem;
    EXPECT_EQ(Find(entry, problem), JournalState::kDamaged) << c.content;
    EXPECT_EQ(problem,
              "Запись журнала не прочитана и оставлена как есть: " + EntryPath() + ": " + c.why);

    RecordingOperator op;
    EXPECT_EQ(Open("", op), result::kFile);
    EXPECT_EQ(op.Messages(), std::vector<std::string>{"message|Журнал записи|" + problem +
                                                      "\nЗапись в прибор не начата: сначала "
                                                      "разберитесь с этим файлом.|error"});
    EXPECT_EQ(test::ReadBytes(EntryPath()), c.content);
  }
  // The whole entry as saved is read.
  test::WriteBytes(EntryPath(), saved);
  test::WriteBytes(settings_path, settings);
  JournalEntry entry;
  std::string problem;
  EXPECT_EQ(Find(entry, problem), JournalState::kUnfinished) << problem;
}

TEST_F(WriteJournalTest, UnwritableFolderRefusesSayingWhereAndWhy) {
  test::WriteBytes(dir_.File("journal"), "a file where the folder should be");
  EXPECT_EQ(Open("", op_), result::kFile);
  ASSERT_EQ(op_.Messages().size(), 1u);
  EXPECT_EQ(op_.Messages()[0].rfind("message|Журнал записи|Журнал записи не сохранён, запись не "
                                    "начата.\n" +
                                        dir_.File("journal") + ": ",
                                    0),
            0u)
      << op_.Messages()[0];
  EXPECT_EQ(test::ReadBytes(dir_.File("journal")), "a file where the folder should be");
}

TEST_F(WriteJournalTest, AWriteRunningIntoTheInstrumentRefusesASecondOneUntilItEnds) {
  auto running = std::make_unique<JournalLock>();
  ASSERT_EQ(OpenJournalEntry(dir_.Path(), instrument_, target_, "/w/b.prf", op_, *running),
            result::kOk);
  const std::string entry_text = test::ReadBytes(EntryPath());
  RecordingOperator second;
  target_.channel[0].th1 = 1.0f;
  EXPECT_EQ(Open("", second), result::kFile);
  EXPECT_EQ(second.Messages(),
            std::vector<std::string>{"message|Журнал записи|В этот прибор уже идёт запись из "
                                     "другой программы, новая запись не начата.\nЗапись "
                                     "журнала: " +
                                     EntryPath() + "|error"});
  EXPECT_EQ(test::ReadBytes(EntryPath()), entry_text);
  // Another instrument is not held up.
  DeviceSettings other = instrument_;
  other.general.serial_lo ^= 1;
  JournalLock other_lock;
  EXPECT_EQ(OpenJournalEntry(dir_.Path(), other, target_, "", second, other_lock), result::kOk);

  // Once the first write has ended (or its program has died), the lock is
  // free again and its file gone with it.
  CloseJournalEntry(dir_.Path(), instrument_);
  running.reset();
  EXPECT_FALSE(std::filesystem::exists(dir_.Path() + "/journal/ZRM4813-047-12345.lock"));
  EXPECT_EQ(Open("", second), result::kOk);
}

TEST_F(WriteJournalTest, LinesKeepApartInstrumentsOfOneSerialAndTheBenchFindsTheirEntries) {
  // A gateway writes set point 1 into two instruments of one serial number
  // on two lines at once: neither waits for the other nor touches its entry.
  const std::vector<WrittenParameter> scope = {{0, ChannelField::kTh1, nullptr},
                                               {0, ChannelField::kThType1, nullptr}};
  const JournalPlace first(dir_.Path(), "/dev/ttyUSB0", 3);
  const JournalPlace second(dir_.Path(), "/dev/ttyUSB1", 3);
  JournalLock first_lock, second_lock;
  ASSERT_EQ(OpenJournalEntry(first, instrument_, target_, "", op_, first_lock, scope), result::kOk);
  ASSERT_EQ(OpenJournalEntry(second, instrument_, target_, "", op_, second_lock, scope),
            result::kOk);
  EXPECT_TRUE(op_.Messages().empty()) << op_.Messages()[0];
  EXPECT_EQ(JournalEntryPath(first, instrument_),
            dir_.Path() + "/journal/ZRM4813-047-12345@_dev_ttyUSB0.3.journal");
  CloseJournalEntry(second, instrument_);
  JournalEntry entry;
  std::string problem;
  EXPECT_EQ(FindJournalEntry(second, instrument_, entry, problem), JournalState::kNone);
  // On the bench, with no line of its own, the instrument finds what the
  // gateway left, with the scope of that write.
  ASSERT_EQ(Find(entry, problem), JournalState::kUnfinished) << problem;
  EXPECT_EQ(entry.scope, scope);
  // The write stopped with the type prepared to 0; what it did not read
  // means nothing and is left as the instrument holds it.
  ASSERT_NE(target_.channel[0].th_type1, 0);
  DeviceSettings now = instrument_;
  now.channel[0].th_type1 = 0;
  now.channel[0].his1 = 3.0f;
  entry.settings.channel[0].his1 = 0.0f;
  const DeviceSettings completed = WithEntryScope(now, entry);
  EXPECT_EQ(ChangedParameters(now, completed), scope);
  EXPECT_EQ(completed.channel[0].th1, 42.5f);
  EXPECT_EQ(completed.channel[0].th_type1, target_.channel[0].th_type1);
}

TEST_F(WriteJournalTest, RepairWritesTheEntrysSettingsOrItsBackupForTheSameInstrument) {
  EXPECT_EQ(PlanRepair(dir_.Path(), instrument_, RepairKind::kResume).finding,
            RepairFinding::kNothingUnfinished);
  DeviceSettings backup = instrument_;
  backup.channel[0].th1 = -3.0f;
  std::string reason;
  ASSERT_TRUE(SaveProfileGivingReason(dir_.File("b.prf"), backup, {}, reason)) << reason;
  ASSERT_EQ(Open(dir_.File("b.prf"), op_), result::kOk);

  const RepairPlan resume = PlanRepair(dir_.Path(), instrument_, RepairKind::kResume);
  ASSERT_EQ(resume.finding, RepairFinding::kReady);
  EXPECT_TRUE(ChangedParameters(target_, resume.target).empty());
  const RepairPlan rollback = PlanRepair(dir_.Path(), instrument_, RepairKind::kRollback);
  ASSERT_EQ(rollback.finding, RepairFinding::kReady);
  EXPECT_EQ(rollback.target.channel[0].th1, -3.0f);
  EXPECT_TRUE(ChangedParameters(backup, rollback.target).empty());
  EXPECT_EQ(SerialNumber(rollback.target.general), 12345u);  // no question of another instrument

  // The backup gone: nothing to roll back to, and the message says where it was.
  std::filesystem::remove(dir_.File("b.prf"));
  const RepairPlan gone = PlanRepair(dir_.Path(), instrument_, RepairKind::kRollback);
  EXPECT_EQ(gone.finding, RepairFinding::kNoBackup);
  EXPECT_EQ(RepairRefusal(gone, instrument_),
            UnfinishedWriteSentence(gone.entry) +
                "\nВернуть как было нельзя: резервной копии перед ней нет: " + dir_.File("b.prf"));
}

TEST(UnfinishedWriteSentenceTest, NamesTheInstrumentAndTheMinuteItBegan) {
  JournalEntry entry;
  entry.instrument.otk_type = 47;
  entry.instrument.serial_lo = 12345 % 256;
  entry.instrument.serial_hi = 12345 / 256;
  entry.started.tm_year = 2026 - 1900;
  entry.started.tm_mon = 11;
  entry.started.tm_mday = 8;
  entry.started.tm_hour = 12;
  entry.started.tm_min = 1;
  entry.started.tm_sec = 59;
  EXPECT_EQ(UnfinishedWriteSentence(entry),
            "Запись в прибор 047-12345, начатая 08.12.2026 в 12:01, не завершена.");
  entry.instrument.otk_type = 5;
  entry.instrument.serial_lo = 42;
  entry.instrument.serial_hi = 0;
  entry.started.tm_mday = 31;
  entry.started.tm_mon = 0;
  entry.started.tm_hour = 0;
  EXPECT_EQ(UnfinishedWriteSentence(entry),
            "Запись в прибор 005-00042, начатая 31.01.2026 в 00:01, не завершена.");
}

}  // namespace
}  // namespace zrm
