// zrm48ctl batch: the plan, the results file and --resume at their
// boundaries, called directly; then the program: plans refused before
// anything runs, lines in parallel with one failing instrument, --resume,
// and Ctrl-C or a kill leaving the results whole.

#include <arpa/inet.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <memory>
#include <set>
#include <thread>

#include "app/write_journal.h"
#include "platform/content_hash.h"
#include "cli/batch_plan.h"
#include "cli/batch_results.h"
#include "cli/batch_resume.h"
#include "cli/batch_summary.h"
#include "cli/cli_process.h"
#include "lib/simulator.h"
#include "profiles/profile_file.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kHeader = "device,address,action,profile\n";

// The fields of a results line; a quoted field may hold commas (the tests'
// texts hold no quote of their own).
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  bool quoted = false;
  for (char c : line) {
    if (c == '"')
      quoted = !quoted;
    else if (c == ',' && !quoted)
      fields.emplace_back();
    else
      fields.back() += c;
  }
  return fields;
}

TEST(CliBatchPieces, PlanFieldsAtTheirLimits) {
  struct Case {
    std::string address;
    std::uint32_t parsed;  // 0: the row is refused
  };
  const Case cases[] = {{"1", 1},  {"255", 255},      {"256", 0},  {"0", 0},
                        {"-1", 0}, {"4294967297", 0}, {"0x10", 0}, {" 17 ", 17}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.address);
    std::vector<PlanRow> rows;
    std::string error;
    ASSERT_TRUE(ParsePlan(kHeader + std::string("/dev/x,") + c.address + ",read,\n", rows, error))
        << error;
    ASSERT_EQ(rows.size(), 1u);
    if (c.parsed == 0) {
      EXPECT_EQ(PlanFaults(rows),
                std::vector<std::string>{"строка 2: адрес должен быть от 1 до 255, а не " +
                                         std::string(CsvFields(c.address)[0])});
    } else {
      EXPECT_TRUE(PlanFaults(rows).empty());
      EXPECT_EQ(rows[0].address, c.parsed);
    }
  }
  // A profile named with quotes and commas, as a spreadsheet writes it.
  std::vector<PlanRow> rows;
  std::string error;
  ASSERT_TRUE(ParsePlan(std::string(kHeader) + "/dev/x,1,write,\"Цех \"\"2\"\", линия 1.prf\"\n",
                        rows, error))
      << error;
  EXPECT_EQ(rows[0].profile, "Цех \"2\", линия 1.prf");
  EXPECT_TRUE(PlanFaults(rows).empty());
}

// A results row of `device` at address 1 for the plan "/plans/plan.csv".
ResultRow Row(const std::string& device, const std::string& action, int result) {
  ResultRow row;
  row.time = "2026-12-08 14:05:09";
  row.device = device;
  row.address = 1;
  row.action = action;
  row.result = result;
  row.plan = "/plans/plan.csv";
  row.plan_hash = "0123456789abcdef";
  return row;
}

TEST(CliBatchPieces, QuotesAndCommasSurviveTheResultsFileAndResume) {
  ScratchDir dir;
  WriteBytes(dir.File("Цех \"2\", линия 1.prf"), "[Channel1]\r\n");
  ResultRow row = Row("/dev/ttyUSB\"0\",1", "write", 0);
  row.message = "Профиль \"Цех \"2\", линия 1.prf\",\nзаписан";
  row.file = dir.File("Цех \"2\", линия 1.prf");
  row.profile_hash = FileContentHash(row.file);
  ResultRow failed = row;
  failed.result = 14;
  ResultsFile results;
  std::string error;
  ASSERT_TRUE(results.Open(dir.File("results.csv"), error)) << error;
  ASSERT_TRUE(results.Append(row, error)) << error;
  ASSERT_TRUE(results.Append(failed, error)) << error;

  const std::vector<std::string> lines = Lines(ReadBytes(dir.File("results.csv")));
  ASSERT_EQ(lines.size(), 3u);
  const std::vector<std::string> written = CsvFields(lines[1]);
  const std::vector<std::string> wanted = {row.time,
                                           row.device,
                                           "1",
                                           "write",
                                           "",
                                           "",
                                           "",
                                           "0",
                                           "Профиль \"Цех \"2\", линия 1.prf\", записан",
                                           row.file,
                                           row.plan,
                                           row.plan_hash,
                                           row.profile_hash};
  EXPECT_EQ(written, wanted) << lines[1];

  // --resume finds the one success by its columns, the failure not at all.
  std::string warning;
  const SucceededRows succeeded =
      ReadSucceededRows(dir.File("results.csv"), row.plan, row.plan_hash, warning);
  EXPECT_EQ(warning, "");
  EXPECT_EQ(succeeded, (SucceededRows{{{row.device, 1, "write", row.profile_hash}, 1}}));
  EXPECT_TRUE(
      ReadSucceededRows(dir.File("results.csv"), row.plan, "fedcba9876543210", warning).empty());
}

