// The bounded trend history and its spreadsheet text.

#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "monitor/trend_csv.h"
#include "monitor/trend_history.h"

namespace zrm {
namespace {

TrendSample SampleAt(std::int64_t ms) {
  TrendSample s;
  s.elapsed_ms = ms;
  s.value = {static_cast<float>(ms), -static_cast<float>(ms)};
  return s;
}

TEST(TrendHistory, KeepsTheNewestSamplesWithinItsCapacity) {
  TrendHistory history(4);
  for (int i = 0; i < 3; ++i) history.Add(SampleAt(i));
  EXPECT_EQ(history.Size(), 3u);
  EXPECT_EQ(history.At(0).elapsed_ms, 0);

  for (int i = 3; i < 11; ++i) history.Add(SampleAt(i));
  EXPECT_EQ(history.Size(), 4u);
  EXPECT_EQ(history.Capacity(), 4u);
  std::vector<TrendSample> kept = history.Samples();
  ASSERT_EQ(kept.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(kept[i].elapsed_ms, 7 + i);

  history.Clear();
  EXPECT_EQ(history.Size(), 0u);
  history.Add(SampleAt(42));
  EXPECT_EQ(history.At(0).elapsed_ms, 42);
}

TEST(TrendHistory, ADayOfPollingStaysWithinTheDefaultCapacity) {
  TrendHistory history;
  for (std::int64_t ms = 0; ms < 24LL * 3600 * 1000; ms += 500) history.Add(SampleAt(ms));
  EXPECT_EQ(history.Size(), kDefaultTrendCapacity);
  EXPECT_EQ(history.At(history.Size() - 1).elapsed_ms, 24LL * 3600 * 1000 - 500);
}

TEST(TrendHistory, ZeroCapacityStillKeepsTheLatestSample) {
  TrendHistory history(0);
  history.Add(SampleAt(1));
  history.Add(SampleAt(2));
  ASSERT_EQ(history.Size(), 1u);
  EXPECT_EQ(history.At(0).elapsed_ms, 2);
}

// Sets a decimal-comma locale for the scope when the system has one.
class CommaLocale {
 public:
  CommaLocale() : saved_(std::setlocale(LC_ALL, nullptr)) {
    std::setlocale(LC_ALL, "ru_RU.UTF-8");
  }
  ~CommaLocale() { std::setlocale(LC_ALL, saved_.c_str()); }

 private:
  std::string saved_;
};

TEST(TrendCsv, HeaderNamesTheChannelsAndRowsUseADecimalPoint) {
  CommaLocale comma;
  TrendSample s;
  s.time = TimeOfDay{14, 5, 9, 250};
  s.value = {23.5f, -1.25f};
  s.status = {0, 12};
  s.relay_byte = 0x02;
  s.setpoint1 = {50.0f, 0.5f};
  s.setpoint2 = {60.0f, 0.75f};
  const std::string csv = TrendCsv({s}, {"°C", ""});
  EXPECT_EQ(csv,
            "Время;Канал 1, °C;Состояние канала 1;Канал 2;Состояние канала 2;"
            "Реле 1;Реле 2;Уставка 1 канала 1, °C;Уставка 2 канала 1, °C;"
            "Уставка 1 канала 2;Уставка 2 канала 2\r\n"
            "14:05:09.250;23.5000;0;-1.2500;12;0;1;50.0000;60.0000;0.5000;0.7500\r\n");
}

TEST(TrendCsv, UnitsWithSeparatorsAreQuoted) {
  const std::string csv = TrendCsv({}, {"Ом", "a;b"});
  EXPECT_EQ(csv.substr(0, csv.find("\r\n")),
            "Время;Канал 1, Ом;Состояние канала 1;\"Канал 2, a;b\";"
            "Состояние канала 2;Реле 1;Реле 2;Уставка 1 канала 1, Ом;Уставка 2 канала 1, Ом;"
            "\"Уставка 1 канала 2, a;b\";\"Уставка 2 канала 2, a;b\"");
}

}  // namespace
}  // namespace zrm
