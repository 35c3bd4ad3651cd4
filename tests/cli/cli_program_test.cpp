// zrm48ctl against the zrm48sim program, as a test jig uses the two.

#include <gtest/gtest.h>

#include <algorithm>

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
}

}  // namespace
}  // namespace zrm::test