TEST(CliBatchPieces, EachEarlierSuccessSkipsOneRowOfTheSamePlanAndProfile) {
  ScratchDir dir;
  WriteBytes(dir.File("unit.prf"), "[Channel1]\r\n");
  std::vector<PlanRow> rows;
  std::string error;
  const std::string twice = "/dev/a,1,read,\n/dev/b,2,read,\n/dev/a,1,read,\n";
  ASSERT_TRUE(
      ParsePlan(kHeader + twice + "/dev/a,1,verify," + dir.File("unit.prf") + "\n", rows, error))
      << error;

  // The results file as a batch of this plan left it: one of the two reads
  // and the verify succeeded; the other read failed.
  ResultRow verify = Row("/dev/a", "verify", 0);
  verify.profile_hash = FileContentHash(dir.File("unit.prf"));
  ResultsFile results;
  ASSERT_TRUE(results.Open(dir.File("results.csv"), error)) << error;
  for (const ResultRow& row : {Row("/dev/a", "read", 0), Row("/dev/a", "read", 2), verify})
    ASSERT_TRUE(results.Append(row, error)) << error;
  std::string warning;
  const SucceededRows succeeded =
      ReadSucceededRows(dir.File("results.csv"), "/plans/plan.csv", "0123456789abcdef", warning);

  const auto devices_and_actions = [](const BatchLines& to_run) {
    std::vector<std::string> run;
    for (const auto& line : to_run.lines)
      for (const PlanRow& row : line->rows) run.push_back(line->device + " " + row.action_text);
    return run;
  };
  const BatchLines resumed = LinesToRun(rows, succeeded);
  EXPECT_EQ(resumed.skipped, 2u);
  EXPECT_EQ(devices_and_actions(resumed), (std::vector<std::string>{"/dev/b read", "/dev/a read"}));

  // The profile changed since: the verify runs again.
  WriteBytes(dir.File("unit.prf"), "[Channel1]\r\nth1=2\r\n");
  const BatchLines changed = LinesToRun(rows, succeeded);
  EXPECT_EQ(changed.skipped, 1u);
  EXPECT_EQ(devices_and_actions(changed),
            (std::vector<std::string>{"/dev/b read", "/dev/a read", "/dev/a verify"}));
  // Without --resume every row runs; the lines come in the order their first
  // row to run stands in the plan.
  EXPECT_EQ(
      devices_and_actions(LinesToRun(rows, {})),
      (std::vector<std::string>{"/dev/a read", "/dev/a read", "/dev/a verify", "/dev/b read"}));
}

TEST(CliBatchPieces, TheExitStatusNamesTheGravestEnd) {
  struct Case {
    bool unrecorded;
    bool stopped;
    std::size_t failed;
    int exit;
  };
  const Case cases[] = {{false, false, 0, 0}, {false, false, 1, 75}, {false, true, 1, 20},
                        {false, true, 0, 20}, {true, true, 1, 14},   {true, false, 0, 14}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.unrecorded << c.stopped << c.failed);
    UnrecordedRows unrecorded;
    unrecorded.any = c.unrecorded;
    std::FILE* err = std::tmpfile();
    CliOperator op(err, false, false);
    EXPECT_EQ(EndBatch({5, 3, c.failed, 1}, c.stopped, unrecorded, op), c.exit);
    std::fclose(err);
  }
  EXPECT_EQ(SummaryLine({11, 9, 2, 1}),
            "Пакет: строк 11, выполнено 8, с ошибкой 2, не выполнено 1");
}

CliOutcome RunBatch(const ScratchDir& dir, const std::string& plan,
                    const std::vector<std::string>& more = {}) {
  WriteBytes(dir.File("plan.csv"), plan);
  std::vector<std::string> args = {"--dir", dir.Path(), "batch", dir.File("plan.csv")};
  args.insert(args.end(), more.begin(), more.end());
  return RunCtl(args);
}

