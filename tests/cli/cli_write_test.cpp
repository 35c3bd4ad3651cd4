// zrm48ctl write against the emulated instrument: each default profile
// leaves the instrument as the window's session leaves it after its own
// start-up, opening the same profile and writing; a question of the checks
// answered No sends nothing.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <regex>

#include "app/session.h"
#include "cli/cli_process.h"
#include "lib/simulator.h"
#include "profiles/default_profiles.h"
#include "settings/parameter_map.h"
#include "support/child_program.h"
#include "support/postgres_server.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

using namespace std::chrono_literals;

std::vector<std::string> RawFrames(const sim::Simulator& simulator) {
  std::vector<std::string> raw;
  for (const sim::ReceivedFrame& frame : simulator.Frames()) raw.push_back(frame.raw);
  return raw;
}

sim::SimulatorOptions Quick() {
  sim::SimulatorOptions options;
  options.turnaround = 1ms;
  options.restart_time = 10ms;
  return options;
}

// The window's start-up leaves nothing on the screen to check here.
struct NoView : StartUpView {
  void ShowEditor() override {}
  void ShowStartCaption() override {}
  void ShowFirstPage() override {}
};

// The window in a folder of its own, after its start-up (which creates the
// default profiles there) and the reload shortly after: the profile `name`
// opened, then "Записать в прибор" with every question answered Yes.
ExchangeResult WindowOpensAndWrites(const sim::Simulator& instrument, const std::string& name) {
  ScratchDir dir;
  WriteBytes(dir.File("dev.dat"), "[PORTS]\r\nCOM1=" + instrument.SlavePath() + "\r\n");
  Session window(dir.Path());
  RecordingOperator op;
  op.default_answer = true;
  NoView view;
  window.StartUp(op, view);
  window.ReloadLastState(op);
  window.OpenProfile(dir.File(name), op);
  DeviceSettings identified;
  return window.Write(window.form, window.settings, op, identified);
}

TEST(CliWriteTest, EachDefaultProfileIsWrittenAsTheWindowWritesIt) {
  ScratchDir profiles;
  RecordingOperator op;
  ASSERT_EQ(CreateDefaultProfiles(profiles.Path(), op), kDefaultProfileCount);
  const std::vector<std::string> names = profiles.Entries();
  ASSERT_EQ(names.size(), static_cast<std::size_t>(kDefaultProfileCount));

  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    sim::Simulator cli_instrument(Quick());
    sim::Simulator window_instrument(Quick());
    ASSERT_TRUE(cli_instrument.Start());
    ASSERT_TRUE(window_instrument.Start());
    const sim::ParameterMemory before = cli_instrument.Memory();

    const ExchangeResult window_result = WindowOpensAndWrites(window_instrument, name);

    ScratchDir dir;
    const CliOutcome outcome = RunCtl({"--dir", dir.Path(), "--device", cli_instrument.SlavePath(),
                                       "--yes", "write", profiles.File(name)});
    EXPECT_EQ(outcome.exit_code, static_cast<int>(window_result)) << outcome.err;
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(window_result, result::kOk);
    EXPECT_EQ(cli_instrument.RestartCount(), 1u);
    EXPECT_NE(cli_instrument.Memory(), before);
    EXPECT_EQ(cli_instrument.Memory(), window_instrument.Memory());
    EXPECT_EQ(RawFrames(cli_instrument), RawFrames(window_instrument));
  }
}

// The sensor range rule applies on the way from the profile to the editor:
// a thermocouple channel gets the range of its sensor, whatever the profile
// holds, and the collected editor (four decimals) is what is written.
TEST(CliWriteTest, SensorRangeRuleAndEditorDecideTheWrittenRange) {
  sim::Simulator simulator(Quick());
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  RecordingOperator op;
  ASSERT_EQ(CreateDefaultProfiles(dir.Path(), op), kDefaultProfileCount);
  const std::string profile = dir.File("ZRM4810.prf");
  std::string text = ReadBytes(profile);
  // Channel 1 becomes "ТХА ТП ХА(K)" (code 9) with a range of its own.
  text = std::regex_replace(text, std::regex("\\[CH1\\]\r?\ndat=[0-9]+"), "[CH1]\r\ndat=9",
                            std::regex_constants::format_first_only);
  text = std::regex_replace(text, std::regex("(\\[CH1\\][^\\[]*?)diap_max=[^\r\n]*"),
                            "$1diap_max=  1.23456", std::regex_constants::format_first_only);
  WriteBytes(profile, text);
  const std::string table = ReadBytes(profile).substr(ReadBytes(profile).find("[Dat_bound9]"));
  const float table_max = std::stof(table.substr(table.find("max=") + 4));

  const CliOutcome outcome =
      RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "--yes", "write", profile});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  const ParameterAddress diap_max = ChannelAddress(ChannelParameterOf(ChannelField::kDiapMax), 0);
  const ParameterAddress dat = ChannelAddress(ChannelParameterOf(ChannelField::kDat), 0);
  EXPECT_EQ(simulator.Byte(2, dat), 9);
  EXPECT_EQ(simulator.Float(diap_max), table_max);
}

class CliWriteQuestionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(simulator_.Start());
    // The default instrument has relay 2 on channel 1's second set point in
    // a two-channel instrument, which the relay check asks about.
    ASSERT_EQ(Ctl({"read", dir_.File("asks")}).exit_code, 0);
    simulator_.ClearFrames();
    requests_before_ = simulator_.RequestsReceived();
  }

  CliOutcome Ctl(std::vector<std::string> args) {
    args.insert(args.begin(), {"--dir", dir_.Path(), "--device", simulator_.SlavePath()});
    return RunCtl(args);
  }

  sim::Simulator simulator_{Quick()};
  ScratchDir dir_;
  std::size_t requests_before_ = 0;
};

TEST_F(CliWriteQuestionTest, NoAnswerWithoutYesStopsBeforeAnyFrame) {
  const CliOutcome outcome = Ctl({"write", dir_.File("asks.prf")});
  EXPECT_EQ(outcome.exit_code, 17);
  EXPECT_EQ(simulator_.RequestsReceived(), requests_before_);
  const std::string question =
      "Ошибка в настройках реле : В двухканальном приборе реле 2 назначено на вторую уставку "
      "первого канала. Записать так как есть?\nОтвет: Нет\n";
  EXPECT_EQ(outcome.err, question +
                             "Замечание по настройкам: Прекратили запись чтобы поправить "
                             "настройки (ERR 17)\n");
}

TEST_F(CliWriteQuestionTest, YesAnswersTheQuestionAndWrites) {
  const std::string before = AgedFileState(dir_.File("asks.prf"));
  const CliOutcome outcome = Ctl({"--yes", "write", dir_.File("asks.prf")});
  EXPECT_EQ(FileState(dir_.File("asks.prf")), before);
  EXPECT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_NE(outcome.err.find("Записать так как есть?\nОтвет: Да\n"), std::string::npos)
      << outcome.err;
  EXPECT_EQ(simulator_.RestartCount(), 1u);
}

TEST_F(CliWriteQuestionTest, MissingProfileIsNotCreatedNorWritten) {
  const CliOutcome outcome = Ctl({"--yes", "write", dir_.File("typo.prf")});
  EXPECT_EQ(outcome.exit_code, 14);
  EXPECT_NE(outcome.err.find("typo.prf: нет такого файла или устройства"), std::string::npos)
      << outcome.err;
  EXPECT_NE(outcome.err.find("Ошибка: Файл не открывается (ERR 14)"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("typo.prf")));
  EXPECT_EQ(simulator_.RequestsReceived(), requests_before_);
}

TEST_F(CliWriteQuestionTest, FileWithoutProfileKeysIsRefusedLikeAMissingOne) {
  std::string noise(2 << 20, '\0');
  std::uint32_t x = 12345;
  for (char& c : noise) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  WriteBytes(dir_.File("noise.prf"), noise);
  // A pipe would be read up by the first look at it (or block the command).
  ASSERT_EQ(mkfifo(dir_.File("pipe.prf").c_str(), 0644), 0);
  const std::pair<std::string, std::string> refused[] = {
      {"noise.prf", "Файл не является профилем настроек: " + dir_.File("noise.prf")},
      {"pipe.prf", "Профиль не найден: " + dir_.File("pipe.prf") + ": это канал (FIFO), а не файл"},
  };
  for (const auto& [name, message] : refused)
    for (const char* command : {"write", "diff"}) {
      const CliOutcome outcome = Ctl({"--yes", command, dir_.File(name)});
      EXPECT_EQ(outcome.exit_code, 14) << command;
      EXPECT_NE(outcome.err.find(message), std::string::npos) << outcome.err;
    }
  EXPECT_EQ(simulator_.RequestsReceived(), requests_before_);
}

// The profile read from the instrument with channel 1's first set point
// changed to 55.5.
void ChangeSetPoint(const std::string& profile) {
  const std::string text = ReadBytes(profile);
  WriteBytes(profile, std::regex_replace(text, std::regex("(\\[CH1\\][^\\[]*?\r\nth1=)[^\r]*"),
                                         "$1 55.5000", std::regex_constants::format_first_only));
}

