// The options of zrm48sim.

#include <gtest/gtest.h>

#include <map>

#include "lib/command_line.h"

namespace zrm::sim {
namespace {

TEST(SimCommandLine, ReadsEveryOption) {
  ProgramOptions options;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({"--link", "/tmp/zrm", "--address", "7", "--baud", "19200",
                                "--line-timing", "--turnaround", "12", "--memory", "m.txt",
                                "--memory", "7:seven.txt", "--memory", "./7:x",
                                "--fault", "noreply@3", "--fault", "code=000B@2:15",
                                "--seed", "99", "--restart-ms", "50", "--round-floats", "2"},
                               options, error))
      << error;
  const SimulatorOptions& sim = options.simulator;
  EXPECT_EQ(options.link_path, "/tmp/zrm");
  EXPECT_EQ(options.memory_path, "./7:x");  // the last plain file
  EXPECT_EQ(options.memory_paths_at, (std::map<unsigned, std::string>{{7, "seven.txt"}}));
  EXPECT_EQ(sim.address, 7u);
  EXPECT_EQ(sim.baud, 19200u);
  EXPECT_TRUE(sim.line_timing);
  EXPECT_EQ(sim.turnaround, std::chrono::milliseconds(12));
  EXPECT_EQ(sim.restart_time, std::chrono::milliseconds(50));
  EXPECT_EQ(sim.float_decimals, 2);
  EXPECT_EQ(sim.seed, 99u);
  ASSERT_EQ(sim.faults.size(), 2u);
  EXPECT_EQ(sim.faults[1].kind, FaultKind::kErrorCode);
}

TEST(SimCommandLine, DefaultsMatchTheContract) {
  ProgramOptions options;
  std::string error;
  ASSERT_TRUE(ParseCommandLine({}, options, error));
  EXPECT_EQ(options.simulator.address, 1u);
  EXPECT_FALSE(options.simulator.line_timing);
  EXPECT_EQ(options.simulator.turnaround, std::chrono::milliseconds(5));
  EXPECT_EQ(options.simulator.restart_time, std::chrono::milliseconds(300));
  EXPECT_TRUE(options.simulator.more_addresses.empty());
  EXPECT_FALSE(options.simulator.check_speed);
}

TEST(SimCommandLine, AddressListsAndRangesMakeABus) {
  const std::vector<std::pair<std::string, std::vector<unsigned>>> cases = {
      {"7", {7}}, {"1,3,7", {1, 3, 7}}, {"1-4", {1, 2, 3, 4}}, {"9,1-2", {9, 1, 2}},
      {"0-255", {}}};
  for (const auto& [text, expected] : cases) {
    ProgramOptions options;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--address", text, "--baud", "19200", "--wrong-speed", "silent"},
                                 options, error))
        << text << ": " << error;
    std::vector<unsigned> all{options.simulator.address};
    all.insert(all.end(), options.simulator.more_addresses.begin(),
               options.simulator.more_addresses.end());
    if (expected.empty()) {
      EXPECT_EQ(all.size(), 256u) << text;
    } else {
      EXPECT_EQ(all, expected) << text;
    }
    EXPECT_TRUE(options.simulator.check_speed);
    EXPECT_EQ(options.simulator.wrong_speed, WrongSpeedAnswer::kSilent);
  }
}

TEST(SimCommandLine, RejectsBadArguments) {
  const std::vector<std::vector<std::string>> bad = {
      {"--bogus"},          {"--address"},         {"--address", "x"},
      {"--baud", "0"},      {"--turnaround", "-1"}, {"--fault", "noreply"},
      {"--link"},           {"--round-floats", "9"}, {"--address", "1x"},
      {"--address", "3-1"}, {"--address", "1,2,1"}, {"--address", "0-300"},
      {"--address", "1,"},  {"--address", "-4"},    {"--wrong-speed", "loud"},
      {"--serial", "65536"}, {"--fault", "wrong@2:337/0"}, {"--fault", "wrong@2:337/256"},
      // A memory for an address no instrument has, none, or two for one.
      {"--memory", "4:m.txt"}, {"--memory", "1:"}, {"--memory", "1:a", "--memory", "1:b"},
  };
  // The last instrument's number would pass 65535.
  ProgramOptions options;
  std::string error;
  EXPECT_FALSE(ParseCommandLine({"--address", "1-3", "--serial", "65534"}, options, error));
  for (const auto& args : bad) {
    ProgramOptions options;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(args, options, error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
  }
}

}  // namespace
}  // namespace zrm::sim