TEST(CliBatchTest, AnUnsoundPlanOrOptionIsRefusedBeforeAnyRowRunsAndAMissingProfileFailsAlone) {
  // A sound row comes first in each plan: nothing of the plan may run.
  constexpr const char* kSound = "/dev/null,1,read,\n";
  const std::pair<std::string, std::string> refused[] = {
      {"device,address,action\n/dev/null,1,read\n", "строка 1: в заголовке нет столбца profile"},
      {"device,address,action,profile,device\n/dev/null,1,read,,/dev/zero\n",
       "строка 1: в заголовке дважды столбец device"},
      {kHeader, "в плане нет ни одной строки"},
      {kHeader + std::string(kSound) + "/dev/null,0,read,\n",
       "строка 3: адрес должен быть от 1 до 255, а не 0"},
      {kHeader + std::string(kSound) + "/dev/null,x1,read,\n",
       "строка 3: адрес должен быть от 1 до 255, а не x1"},
      {kHeader + std::string(kSound) + "/dev/null,1,erase,\n",
       "строка 3: действие должно быть read, write, changes, verify или report, а не erase"},
      {kHeader + std::string(kSound) + "/dev/null,1,write,\n",
       "строка 3: для этого действия нужен профиль (profile)"},
      {kHeader + std::string(kSound) + ",1,read,\n", "строка 3: не указан порт (device)"},
      {kHeader + std::string(kSound) + "/dev/tty,1,read,\n",
       "строка 3: порт (device) — терминал, на котором работает сама программа"},
  };
  for (const auto& [plan, error] : refused) {
    SCOPED_TRACE(plan);
    ScratchDir dir;
    const CliOutcome outcome = RunBatch(dir, plan);
    EXPECT_EQ(outcome.exit_code, 64);
    EXPECT_NE(outcome.err.find(dir.File("plan.csv") + ": " + error), std::string::npos)
        << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("results.csv")));
  }
  // Every unsound row is listed at once.
  ScratchDir dir;
  const CliOutcome both =
      RunBatch(dir, kHeader + std::string("/dev/null,0,read,\n") + kSound + "/dev/null,1,erase,\n");
  EXPECT_EQ(both.exit_code, 64);
  EXPECT_NE(both.err.find("строка 2: адрес"), std::string::npos) << both.err;
  EXPECT_NE(both.err.find("строка 4: действие"), std::string::npos) << both.err;
  EXPECT_NE(both.err.find("план не выполнялся"), std::string::npos) << both.err;

  // Options: --jobs outside the range it names; a results path that is a
  // pipe (with a reader, so that no version of the program waits on it).
  ASSERT_EQ(mkfifo(dir.File("fifo").c_str(), 0600), 0);
  const int reader = open(dir.File("fifo").c_str(), O_RDONLY | O_NONBLOCK);
  const std::pair<std::vector<std::string>, std::string> bad_options[] = {
      {{"--jobs", "0"}, "--jobs must be a whole number 1..64, not \"0\""},
      {{"--jobs", "65"}, "--jobs must be a whole number 1..64, not \"65\""},
      {{"--results", dir.File("fifo")},
       "Невозможно записать файл результатов " + dir.File("fifo") + ": это не обычный файл"},
  };
  for (const auto& [more, error] : bad_options) {
    SCOPED_TRACE(more[1]);
    const CliOutcome outcome = RunBatch(dir, kHeader + std::string(kSound), more);
    EXPECT_EQ(outcome.exit_code, more[0] == "--jobs" ? 64 : 14);
    EXPECT_NE(outcome.err.find(error), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("results.csv")));
  }
  close(reader);

  // The profile is looked at when its row runs (an earlier row may write it),
  // before the port: no port error hides it, and the row fails alone.
  const CliOutcome missing_profile =
      RunBatch(dir, kHeader + std::string(kSound) + "/dev/null,1,write,/zrm-no-such.prf\n");
  EXPECT_EQ(missing_profile.exit_code, 75) << missing_profile.err;
  const std::vector<std::string> lines = Lines(ReadBytes(dir.File("results.csv")));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[2].find(",14,строка 3: Профиль не найден: /zrm-no-such.prf: нет такого файла "
                          "или устройства"),
            std::string::npos)
      << lines[2];

  const CliOutcome missing = RunCtl({"--dir", dir.Path(), "batch", dir.File("none.csv")});
  EXPECT_EQ(missing.exit_code, 14);
  EXPECT_EQ(missing.err, "План не найден: " + dir.File("none.csv") + "\n");
}