TEST_F(CliWriteQuestionTest, DiffThenChangesOnlyThenNoDifference) {
  // A read saves no "Grad" wr_grad_immid (a load adds it): each command
  // below reads a profile with missing keys, and none may change the file.
  ASSERT_EQ(ReadBytes(dir_.File("asks.prf")).find("wr_grad_immid"), std::string::npos);
  std::string before = AgedFileState(dir_.File("asks.prf"));
  const CliOutcome same = Ctl({"diff", dir_.File("asks.prf")});
  EXPECT_EQ(same.exit_code, 0) << same.out << same.err;
  EXPECT_EQ(same.out, "");
  EXPECT_EQ(FileState(dir_.File("asks.prf")), before);

  ChangeSetPoint(dir_.File("asks.prf"));
  before = AgedFileState(dir_.File("asks.prf"));
  const CliOutcome differs = Ctl({"diff", dir_.File("asks.prf")});
  EXPECT_EQ(differs.exit_code, 65) << differs.err;
  EXPECT_TRUE(
      std::regex_match(differs.out, std::regex("Канал 1: Величина I: [-0-9.]+ → 55\\.5000\n")))
      << differs.out;

  const CliOutcome written = Ctl({"--yes", "write", "--changes-only", dir_.File("asks.prf")});
  EXPECT_EQ(written.exit_code, 0) << written.err;
  EXPECT_EQ(simulator_.RestartCount(), 1u);
  EXPECT_EQ(Ctl({"diff", dir_.File("asks.prf")}).exit_code, 0);
  EXPECT_EQ(Ctl({"--yes", "write", "--changes-only", dir_.File("asks.prf")}).exit_code, 0);
  EXPECT_EQ(simulator_.RestartCount(), 1u);  // nothing to write: no restart
  EXPECT_EQ(FileState(dir_.File("asks.prf")), before);

  // The window's "Открыть" still completes the profile it opens.
  Session window(dir_.Path());
  RecordingOperator op;
  window.OpenProfile(dir_.File("asks.prf"), op);
  EXPECT_NE(ReadBytes(dir_.File("asks.prf")).find("wr_grad_immid=1"), std::string::npos);
}

TEST_F(CliWriteQuestionTest, AFailedWriteIsRecordedWithWhatWentInAndItsJournalEntry) {
  ChangeSetPoint(dir_.File("asks.prf"));
  // The instrument vanishes at the closing write: the set point went in.
  simulator_.AddFault({sim::FaultKind::kVanish,
                       {sim::FaultWhen::By::kParameter, 0, 2, 0, sim::Width::kByte, 0.0},
                       0});
  EXPECT_NE(Ctl({"--yes", "write", "--changes-only", dir_.File("asks.prf")}).exit_code, 0);
  const std::string events = Ctl({"history", "--action", "changes", "--csv"}).out;
  EXPECT_TRUE(std::regex_search(
      events, std::regex(",changes,2,[^\n]*,ZRM4813-047-12345\\.journal,[^\n]*"
                         "Канал 1: Величина I: [-0-9.]+ → 55\\.5000")))
      << events;
}

// The same jig with the plant's history database on Debian's PostgreSQL
// server, one for the whole program, a database of its own for each test.
class CliWriteHistoryDatabaseTest : public CliWriteQuestionTest {
 protected:
  static void SetUpTestSuite() {
    if (!PostgresServer::Installed()) return;
    server_ = std::make_unique<PostgresServer>();
    server_->Start();
  }
  static void TearDownTestSuite() { server_.reset(); }

  void SetUp() override {
    if (!server_) GTEST_SKIP() << "PostgreSQL's server programs are not installed (postgresql)";
    ASSERT_EQ(server_->Error(), "");
    const std::string database = "cli" + std::to_string(++databases_);
    ASSERT_TRUE(server_->Sql("postgres", "CREATE DATABASE " + database)) << server_->Error();
    url_ = server_->Url(PostgresServer::kOwner, PostgresServer::kOwnerPassword, database);
    CliWriteQuestionTest::SetUp();
  }

  static inline std::unique_ptr<PostgresServer> server_;
  static inline int databases_ = 0;
  std::string url_;
};

