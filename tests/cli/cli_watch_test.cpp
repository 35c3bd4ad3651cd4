// zrm48ctl watch: every instrument of a line polled in turn, as CSV lines
// for a script and as a table redrawn in place on a terminal; its addresses
// from --addresses, the last search of the device or dev.dat.

#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>

#include "cli/cli_process.h"
#include "cli/watch_lines.h"
#include "lib/simulator.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

sim::SimulatorOptions FourInstruments() {
  sim::SimulatorOptions options;
  options.more_addresses = {2, 3, 4};
  return options;
}

// The addresses of the CSV lines after the header.
std::vector<std::string> AddressesOf(const std::string& out) {
  std::vector<std::string> addresses;
  const std::vector<std::string> lines = Lines(out);
  for (std::size_t i = 0; i < lines.size(); ++i)
    addresses.push_back(lines[i].substr(24, lines[i].find(',', 24) - 24));
  return addresses;
}

TEST(CliWatchTest, PipedEveryAnsweredPollIsOneCsvLineWithValuesAsSent) {
  sim::Simulator simulator(FourInstruments());
  ASSERT_TRUE(simulator.Start());
  simulator.PinChannelValue(1, 23.5f);
  simulator.PinStatusCode(1, 0);
  simulator.PinChannelBits(2, 0x7F800001u);  // a signalling not-a-number
  ScratchDir dir;
  const CliOutcome outcome =
      RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "watch", "--addresses",
              "1-4,9", "--count", "2", "--interval", "0"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");
  const std::vector<std::string> lines = Lines(outcome.out);
  ASSERT_EQ(lines.size(), 8u) << "one line per answered poll, none for address 9: " << outcome.out;
  EXPECT_EQ(AddressesOf(outcome.out),
            (std::vector<std::string>{"1", "2", "3", "4", "1", "2", "3", "4"}));
  EXPECT_TRUE(std::regex_match(
      lines[0],
      std::regex("20[0-9]{2}-[01][0-9]-[0-3][0-9]T[0-2][0-9]:[0-5][0-9]:[0-5][0-9]\\.[0-9]{3}"
                 ",1,047-12345,23\\.5,0,nan,4,[0-3]")))
      << lines[0];
  EXPECT_TRUE(
      std::regex_match(lines[3], std::regex(".*,4,047-12348,[-0-9.e]+,0,[-0-9.e]+,0,[0-3]")))
      << lines[3];
}

TEST(CliWatchTest, AddressesComeFromTheLastSearchOfThisDeviceElseFromDevDat) {
  sim::Simulator simulator(FourInstruments());
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  const std::vector<std::string> common = {"--dir", dir.Path(), "--device", simulator.SlavePath()};
  const auto watch = [&] {
    std::vector<std::string> args = common;
    for (const char* a : {"watch", "--count", "1", "--interval", "0"}) args.push_back(a);
    return RunCtl(args);
  };
  const CliOutcome alone = watch();
  ASSERT_EQ(alone.exit_code, 0) << alone.err;
  EXPECT_EQ(AddressesOf(alone.out), std::vector<std::string>{"1"}) << "dev.dat's address";

  std::vector<std::string> scan = common;
  for (const char* a : {"scan", "--speeds", "9600", "--addresses", "2-4"}) scan.push_back(a);
  ASSERT_EQ(RunCtl(scan).exit_code, 0);
  const CliOutcome found = watch();
  ASSERT_EQ(found.exit_code, 0) << found.err;
  EXPECT_EQ(AddressesOf(found.out), (std::vector<std::string>{"2", "3", "4"}));

  WriteBytes(dir.File("zrm48setup.ini"), "[SEARCH]\r\nDevice=/dev/ttyUSB7\r\nAddresses=3\r\n");
  EXPECT_EQ(AddressesOf(watch().out), std::vector<std::string>{"1"}) << "another device's search";
}

TEST(CliWatchTest, OnATerminalATableIsRedrawnInPlaceWithSilentRowsMarked) {
  sim::Simulator simulator(FourInstruments());
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  CliRunOptions on_terminal;
  on_terminal.stdout_on_terminal = true;
  const CliOutcome outcome =
      RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "watch", "--addresses", "2,9",
              "--count", "2", "--interval", "0"},
             on_terminal);
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  // Four polls, each drawing the head and two rows; every one after the
  // first begins three lines up.
  std::size_t ups = 0;
  for (std::size_t at = 0; (at = outcome.out.find("\x1b[3A\r", at)) != std::string::npos; ++at)
    ++ups;
  EXPECT_EQ(ups, 3u) << outcome.out;
  const std::string last = outcome.out.substr(outcome.out.rfind("\x1b[3A\r"));
  const std::vector<std::string> rows = Lines(last);
  ASSERT_EQ(rows.size(), 3u) << last;
  EXPECT_NE(rows[0].find("Канал 1"), std::string::npos) << rows[0];
  EXPECT_TRUE(std::regex_search(rows[1], std::regex("^   2 4813  047-12346  1\\.1\\.10 ")))
      << rows[1];
  EXPECT_NE(rows[1].find("на связи"), std::string::npos) << rows[1];
  EXPECT_EQ(rows[2].rfind("*  9 -", 0), 0u) << rows[2];
  EXPECT_NE(rows[2].find("опрос…"), std::string::npos) << "never answered: " << rows[2];
}

TEST(CliWatchTest, CtrlCEndsAWatchWithoutCountWithSuccess) {
  sim::Simulator simulator(FourInstruments());
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  CliRun run({"--dir", dir.Path(), "--device", simulator.SlavePath(), "watch", "--addresses", "1,2",
              "--interval", "10"});
  // Both identities (18 reads each), then a few polls.
  ASSERT_TRUE(simulator.WaitForFrames(52, std::chrono::seconds(20)));
  run.Interrupt();
  const CliOutcome outcome = run.Finish();
  EXPECT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_GE(Lines(outcome.out).size(), 3u);
}

TEST(WatchLines, RowsAreCutToTheTerminalByCharactersNotBytes) {
  EXPECT_EQ(CutToColumns("Канал 1", 5), "Канал");
  EXPECT_EQ(CutToColumns("Канал 1", 7), "Канал 1");
  EXPECT_EQ(CutToColumns("Канал 1", 8), "Канал 1");
  EXPECT_EQ(CutToColumns("Канал 1", 0), "Канал 1") << "a width the terminal does not say";
}

}  // namespace
}  // namespace zrm::test