// Three lines, each an RS-485 bus with instruments at addresses 1, 2 and 3
// (serial numbers 12345, 12346, 12347).
sim::SimulatorOptions BusOfThree() {
  sim::SimulatorOptions options;
  options.more_addresses = {2, 3};
  return options;
}

class CliBatchLines : public ::testing::Test {
 protected:
  void SetUp() override {
    for (auto& instrument : instruments_) {
      std::string error;
      ASSERT_TRUE(instrument.Start(&error)) << error;
    }
  }

  sim::Simulator instruments_[3] = {sim::Simulator(BusOfThree()), sim::Simulator(BusOfThree()),
                                    sim::Simulator(BusOfThree())};
  ScratchDir dir_;
};

TEST_F(CliBatchLines, AFailingInstrumentStopsNoOtherAndResumeRunsOnlyWhatFailed) {
  // Columns in another order, quoted fields, a spreadsheet's byte order mark.
  std::string plan =
      "\xEF\xBB\xBF"
      "action,device,profile,address\n";
  for (const char* address : {"1", "2", "3"})
    for (const auto& instrument : instruments_)
      plan += "read,\"" + instrument.SlavePath() + "\",," + address + "\n";
  plan += "report," + instruments_[0].SlavePath() + ",,1\n";
  plan += "read," + instruments_[1].SlavePath() + ",,4\n";  // its instrument is dead
  const CliOutcome outcome = RunBatch(dir_, plan);
  EXPECT_EQ(outcome.exit_code, 75) << outcome.err;
  EXPECT_NE(outcome.err.find("Пакет: строк 11, выполнено 10, с ошибкой 1, не выполнено 0"),
            std::string::npos)
      << outcome.err;

  const std::vector<std::string> lines = Lines(ReadBytes(dir_.File("results.csv")));
  ASSERT_EQ(lines.size(), 12u);
  EXPECT_EQ(lines[0],
            "time,device,address,action,type,serial,firmware,result,message,file,plan,plan_hash,"
            "profile_hash");
  int failed = 0;
  std::set<std::string> files;
  int renamed = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = Fields(lines[i]);
    ASSERT_EQ(f.size(), 13u) << lines[i];
    EXPECT_EQ(f[10], dir_.File("plan.csv"));
    EXPECT_EQ(f[11].size(), 16u) << lines[i];
    EXPECT_EQ(f[12], "");  // read and report use no profile
    if (f[2] == "4") {
      ++failed;
      EXPECT_EQ(f[7] + "," + f[8], "2,строка 12: Прибор не ответил (ERR 2)");
      continue;
    }
    // Each address's own instrument answered.
    EXPECT_EQ(f[4] + "," + f[5] + "," + f[6] + "," + f[7],
              "4813,047-1234" + std::to_string(4 + std::stoi(f[2])) + ",1.1.10,0");
    EXPECT_TRUE(std::filesystem::exists(f[9])) << f[9];
    // The three lines' instruments at one address share their serial: no
    // row's file replaces another's, and a row named otherwise says so.
    EXPECT_TRUE(files.insert(f[9]).second) << f[9];
    if (f[8] != "Выполнено") {
      ++renamed;
      const std::string wanted = dir_.File("4813-047-1234" + std::to_string(4 + std::stoi(f[2])));
      EXPECT_EQ(f[8], "Выполнено; файл " + wanted +
                          ".prf уже записан в этом пакете, сохранено как " + f[9]);
      EXPECT_NE(f[9].find("-addr" + f[2] + ".prf"), std::string::npos) << f[9];
    }
  }
  EXPECT_EQ(failed, 1);
  EXPECT_EQ(renamed, 6);
  EXPECT_TRUE(std::filesystem::exists(dir_.File("certificates/ZRM4813-047-12345.pdf")));
  // Not a terminal: one plain line per row.
  EXPECT_EQ(Lines(outcome.out).size(), 11u) << outcome.out;

  const std::size_t frames_before = instruments_[0].RequestsReceived();
  const CliOutcome resumed = RunBatch(dir_, plan, {"--resume"});
  EXPECT_EQ(resumed.exit_code, 75);
  const std::vector<std::string> after = Lines(ReadBytes(dir_.File("results.csv")));
  ASSERT_EQ(after.size(), 13u);
  EXPECT_EQ(Fields(after.back())[2], "4");
  EXPECT_EQ(instruments_[0].RequestsReceived(), frames_before);

  // Another plan with the same rows, in the same results file: the
  // successes of the first plan count for nothing.
  WriteBytes(dir_.File("other.csv"), kHeader + instruments_[0].SlavePath() + ",1,read,\n");
  const CliOutcome other =
      RunCtl({"--dir", dir_.Path(), "batch", dir_.File("other.csv"), "--resume"});
  EXPECT_EQ(other.exit_code, 0) << other.err;
  EXPECT_GT(instruments_[0].RequestsReceived(), frames_before);
  EXPECT_EQ(Lines(ReadBytes(dir_.File("results.csv"))).size(), 14u);
}

