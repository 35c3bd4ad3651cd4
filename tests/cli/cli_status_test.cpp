// zrm48ctl status: one measurement log line per good poll on stdout, every
// second poll into the measurement log, the link state of a failed poll on
// stderr.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "cli/cli_process.h"
#include "lib/simulator.h"
#include "lib/pseudo_terminal.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

TEST(CliStatusTest, ThreePollsGiveThreeMeasurementLines) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  simulator.PinChannelValue(1, 23.5f);
  simulator.PinStatusCode(1, 0);
  simulator.PinChannelValue(2, -1.25f);
  simulator.PinStatusCode(2, 12);
  ScratchDir dir;
  const CliOutcome outcome = RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(),
                                     "status", "--count", "3", "--interval", "50"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  const std::vector<std::string> lines = Lines(outcome.out);
  ASSERT_EQ(lines.size(), 3u) << outcome.out;
  for (const std::string& line : lines)
    EXPECT_TRUE(std::regex_match(
        line, std::regex("[0-2][0-9]:[0-5][0-9]:[0-5][0-9]  [0-9a-f]{2}   23\\.5000  00   "
                         "-1\\.2500  0c")))
        << line;
  // The second poll wrote the measurement log, CR LF ended.
  EXPECT_EQ(ReadBytes(dir.File("IZM.txt")), lines[1] + "\r\n");
}

TEST(CliStatusTest, ValuesBeyondTheDisplayAreClampedAsOnThePage) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  simulator.PinChannelValue(1, 12345.0f);
  simulator.PinChannelBits(2, 0xFFFFFFFFu);  // a quiet not-a-number
  ScratchDir dir;
  const CliOutcome outcome =
      RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "status"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_NE(outcome.out.find(" 10000.0000  "), std::string::npos) << outcome.out;
  EXPECT_NE(outcome.out.find(" -1000.0000  "), std::string::npos) << outcome.out;
}

TEST(CliStatusTest, MeasurementLogSwitchedOffWritesNoFile) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  WriteBytes(dir.File("dev.dat"), "[IZM]\r\nUseIzmFile=0\r\n");
  const CliOutcome outcome = RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(),
                                     "status", "--count", "2", "--interval", "0"});
  EXPECT_EQ(outcome.exit_code, 0);
  EXPECT_EQ(Lines(outcome.out).size(), 2u);
  EXPECT_FALSE(std::ifstream(dir.File("IZM.txt")).good());
}

TEST(CliStatusTest, FailedPollPrintsTheLinkStateAndExitsWithItsResult) {
  sim::PseudoTerminal silent_line;
  std::string pty_error;
  ASSERT_TRUE(silent_line.Open(pty_error)) << pty_error;
  ScratchDir dir;
  const CliOutcome outcome = RunCtl({"--dir", dir.Path(), "--device", silent_line.SlavePath(),
                                     "status", "--count", "2", "--interval", "0"});
  EXPECT_EQ(outcome.exit_code, 2);
  EXPECT_EQ(outcome.out, "");
  EXPECT_EQ(outcome.err,
            "Не дождались ответа\nНе дождались ответа\nОшибка: Прибор не ответил (ERR 2)\n");
  // Nothing was measured, so the measurement log got no line.
  EXPECT_FALSE(std::ifstream(dir.File("IZM.txt")).good());
}

}  // namespace
}  // namespace zrm::test
