#include <stdlib.h>
#include <unistd.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "support/fake_line.h"
#include "link/exchange_log.h"
#include "link/exchange_result.h"
#include "link/link.h"
#include "support/recording_operator.h"

namespace zrm {
namespace {

namespace fs = std::filesystem;

class TempDir {
 public:
  TempDir() {
    char pattern[] = "/tmp/zrm-link-XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~TempDir() { fs::remove_all(path_); }
  std::string File(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(ExchangeLogFile, AppendsEntriesWithExactLinesAndRawBytes) {
  TempDir dir;
  ExchangeLogFile log(dir.File("COM.txt"));
  const std::string frame = "\xFF\xFF\xFF\xFF:1;37;00E002;17248\r";
  ExchangeRecord record{frame, std::string("!1;05;\r\0tail", 12), {9, 5, 7, 120}, {9, 5, 8, 0},
                        880, {}};
  EXPECT_EQ(log.LogExchange(record), result::kOk);
  record.received.clear();
  record.discarded = {{"!2;07;55\r", DiscardReason::kOtherAddress},
                      {std::string("!1;0\0y", 6), DiscardReason::kCrossed}};
  record.wait_start = {23, 59, 59, 0};
  record.wait_end = {0, 0, 1, 1};
  record.wait_ms = 1001;
  EXPECT_EQ(log.LogExchange(record), result::kOk);

  const std::string separator(40, '_');
  EXPECT_EQ(Slurp(dir.File("COM.txt")),
            separator + "\r\n" +
            "Send cmd at 09:05:07 :" + frame + "\r\n" +
            "Answ at 09:05:08 :!1;05;\r\r\n" +
            "Wait for answ 880 ms\r\n" +
            separator + "\r\n" +
            "Send cmd at 23:59:59 :" + frame + "\r\n" +
            "Answ at 00:00:01 :\r\n" +
            "Wait for answ 1001 ms\r\n" +
            "Discarded :!2;07;55\r (ответ другого прибора)\r\n" +
            "Discarded :!1;0 (два ответа на один запрос)\r\n");
}

TEST(ExchangeLogFile, FileThatCannotBeOpenedGivesFourteenAndTheExchangeGoesOn) {
  TempDir dir;
  ExchangeLogFile log(dir.File("missing-folder/COM.txt"));
  EXPECT_EQ(log.LogExchange(ExchangeRecord{}), result::kFile);

  test::FakeLine line;
  line.respond = [](const std::string&) { return test::ReadReply("2A"); };
  Link link(line, LinkParams{}, &log);
  std::uint8_t value = 0;
  EXPECT_EQ(link.ReadByte(2, 1, value), result::kOk);
  EXPECT_EQ(value, 0x2A);
  EXPECT_EQ(line.written.size(), 1u);
}

TEST(MeasurementLog, LineHasTheFixedLayout) {
  MeasurementRecord record{{14, 5, 9, 0}, 3, 23.5f, 0, -1.25f, 12};
  EXPECT_EQ(FormatMeasurementLine(record), "14:05:09  03   23.5000  00   -1.2500  0c\r\n");
  record = {{0, 0, 0, 0}, 0xAB, -1000.0f, 0xFF, 12345.678f, 1};
  EXPECT_EQ(FormatMeasurementLine(record), "00:00:00  ab  -1000.0000  ff  12345.6777  01\r\n");

  TempDir dir;
  EXPECT_EQ(LogMeasurement(dir.File("IZM.txt"), record), result::kOk);
  EXPECT_EQ(LogMeasurement(dir.File("IZM.txt"), record), result::kOk);
  EXPECT_EQ(Slurp(dir.File("IZM.txt")), FormatMeasurementLine(record) + FormatMeasurementLine(record));
  EXPECT_EQ(LogMeasurement(dir.File("no/IZM.txt"), record), result::kFile);
}

TEST(MeasurementLog, KeepsTheDecimalPointUnderACommaLocale) {
  const std::string saved = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) GTEST_SKIP() << "ru_RU.UTF-8 locale missing";
  const std::string line = FormatMeasurementLine({{14, 5, 9, 0}, 3, 23.5f, 0, -1.25f, 12});
  std::setlocale(LC_ALL, saved.c_str());
  EXPECT_EQ(line, "14:05:09  03   23.5000  00   -1.2500  0c\r\n");
}

TEST(LocalTimeOfDay, IsAValidClockReading) {
  const TimeOfDay now = LocalTimeOfDay();
  EXPECT_LT(now.hour, 24u);
  EXPECT_LT(now.minute, 60u);
  EXPECT_LT(now.second, 61u);
  EXPECT_LT(now.millisecond, 1000u);
}

TEST(ExchangeResultMessages, EveryResultHasItsBoxAndOthersShowNothing) {
  test::RecordingOperator op;
  for (const ExchangeResult r : result::kAll) ShowExchangeError(op, r);
  const auto shown = op.Messages();
  ASSERT_EQ(shown.size(), 24u);
  EXPECT_EQ(shown[0], "message|Ошибка|Слишком много символов  (ERR 1)|error");
  EXPECT_EQ(shown[1], "message|Ошибка|Прибор не ответил (ERR 2)|error");
  EXPECT_EQ(shown[5], "message|Ошибка|Ответ поврежден- не сошлась контрольная сумма (ERR 6)|error");
  EXPECT_EQ(shown[15],
            "message|Замечание по настройкам|Прекратили запись для уточнения настроек (ERR 16)|warning");
  EXPECT_EQ(shown[16],
            "message|Замечание по настройкам|Прекратили запись чтобы поправить настройки (ERR 17)|warning");
  EXPECT_EQ(shown[19],
            "message|Информация пользователю|Ход процесса остановлен пользователем (ERR 20)|warning");
  EXPECT_EQ(shown[22], "message|Ошибка|Неправильно задано число (ERR 23)|error");
  EXPECT_EQ(shown[23], "message|Ошибка|Ответ прибора не относится к запросу (ERR 24)|error");
  for (unsigned r = 1; r <= 24; ++r) {
    EXPECT_NE(shown[r - 1].find("(ERR " + std::to_string(r) + ")|"), std::string::npos) << r;
    EXPECT_EQ(static_cast<unsigned>(result::kAll[r]), r);
  }
}

}  // namespace
}  // namespace zrm