TEST_F(CliBatchLines, VerifyFindsTheDifferenceChangesWriteItAndTheLineIsEqualAfter) {
  const std::string device = instruments_[0].SlavePath();
  ASSERT_EQ(RunBatch(dir_, kHeader + device + ",1,read," + dir_.File("unit.prf") + "\n").exit_code,
            0);
  ASSERT_TRUE(instruments_[0].SetFloat(29, 55.5f));  // channel 1's first set point

  const std::string profile = dir_.File("unit.prf");
  // An unfinished write into the instrument at address 1: its rows tell of
  // it on stderr until the write of changes ends it.
  DeviceSettings unit;
  ReadProfile(profile, unit);
  unit.general.serial_lo = 12345 % 256;
  unit.general.serial_hi = 12345 / 256;
  RecordingOperator quiet;
  {
    JournalLock lock;
    ASSERT_EQ(OpenJournalEntry(dir_.Path(), unit, unit, "", quiet, lock), result::kOk);
  }
  const std::string rows = device + ",1,verify," + profile + "\n" + device + ",1,changes," +
                           profile + "\n" + device + ",1,verify," + profile + "\n";
  WriteBytes(dir_.File("plan.csv"), kHeader + rows);
  // The rows read the profile (which lacks the keys a load adds) and leave it.
  const std::string before = AgedFileState(profile);
  const CliOutcome outcome = RunCtl({"--dir", dir_.Path(), "--yes", "batch", dir_.File("plan.csv"),
                                     "--results", dir_.File("r.csv")});
  EXPECT_EQ(outcome.exit_code, 75) << outcome.err;
  EXPECT_EQ(FileState(profile), before);
  const std::string told = device + ", адрес 1: Запись в прибор 047-12345, начатая ";
  std::size_t times_told = 0;
  for (const std::string& line : Lines(outcome.err)) times_told += line.rfind(told, 0) == 0;
  EXPECT_EQ(times_told, 2u) << outcome.err;  // the first verify and the changes, not the last
  const std::vector<std::string> lines = Lines(ReadBytes(dir_.File("r.csv")));
  ASSERT_EQ(lines.size(), 4u);
  const std::vector<std::string> differs = Fields(lines[1]);
  EXPECT_EQ(differs[7], "65");
  EXPECT_NE(differs[8].find("Канал 1: Величина I: 55.5000 → "), std::string::npos) << lines[1];
  const std::vector<std::string> changed = Fields(lines[2]);
  EXPECT_EQ(changed[7] + "," + changed[8], "0,Записано параметров: 1") << lines[2];
  EXPECT_NE(changed[9].find("/backup/ZRM4813-047-12345-"), std::string::npos) << lines[2];
  EXPECT_EQ(Fields(lines[3])[7], "0") << lines[3];
  EXPECT_EQ(Fields(lines[3])[12].size(), 16u) << lines[3];

  // --resume skips a row only while its profile is the one it succeeded with.
  const std::string again = kHeader + device + ",1,verify," + profile + "\n";
  const auto results_lines = [&] { return Lines(ReadBytes(dir_.File("r.csv"))).size(); };
  const std::vector<std::string> resume = {"--results", dir_.File("r.csv"), "--resume"};
  ASSERT_EQ(RunBatch(dir_, again, {"--results", dir_.File("r.csv")}).exit_code, 0);
  ASSERT_EQ(results_lines(), 5u);
  EXPECT_EQ(RunBatch(dir_, again, resume).exit_code, 0);
  EXPECT_EQ(results_lines(), 5u);
  WriteBytes(profile, ReadBytes(profile) + "\n");  // loads the same, but is another file
  EXPECT_EQ(RunBatch(dir_, again, resume).exit_code, 0);
  EXPECT_EQ(results_lines(), 6u);
  // Nor while the plan is another at the same path: the row runs again.
  EXPECT_EQ(RunBatch(dir_, again + "\n", resume).exit_code, 0);
  EXPECT_EQ(results_lines(), 7u);

  // A results file of an earlier version cannot tell plans apart: it
  // resumes nothing, and says so.
  WriteBytes(dir_.File("old.csv"),
             "time,device,address,action,type,serial,firmware,result,message,file\n"
             "2026-12-08 14:05:09," +
                 device + ",1,verify,4813,047-12345,1.1.10,0,Выполнено,");  // cut by a crash
  const CliOutcome old = RunBatch(dir_, again, {"--results", dir_.File("old.csv"), "--resume"});
  EXPECT_EQ(old.exit_code, 0) << old.err;
  EXPECT_NE(old.err.find(dir_.File("old.csv") +
                         ": в заголовке нет столбца plan: --resume не пропустит ни одной строки"),
            std::string::npos)
      << old.err;
  const std::vector<std::string> old_lines = Lines(ReadBytes(dir_.File("old.csv")));
  ASSERT_EQ(old_lines.size(), 3u);
  EXPECT_EQ(Fields(old_lines[2]).size(), 13u) << old_lines[2];
}