TEST_F(CliWriteHistoryDatabaseTest, EventsGoToTheDatabaseTheOptionOrTheSettingsName) {
  // A database nobody listens for: the comparison stands, its event waits.
  const std::string gone = "postgresql://owner@127.0.0.1:" + std::to_string(FreePort()) + "/plant";
  const CliOutcome compared = Ctl({"--history", gone, "diff", dir_.File("asks.prf")});
  EXPECT_EQ(compared.exit_code, 0) << compared.err;
  EXPECT_NE(compared.err.find("База истории недоступна: " + gone + ": "), std::string::npos)
      << compared.err;
  EXPECT_NE(compared.err.find("; события ждут отправки в " + dir_.File("history.sqlite") + "\n"),
            std::string::npos)
      << compared.err;

  // The write sends it along with the set-up's read, stored before any
  // database was named; another folder (another workstation) lists them.
  const CliOutcome written = Ctl({"--history", url_, "--yes", "write", dir_.File("asks.prf")});
  ASSERT_EQ(written.exit_code, 0) << written.err;
  ScratchDir elsewhere;
  const CliOutcome writes = RunCtl(
      {"--dir", elsewhere.Path(), "--history", url_, "history", "--action", "write", "--csv"});
  EXPECT_EQ(writes.exit_code, 0) << writes.err;
  EXPECT_EQ(Lines(writes.out).size(), 3u) << writes.out;
  EXPECT_NE(writes.out.find(",write,идёт,запись начата,"), std::string::npos) << writes.out;
  EXPECT_NE(writes.out.find(",write,0,"), std::string::npos) << writes.out;

  // A batch's rows record there too.
  WriteBytes(dir_.File("plan.csv"),
             "device,address,action,profile\n" + simulator_.SlavePath() + ",1,read,\n");
  const CliOutcome batch =
      RunCtl({"--dir", dir_.Path(), "--history", url_, "batch", dir_.File("plan.csv")});
  EXPECT_EQ(batch.exit_code, 0) << batch.err;
  const auto reads = [&] {
    return Lines(RunCtl({"--dir", elsewhere.Path(), "--history", url_, "history", "--action",
                         "read", "--csv"})
                     .out)
        .size();
  };
  EXPECT_EQ(reads(), 3u) << "the set-up's and the batch's, under the header";

  // zrm48setup.ini names it for every command: the diff's comparison
  // joins the others there.
  WriteBytes(dir_.File("zrm48setup.ini"), "[HISTORY]\r\nDatabase=" + url_ + "\r\n");
  EXPECT_EQ(Ctl({"diff", dir_.File("asks.prf")}).exit_code, 0);
  const CliOutcome verified = Ctl({"history", "--verify"});
  EXPECT_EQ(verified.exit_code, 0) << verified.err;
  EXPECT_EQ(verified.out, "Цепочки истории изменений целы, событий: 6\n");
}

