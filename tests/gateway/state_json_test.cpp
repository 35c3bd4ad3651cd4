// The MQTT messages' JSON: values as sent (a not-a-number as null), lamps,
// the local time with its offset, info, results, and the text escapes.

#include "gateway/state_json.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <time.h>

#include <bit>
#include <cmath>
#include <limits>

#include "gateway/fake_bus.h"
#include "gateway/json_text.h"

namespace zrm::test {
namespace {

// Sets TZ for one test and restores it.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = getenv("TZ")) old_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (old_.empty())
      unsetenv("TZ");
    else
      setenv("TZ", old_.c_str(), 1);
    tzset();
  }

 private:
  std::string old_;
};

TEST(StateJson, CarriesTheValuesAsSentAndEveryLamp) {
  const ScopedTimeZone zone("MSK-3");
  BusSnapshot s = AnsweredSnapshot(0, 1);
  // 2026-12-08 09:00:00.123 UTC
  s.last_answer_wall =
      std::chrono::system_clock::time_point(std::chrono::milliseconds(1796720400123));
  s.channel[0] = {12000.5f, 0, 0x05};  // above the window's display limit: kept
  s.channel[1].value = std::numeric_limits<float>::quiet_NaN();
  s.channel[1].status = 4;
  s.relay_byte = 0x02;
  s.input_byte = 0x61;  // key 1, encoder both
  EXPECT_EQ(
      StateJson(s),
      "{\"time\": \"2026-12-08T12:00:00.123+03:00\", "
      "\"ch1\": {\"value\": 12000.5, \"status\": 0, \"status_text\": \"Нормальное измерение\", "
      "\"sp1\": true, \"sp2\": false, \"break\": true}, "
      "\"ch2\": {\"value\": null, \"status\": 4, \"status_text\": "
      "\"Ошибка в плавающей арифметике\", \"sp1\": false, \"sp2\": false, \"break\": false}, "
      "\"relays\": [false, true], \"keys\": [true, false, false, false, false], "
      "\"encoder\": [true, true]}");
  // A failed plant write not yet put back: said, and only then.
  s.unfinished_write = true;
  EXPECT_TRUE(StateJson(s).ends_with("\"encoder\": [true, true], \"unfinished_write\": true}"));
}

TEST(StateJson, FloatsReadBackExactlyAndNonNumbersAreNull) {
  for (float v : {491.0974f, 0.7457f, -0.0f, 1e-7f, 3.4028235e38f, -1000.0f}) {
    const std::string text = JsonFloat(v);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(std::stof(text)), std::bit_cast<std::uint32_t>(v))
        << text;
  }
  EXPECT_EQ(JsonFloat(std::numeric_limits<float>::signaling_NaN()), "null");
  EXPECT_EQ(JsonFloat(std::numeric_limits<float>::infinity()), "null");
  EXPECT_EQ(JsonFloat(-std::numeric_limits<float>::infinity()), "null");
}

TEST(StateJson, LocalTimeHasMillisecondsAndTheOffsetEitherSide) {
  const auto at = std::chrono::system_clock::time_point(std::chrono::milliseconds(1796720400007));
  {
    const ScopedTimeZone zone("UTC0");
    EXPECT_EQ(LocalIsoTime(at), "2026-12-08T09:00:00.007+00:00");
  }
  {
    const ScopedTimeZone zone("NST+3:30");
    EXPECT_EQ(LocalIsoTime(at), "2026-12-08T05:30:00.007-03:30");
  }
}

TEST(StateJson, InfoResultAndEscapes) {
  BusSnapshot s = AnsweredSnapshot(0, 7);
  s.identity = {true, 1, 47, 42, 0x4A};
  EXPECT_EQ(InstrumentId(s.identity), "047-00042");
  EXPECT_EQ(InfoJson(s, "/dev/ttyUSB0"),
            "{\"type\": 4813, \"type_name\": \"4813 Н Двухканальный\", \"serial\": \"047-00042\", "
            "\"firmware\": \"1.0.10\", \"address\": 7, \"line\": \"/dev/ttyUSB0\"}");
  EXPECT_EQ(DeviceTypeNumber(0), 4810);
  EXPECT_EQ(DeviceTypeNumber(2), 4816);
  EXPECT_EQ(WriteResultJson({}), "{\"ok\": true}");
  EXPECT_EQ(WriteResultJson({result::kBadNumber, "не \"число\""}),
            "{\"ok\": false, \"error\": 23, \"message\": \"не \\\"число\\\"\"}");
  EXPECT_EQ(JsonString("a\\b\n\x01"), "\"a\\\\b\\n\\u0001\"");
}

}  // namespace
}  // namespace zrm::test