TEST(CliBatchTest, CtrlCStopsEveryLineAfterItsExchangeAndLeavesTheResultsWhole) {
  // Instruments at the speed of a real line: a read takes about 3 s.
  sim::SimulatorOptions options;
  options.line_timing = true;
  std::vector<std::unique_ptr<sim::Simulator>> instruments;
  std::string plan = kHeader;
  for (int i = 0; i < 3; ++i) {
    instruments.push_back(std::make_unique<sim::Simulator>(options));
    std::string error;
    ASSERT_TRUE(instruments.back()->Start(&error)) << error;
  }
  for (int round = 0; round < 3; ++round)
    for (const auto& instrument : instruments) plan += instrument->SlavePath() + ",1,read,\n";
  ScratchDir dir;
  WriteBytes(dir.File("plan.csv"), plan);
  CliRun run({"--dir", dir.Path(), "batch", dir.File("plan.csv")});
  // Ctrl-C once every line is inside its first read, however slowly the
  // program started.
  for (const auto& instrument : instruments) ASSERT_TRUE(instrument->WaitForFrames(3, 10s));
  run.Interrupt();
  const CliOutcome outcome = run.Finish();
  EXPECT_EQ(outcome.exit_code, 20) << outcome.err;
  const std::vector<std::string> lines = Lines(ReadBytes(dir.File("results.csv")));
  ASSERT_GE(lines.size(), 1u);
  EXPECT_EQ(lines.size(), 4u);  // the first row of each line ended, with 20, and no other ran
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = Fields(lines[i]);
    ASSERT_EQ(f.size(), 13u) << lines[i];
    EXPECT_EQ(f[7], "20");
  }
}

TEST(CliBatchTest, AKilledBatchLeavesTheRowsItFinishedWholeInTheResults) {
  // One line of reads that take seconds each: the batch is inside its second
  // row when the first reaches the file. A kill runs no exit code, so a row
  // still held in a buffer would be lost.
  sim::SimulatorOptions slow;
  slow.turnaround = 20ms;
  sim::Simulator instrument(slow);
  std::string error;
  ASSERT_TRUE(instrument.Start(&error)) << error;
  std::string plan = kHeader;
  for (int i = 0; i < 4; ++i) plan += instrument.SlavePath() + ",1,read,\n";
  ScratchDir dir;
  WriteBytes(dir.File("plan.csv"), plan);
  CliRun run({"--dir", dir.Path(), "batch", dir.File("plan.csv")});
  const std::size_t header = ResultsHeader().size() + 1;
  const auto until = std::chrono::steady_clock::now() + 60s;
  while (ReadBytes(dir.File("results.csv")).size() <= header &&
         std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(5ms);
  kill(run.Pid(), SIGKILL);
  EXPECT_EQ(run.Finish().exit_code, -1);  // killed, not ended

  const std::string results = ReadBytes(dir.File("results.csv"));
  ASSERT_GT(results.size(), header) << results;
  EXPECT_EQ(results.back(), '\n') << results;
  const std::vector<std::string> lines = Lines(results);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = Fields(lines[i]);
    ASSERT_EQ(f.size(), 13u) << lines[i];
    EXPECT_EQ(f[7], "0") << lines[i];
    EXPECT_EQ(f[8].rfind("Выполнено", 0), 0u) << lines[i];
  }
}

