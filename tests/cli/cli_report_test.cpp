// zrm48ctl report: the configuration page of what the instrument holds now,
// as text lines on stdout.

#include <gtest/gtest.h>

#include <ctime>
#include <sstream>

#include "cli/cli_process.h"
#include "lib/simulator.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

TEST(CliReportTest, PrintsDateDeviceAndBodyLines) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  const CliOutcome outcome =
      RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "report"});
  ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
  EXPECT_EQ(outcome.err, "");

  std::istringstream lines(outcome.out);
  std::string date_line, device_line, first_body_line;
  std::getline(lines, date_line);
  std::getline(lines, device_line);
  std::getline(lines, first_body_line);
  const std::time_t now = std::time(nullptr);
  std::tm today{};
  localtime_r(&now, &today);
  EXPECT_EQ(date_line, "Дата печати " + std::to_string(today.tm_mday) + "." +
                           std::to_string(today.tm_mon + 1) + "." +
                           std::to_string(today.tm_year + 1900));
  EXPECT_EQ(device_line, "Прибор ЗРМ4813Н номер 047-12345");
  EXPECT_EQ(first_body_line, "Конфигурация прибора:");
  EXPECT_NE(outcome.out.find("Диапазон измерений : -50.0000...600.0000\n"), std::string::npos);
}

}  // namespace
}  // namespace zrm::test