TEST_F(CliWriteHistoryDatabaseTest, AWriteNeitherTheFileNorTheDatabaseTakesIsRefusedBeforeAFrame) {
  const std::string refused_login =
      url_.substr(0, url_.find(':', 11) + 1) + "wrong-secret" + url_.substr(url_.find('@'));
  // Settings that do not parse refuse a write even where the file would
  // take its event; a database that refuses the login, where it would not.
  const struct {
    std::vector<std::string> options;
    std::string settings;
    std::string file;
    std::vector<std::string> told;
  } cases[] = {
      {{},
       "; the plant's\r\n[HISTORY]\r\nDatabase=mysql://plant/history\r\n",
       "",
       {"История изменений не открыта: " + dir_.File("zrm48setup.ini") +
        ", строка 3: адрес базы истории не разбирается: нужен адрес вида "
        "postgresql://пользователь@сервер:порт/база"}},
      {{"--history", refused_login},
       "",
       std::string(4096, 'x'),
       {"История изменений не открыта: " + dir_.File("history.sqlite") +
            ": файл не является базой истории; база истории " + url_.substr(0, url_.find(':', 11)) +
            url_.substr(url_.find('@')) + ": ",
        "password authentication failed"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.told.front());
    WriteBytes(dir_.File("zrm48setup.ini"), c.settings);
    if (!c.file.empty()) WriteBytes(dir_.File("history.sqlite"), c.file);
    const auto ctl = [&](std::vector<std::string> args) {
      args.insert(args.begin(), c.options.begin(), c.options.end());
      return Ctl(args);
    };
    const CliOutcome write = ctl({"--yes", "write", dir_.File("asks.prf")});
    EXPECT_EQ(write.exit_code, 14) << write.err;
    EXPECT_NE(write.err.find("Запись в прибор не начата"), std::string::npos) << write.err;
    EXPECT_EQ(simulator_.RequestsReceived(), requests_before_);
    // A read warns and stands; the history cannot be listed.
    const CliOutcome read = ctl({"read", dir_.File("again")});
    EXPECT_EQ(read.exit_code, 0) << read.err;
    const CliOutcome listed = ctl({"history"});
    EXPECT_EQ(listed.exit_code, 14) << listed.err;
    for (const std::string& told : c.told) {
      EXPECT_NE(write.err.find(told), std::string::npos) << write.err;
      EXPECT_NE(read.err.find(told), std::string::npos) << read.err;
    }
    EXPECT_EQ(write.err.find("wrong-secret"), std::string::npos) << write.err;
    requests_before_ = simulator_.RequestsReceived();
  }
  EXPECT_EQ(ReadBytes(dir_.File("history.sqlite")), std::string(4096, 'x'));
}

// Everything of a profile but its description lines.
std::string WithoutDescription(const std::string& profile) {
  return std::regex_replace(profile, std::regex("txt[0-3]=[^\r]*"), "");
}

TEST_F(CliWriteQuestionTest, BackupHoldsWhatAReadSaves) {
  const CliOutcome backup = Ctl({"backup"});
  ASSERT_EQ(backup.exit_code, 0) << backup.err;
  const std::string path = backup.out.substr(0, backup.out.size() - 1);
  EXPECT_EQ(path.rfind(dir_.File("backup/ZRM"), 0), 0u) << path;
  EXPECT_TRUE(std::regex_match(
      path, std::regex(".*/ZRM48[0-9]{2}-[0-9]{3}-[0-9]+-[0-9]{8}-[0-9]{6}\\.prf")))
      << path;
  EXPECT_EQ(WithoutDescription(ReadBytes(path)),
            WithoutDescription(ReadBytes(dir_.File("asks.prf"))));
}

TEST_F(CliWriteQuestionTest, WholeWriteWithBackupSendsTheSameWriteAfterItsRead) {
  const CliOutcome plain = Ctl({"--yes", "write", dir_.File("asks.prf")});
  ASSERT_EQ(plain.exit_code, 0) << plain.err;
  // The plain write reads the instrument's four bytes of identity first
  // (requests 37); the write itself follows.
  const std::vector<std::string> plain_all = RawFrames(simulator_);
  constexpr std::size_t kIdentityReads = 4;
  ASSERT_GT(plain_all.size(), kIdentityReads);
  for (std::size_t i = 0; i < kIdentityReads; ++i)
    EXPECT_NE(plain_all[i].find(":1;37;"), std::string::npos) << plain_all[i];
  const std::vector<std::string> plain_frames(plain_all.begin() + kIdentityReads, plain_all.end());
  EXPECT_FALSE(std::filesystem::exists(dir_.File("backup")));

  // The setting in the program's own file, and the option, both back up.
  WriteBytes(dir_.File("zrm48setup.ini"), "[BACKUP]\r\nBeforeWrite=1\r\n");
  for (const std::vector<std::string>& args :
       {std::vector<std::string>{"--yes", "write", dir_.File("asks.prf")},
        std::vector<std::string>{"--yes", "write", "--backup", dir_.File("asks.prf")}}) {
    simulator_.ClearFrames();
    const CliOutcome backed_up = Ctl(args);
    ASSERT_EQ(backed_up.exit_code, 0) << backed_up.err;
    const std::vector<std::string> frames = RawFrames(simulator_);
    ASSERT_GT(frames.size(), plain_frames.size());
    EXPECT_EQ(std::vector<std::string>(frames.end() - plain_frames.size(), frames.end()),
              plain_frames);
    WriteBytes(dir_.File("zrm48setup.ini"), "[BACKUP]\r\nBeforeWrite=0\r\n");
  }
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.File("backup")),
                          std::filesystem::directory_iterator()),
            2);
  EXPECT_EQ(ReadBytes(dir_.File("dev.dat")).find("BACKUP"), std::string::npos);
}

TEST_F(CliWriteQuestionTest, UnwritableBackupFolderStopsTheWrite) {
  WriteBytes(dir_.File("backup"), "");
  const CliOutcome outcome = Ctl({"--yes", "write", "--backup", dir_.File("asks.prf")});
  EXPECT_EQ(outcome.exit_code, 14);
  EXPECT_NE(outcome.err.find("Резервная копия не сохранена, запись не начата.\n" +
                             dir_.File("backup") + ": "),
            std::string::npos)
      << outcome.err;
  EXPECT_EQ(simulator_.RestartCount(), 0u);
  for (const sim::ReceivedFrame& frame : simulator_.Frames())
    EXPECT_NE(frame.fields.command, 38u) << frame.raw;
}

}  // namespace
}  // namespace zrm::test
