// zrm48ctl report: the configuration page of what the instrument holds now,
// as text lines on stdout.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <regex>
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
  // The history knows no write of it yet: the page ends with its body.
  EXPECT_EQ(outcome.out.find("Последняя запись"), std::string::npos) << outcome.out;

  // After a write the page names it under everything else, and every line
  // before stays as it was.
  const std::string profile = dir.File("read.prf");
  ASSERT_EQ(
      RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "read", profile}).exit_code,
      0);
  ASSERT_EQ(
      RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "--yes", "write", profile})
          .exit_code,
      0);
  const CliOutcome after =
      RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "report"});
  ASSERT_EQ(after.exit_code, 0) << after.err;
  const std::string head = outcome.out.substr(outcome.out.find('\n'));  // the date may turn
  ASSERT_EQ(after.out.find(head), after.out.find('\n')) << after.out;
  const std::string last = after.out.substr(after.out.find('\n') + head.size());
  EXPECT_TRUE(std::regex_match(last, std::regex("\nПоследняя запись в прибор: "
                                                "\\d\\d\\.\\d\\d\\.20\\d\\d "
                                                "\\d\\d:\\d\\d:\\d\\d, \\S+ \\(\\S+\\)\n")))
      << last;

  // A history that cannot be read is told; the page is made without it.
  WriteBytes(dir.File("history.sqlite"), std::string(4096, 'x'));
  const CliOutcome unread =
      RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "report"});
  EXPECT_EQ(unread.exit_code, 0) << unread.err;
  EXPECT_EQ(unread.out.find("Последняя запись"), std::string::npos) << unread.out;
  EXPECT_NE(unread.err.find("История изменений не открыта: " + dir.File("history.sqlite") +
                            ": файл не является базой истории"),
            std::string::npos)
      << unread.err;
}

// The text pdftotext finds in a PDF file.
std::string PdfText(const std::string& path) {
  std::string text;
  if (std::FILE* pipe = ::popen(("pdftotext -layout '" + path + "' - 2>/dev/null").c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    ::pclose(pipe);
  }
  return text;
}

bool PdfUnavailable(const CliOutcome& outcome) {
  return outcome.err.find("not available in this build") != std::string::npos;
}

TEST(CliReportTest, PdfHoldsThePageTwice) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  // To a file, through a dangling link (whose target the PDF becomes), and
  // with "-" to stdout alone, in place of the text lines.
  ASSERT_EQ(symlink("linked.pdf", dir.File("link.pdf").c_str()), 0);
  for (const std::string& target :
       {dir.File("report.pdf"), dir.File("link.pdf"), std::string("-")}) {
    SCOPED_TRACE(target);
    const CliOutcome outcome =
        RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "report", "--pdf", target});
    if (PdfUnavailable(outcome)) GTEST_SKIP() << "built without Qt";
    ASSERT_EQ(outcome.exit_code, 0) << outcome.err;
    std::string pdf = target;
    if (target == "-") {
      EXPECT_EQ(outcome.out.rfind("%PDF-", 0), 0u);
      pdf = dir.File("stdout.pdf");
      WriteBytes(pdf, outcome.out);
    }
    const std::string text = PdfText(pdf);
    const std::string device_line = "Прибор ЗРМ4813Н номер 047-12345";
    const std::size_t first = text.find(device_line);
    ASSERT_NE(first, std::string::npos) << text;
    EXPECT_NE(text.find(device_line, first + device_line.size()), std::string::npos) << text;
  }
  EXPECT_EQ(std::filesystem::read_symlink(dir.File("link.pdf")), "linked.pdf");
  EXPECT_EQ(ReadBytes(dir.File("linked.pdf")).rfind("%PDF-", 0), 0u);
}

// A device, a pipe or a folder named for the PDF is refused before the
// instrument is asked anything, and stays what it was.
TEST(CliReportTest, PdfIntoSomethingOtherThanAFileIsRefused) {
  sim::Simulator simulator;
  ASSERT_TRUE(simulator.Start());
  ScratchDir dir;
  ASSERT_EQ(mkfifo(dir.File("pipe.pdf").c_str(), 0644), 0);
  ASSERT_EQ(mkdir(dir.File("folder.pdf").c_str(), 0755), 0);
  ASSERT_EQ(symlink("/dev/null", dir.File("null.pdf").c_str()), 0);
  const std::pair<std::string, std::string> refused[] = {
      {"/dev/null", "это устройство, а не файл"},
      {dir.File("null.pdf"), "это устройство, а не файл"},
      {dir.File("pipe.pdf"), "это канал (FIFO), а не файл"},
      {dir.File("folder.pdf"), "это папка, а не файл"},
  };
  for (const auto& [target, reason] : refused) {
    SCOPED_TRACE(target);
    struct stat before {};
    ASSERT_EQ(lstat(target.c_str(), &before), 0);
    const CliOutcome outcome =
        RunCtl({"--dir", dir.Path(), "--device", simulator.SlavePath(), "report", "--pdf", target});
    EXPECT_EQ(outcome.exit_code, 14);
    EXPECT_EQ(outcome.err, "Невозможно записать файл PDF " + target + ": " + reason + "\n");
    EXPECT_EQ(outcome.out, "");
    struct stat after {};
    ASSERT_EQ(lstat(target.c_str(), &after), 0);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_ino, before.st_ino);
  }
  EXPECT_EQ(simulator.RequestsReceived(), 0u);
}

TEST(CliReportTest, ReadFailureMakesNoPdf) {
  ScratchDir dir;
  const std::string pdf = dir.File("report.pdf");
  const std::string dead_line = dir.File("no-such-device");
  const CliOutcome outcome =
      RunCtl({"--dir", dir.Path(), "--device", dead_line, "report", "--pdf", pdf});
  EXPECT_EQ(outcome.exit_code, 2) << outcome.err;
  EXPECT_EQ(outcome.out, "");
  EXPECT_FALSE(std::ifstream(pdf).good());
}

}  // namespace
}  // namespace zrm::test
