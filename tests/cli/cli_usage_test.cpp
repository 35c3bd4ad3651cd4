// The command line's own contract: --help, --version, and usage errors that
// exit 64 with the usage text before anything is created or sent.

#include <gtest/gtest.h>

#include <fstream>

#include "cli/cli_process.h"
#include "lib/simulator.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

TEST(CliUsageTest, HelpAndVersionAnswerOnStdout) {
  const CliOutcome help = RunCtl({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_EQ(help.out.rfind("usage: zrm48ctl", 0), 0u) << help.out;
  EXPECT_NE(help.out.find("set SPACE ADDR byte|dword VALUE [--checked]"), std::string::npos);
  EXPECT_NE(help.out.find("watch [--addresses LIST] [--interval MS] [--count N]"),
            std::string::npos);
  EXPECT_NE(help.out.find("scan [--speeds LIST] [--addresses A-B]"), std::string::npos);
  EXPECT_EQ(help.err, "");

  // Asked for anywhere, even beside a mistake.
  EXPECT_EQ(RunCtl({"get", "x", "--help"}).exit_code, 0);

  const CliOutcome version = RunCtl({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "zrm48ctl 1.0.19.1\n");
}

TEST(CliUsageTest, UsageErrorsExit64WithUsageAndTouchNothing) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  const std::vector<std::string> common = {"--dir", dir.Path(), "--device",
                                           simulator.SlavePath()};
  const std::vector<std::vector<std::string>> mistakes = {
      {},                                  // no command
      {"frobnicate"},                      // unknown command
      {"--frobnicate", "status"},          // unknown option
      {"read"},                            // missing FILE
      {"read", "a.prf", "b.prf"},          // surplus argument
      {"get", "1", "6"},                   // missing kind
      {"get", "one", "6", "byte"},         // SPACE not a number
      {"get", "-1", "6", "byte"},          // SPACE negative
      {"get", "2", "6x", "byte"},          // ADDR not a number
      {"get", "2", "8192", "byte"},        // ADDR beyond the 13 bits carried
      {"get", "2", "6", "word"},           // unknown kind
      {"get", "1", "5", "status"},         // the block lies at 1 2 only
      {"set", "2", "6", "status", "1"},    // status cannot be written
      {"set", "2", "6", "byte", "256"},    // byte out of range
      {"set", "2", "6", "byte", "1.5"},    // byte not whole
      {"set", "2", "15", "dword", "abc"},  // not a number
      {"set", "2", "15", "dword", "nan"},  // not a number either
      {"set", "2", "15", "dword", "1,5"},  // comma is no decimal point
      {"status", "--count", "0"},
      {"status", "--count", "many"},
      {"status", "--interval"},            // option without its value
      {"get", "2", "6", "byte", "--checked"},  // option of another command
      {"read", "a.prf", "--pdf", "a.pdf"},
      {"--yes=1", "status"},
      {"scan", "--addresses", "0-300"},     // beyond 1-255
      {"scan", "--addresses", "abc"},
      {"scan", "--addresses", "9-3"},
      {"scan", "--speeds", ""},             // an empty speed list
      {"scan", "--speeds", "9600,1200"},    // a speed the instruments do not have
      {"scan", "--speeds", "9600,9600"},
      {"scan", "--probe-ms", "0"},
      {"scan", "extra"},
      {"status", "--speeds", "9600"},       // option of another command
      {"watch", "--addresses", "0"},        // no instrument has address 0
      {"watch", "--addresses", "300"},
      {"watch", "--addresses", "a-b"},
      {"watch", "--addresses", "3-1"},
      {"watch", "--addresses", "1-3,2"},    // a repeat
      {"watch", "--addresses", " "},        // nothing in it
      {"watch", "--addresses", ""},
      {"watch", "--count", "0"},            // at least one sweep
      {"watch", "--interval", "-5"},
      {"watch", "--interval", "soon"},
      {"watch", "--probe-ms", "5"},         // option of another command
      {"status", "--addresses", "1"},
      {"--history", "mysql://db/plant", "status"},  // not PostgreSQL's
      {"--history", "postgresql://db:99999/plant", "status"},
      {"--history", "postgresql://db/plant?colour=red", "status"},
  };
  for (const std::vector<std::string>& mistake : mistakes) {
    std::vector<std::string> args = common;
    args.insert(args.end(), mistake.begin(), mistake.end());
    const CliOutcome outcome = RunCtl(args);
    std::string line;
    for (const std::string& a : mistake) line += a + " ";
    EXPECT_EQ(outcome.exit_code, 64) << line;
    EXPECT_EQ(outcome.err.rfind("zrm48ctl: ", 0), 0u) << line << outcome.err;
    EXPECT_NE(outcome.err.find("usage: zrm48ctl"), std::string::npos) << line;
    EXPECT_EQ(outcome.out, "") << line;
  }
  EXPECT_EQ(simulator.RequestsReceived(), 0u);
  EXPECT_TRUE(dir.Entries().empty());  // not even dev.dat
}

TEST(CliUsageTest, MissingWorkingFolderIsAUsageError) {
  ScratchDir dir;
  const CliOutcome outcome = RunCtl({"--dir", dir.File("absent"), "status"});
  EXPECT_EQ(outcome.exit_code, 64);
  EXPECT_NE(outcome.err.find("absent: not a folder"), std::string::npos) << outcome.err;
}

}  // namespace
}  // namespace zrm::test