TEST(CliBatchTest, AResultsFileThatCannotTakeARowStopsTheBatchAndKeepsEveryRowWhole) {
  // A disk that fills up: the results file may not grow past 4 KiB, which
  // holds some fifteen of the forty rows (each fails at once, its profile
  // missing).
  std::string plan = kHeader;
  for (int i = 0; i < 40; ++i) plan += "/dev/null,1,write,/zrm-no-such.prf\n";
  ScratchDir dir;
  WriteBytes(dir.File("plan.csv"), plan);
  CliRunOptions full_disk;
  full_disk.limits = {{RLIMIT_FSIZE, 4096}};
  const CliOutcome outcome =
      RunCtl({"--dir", dir.Path(), "batch", dir.File("plan.csv")}, full_disk);
  EXPECT_EQ(outcome.exit_code, 14) << outcome.err;
  const std::string results = ReadBytes(dir.File("results.csv"));
  ASSERT_FALSE(results.empty());
  EXPECT_EQ(results.back(), '\n');
  const std::vector<std::string> lines = Lines(results);
  for (const std::string& line : lines) EXPECT_EQ(Fields(line).size(), 13u) << line;

  // The row the file could not take is on stderr, and no row ran after it.
  const std::vector<std::string> err = Lines(outcome.err);
  const auto lost = std::find(err.begin(), err.end(), "Строки, не записанные в файл результатов:");
  ASSERT_NE(lost, err.end()) << outcome.err;
  ASSERT_GE(err.end() - lost, 3);
  EXPECT_EQ(lost[-1].rfind("Пакет остановлен: невозможно записать строку в файл результатов " +
                               dir.File("results.csv") + ": ",
                           0),
            0u)
      << outcome.err;
  EXPECT_EQ(Fields(lost[1]).size(), 13u) << lost[1];
  EXPECT_EQ(Fields(lost[1])[7], "14") << lost[1];
  EXPECT_EQ(lost[2], "Пакет: строк 40, выполнено 0, с ошибкой " + std::to_string(lines.size()) +
                         ", не выполнено " + std::to_string(40 - lines.size()));
}

TEST(CliBatchTest, ManyLinesRunOnABoundedNumberOfWorkers) {
  // A hundred lines of instruments that never answer (a listener that takes
  // connections and says nothing), each a loopback address of its own.
  const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  socklen_t size = sizeof address;
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr*>(&address), size), 0);
  ASSERT_EQ(listen(listener, 512), 0);
  ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
  std::string plan = kHeader;
  for (int i = 1; i <= 100; ++i)
    plan += "tcp://127.0.0." + std::to_string(i) + ":" + std::to_string(ntohs(address.sin_port)) +
            ",1,read,\n";
  ScratchDir dir;
  WriteBytes(dir.File("plan.csv"), plan);
  CliRun run({"--dir", dir.Path(), "batch", dir.File("plan.csv")});

  // The program's threads while the lines wait, watched for a second once
  // the workers are all busy: the workers and the main thread, none per line.
  const std::string tasks = "/proc/" + std::to_string(run.Pid()) + "/task";
  std::size_t most = 0;
  auto until = std::chrono::steady_clock::now() + 10s;
  for (bool busy = false; std::chrono::steady_clock::now() < until;) {
    std::error_code ignored;
    most = std::max<std::size_t>(most,
                                 std::distance(std::filesystem::directory_iterator(tasks, ignored),
                                               std::filesystem::directory_iterator()));
    if (!busy && most >= 32) until = std::chrono::steady_clock::now() + 1s;
    busy = most >= 32;
    std::this_thread::sleep_for(20ms);
  }
  run.Interrupt();
  const CliOutcome outcome = run.Finish();
  close(listener);
  EXPECT_GE(most, 32u);
  EXPECT_LE(most, 40u);
  EXPECT_EQ(outcome.exit_code, 20) << outcome.err;
  EXPECT_NE(outcome.err.find("Пакет: строк 100, "), std::string::npos) << outcome.err;
}

}  // namespace
}  // namespace zrm::test
