// zrm48ctl batch: plans refused before anything runs, lines in parallel with
// one failing instrument, --resume, and Ctrl-C leaving the results whole.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "cli/cli_process.h"
#include "lib/simulator.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kHeader = "device,address,action,profile\n";

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields(1);
  for (char c : line) {
    if (c == ',') fields.emplace_back();
    else fields.back() += c;
  }
  return fields;
}

CliOutcome RunBatch(const ScratchDir& dir, const std::string& plan,
                    const std::vector<std::string>& more = {}) {
  WriteBytes(dir.File("plan.csv"), plan);
  std::vector<std::string> args = {"--dir", dir.Path(), "batch", dir.File("plan.csv")};
  args.insert(args.end(), more.begin(), more.end());
  return RunCtl(args);
}

TEST(CliBatchTest, APlanWithoutItsColumnsOrRowsIsRefusedAndABadRowFailsAlone) {
  const std::pair<std::string, std::string> refused[] = {
      {"device,address,action\n/dev/null,1,read\n", "строка 1: в заголовке нет столбца profile"},
      {kHeader, "в плане нет ни одной строки"},
  };
  for (const auto& [plan, error] : refused) {
    SCOPED_TRACE(plan);
    ScratchDir dir;
    const CliOutcome outcome = RunBatch(dir, plan);
    EXPECT_EQ(outcome.exit_code, 64);
    EXPECT_NE(outcome.err.find(error), std::string::npos) << outcome.err;
    EXPECT_FALSE(std::filesystem::exists(dir.File("results.csv")));
  }

  // Every row below is recorded as failed with its line, and the rest run.
  struct BadRow {
    const char* row;
    const char* result;
    const char* message;
  };
  const BadRow bad_rows[] = {
      {"/dev/null,0,read,", ",64,", "строка 2: адрес должен быть от 1 до 255, а не 0"},
      {"/dev/null,x1,read,", ",64,", "строка 2: адрес должен быть от 1 до 255, а не x1"},
      {"/dev/null,1,erase,", ",erase,,,,64,",
       "строка 2: действие должно быть read, write, changes, verify или report, а не erase"},
      {"/dev/null,1,write,", ",64,", "строка 2: для этого действия нужен профиль (profile)"},
      {",1,read,", ",64,", "строка 2: не указан порт (device)"},
      // The profile is looked at before the port: no port error hides it.
      {"/dev/null,1,write,/zrm-no-such.prf", ",14,",
       "строка 2: Профиль не найден: /zrm-no-such.prf: нет такого файла или устройства"},
  };
  for (const BadRow& bad : bad_rows) {
    SCOPED_TRACE(bad.row);
    ScratchDir dir;
    const CliOutcome outcome = RunBatch(dir, kHeader + std::string(bad.row) + "\n");
    EXPECT_EQ(outcome.exit_code, 75) << outcome.err;
    const std::vector<std::string> lines = Lines(ReadBytes(dir.File("results.csv")));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].find(bad.result), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find(bad.message), std::string::npos) << lines[1];
  }
  ScratchDir dir;
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
  std::string plan = "\xEF\xBB\xBF" "action,device,profile,address\n";
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
  EXPECT_EQ(lines[0], "time,device,address,action,type,serial,firmware,result,message,file");
  int failed = 0;
  for (std::size_t i = 1; i < lines.size(); ++i) {
    const std::vector<std::string> f = Fields(lines[i]);
    ASSERT_EQ(f.size(), 10u) << lines[i];
    if (f[2] == "4") {
      ++failed;
      EXPECT_EQ(f[7] + "," + f[8], "2,строка 12: Прибор не ответил (ERR 2)");
      continue;
    }
    // Each address's own instrument answered.
    EXPECT_EQ(f[4] + "," + f[5] + "," + f[6] + "," + f[7],
              "4813,047-1234" + std::to_string(4 + std::stoi(f[2])) + ",1.1.10,0");
    EXPECT_TRUE(std::filesystem::exists(f[9])) << f[9];
  }
  EXPECT_EQ(failed, 1);
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
}

TEST_F(CliBatchLines, VerifyFindsTheDifferenceChangesWriteItAndTheLineIsEqualAfter) {
  const std::string device = instruments_[0].SlavePath();
  ASSERT_EQ(RunBatch(dir_, kHeader + device + ",1,read," + dir_.File("unit.prf") + "\n").exit_code,
            0);
  ASSERT_TRUE(instruments_[0].SetFloat(29, 55.5f));  // channel 1's first set point

  const std::string profile = dir_.File("unit.prf");
  const std::string rows = device + ",1,verify," + profile + "\n" + device + ",1,changes," +
                           profile + "\n" + device + ",1,verify," + profile + "\n";
  WriteBytes(dir_.File("plan.csv"), kHeader + rows);
  // The rows read the profile (which lacks the keys a load adds) and leave it.
  const std::string before = AgedFileState(profile);
  const CliOutcome outcome = RunCtl({"--dir", dir_.Path(), "--yes", "batch", dir_.File("plan.csv"),
                                     "--results", dir_.File("r.csv")});
  EXPECT_EQ(outcome.exit_code, 75) << outcome.err;
  EXPECT_EQ(FileState(profile), before);
  const std::vector<std::string> lines = Lines(ReadBytes(dir_.File("r.csv")));
  ASSERT_EQ(lines.size(), 4u);
  const std::vector<std::string> differs = Fields(lines[1]);
  EXPECT_EQ(differs[7], "65");
  EXPECT_NE(differs[8].find("Канал 1: Величина I: 55.5000 → "), std::string::npos) << lines[1];
  const std::vector<std::string> changed = Fields(lines[2]);
  EXPECT_EQ(changed[7] + "," + changed[8], "0,Записано параметров: 1") << lines[2];
  EXPECT_NE(changed[9].find("/backup/ZRM4813-047-12345-"), std::string::npos) << lines[2];
  EXPECT_EQ(Fields(lines[3])[7], "0") << lines[3];
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
    ASSERT_EQ(f.size(), 10u) << lines[i];
    EXPECT_EQ(f[7], "20");
  }
}

}  // namespace
}  // namespace zrm::test
