// The plant's write commands: which topics are commands, which payloads
// numbers.

#include "gateway/mqtt_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zrm::test {
namespace {

TEST(MqttCommand, TopicsUnderThePrefixOnly) {
  const auto set = ParseSetTopic("plant/zrm", "plant/zrm/047-12345/set/ch1_th1");
  ASSERT_TRUE(set);
  EXPECT_EQ(set->id, "047-12345");
  EXPECT_EQ(set->parameter, "ch1_th1");
  EXPECT_FALSE(set->malformed);
  for (const char* other :
       {"plant/zrm/047-12345/set/ch1_th1/result", "plant/zrm/047-12345/set/x/y/result",
        "plant/zrm/047-12345/state", "plant/zrmx/047-12345/set/ch1_th1", "plant/zrm",
        "zrm/047-12345/set/ch1_th1", "plant/zrm/047-12345/sets/ch1_th1"})
    EXPECT_FALSE(ParseSetTopic("plant/zrm", other)) << other;
  // Commands with a level empty or too many are answered with a refusal.
  for (const char* malformed : {"plant/zrm/047-12345/set/", "plant/zrm//set/x",
                                "plant/zrm/047-12345/set/ch1_th1/x", "plant/zrm/047-12345/set//"}) {
    const auto refused = ParseSetTopic("plant/zrm", malformed);
    ASSERT_TRUE(refused) << malformed;
    EXPECT_TRUE(refused->malformed) << malformed;
  }
}

TEST(MqttCommand, PayloadIsOneFiniteNumberWithAPoint) {
  float value = 0;
  ASSERT_TRUE(ParseSetPayload(" 250.5 ", value));
  EXPECT_EQ(value, 250.5f);
  ASSERT_TRUE(ParseSetPayload("-3", value));
  EXPECT_EQ(value, -3.0f);
  value = 7;
  for (const std::string& bad :
       std::vector<std::string>{"", " ", "250,5", "1e3", "nan", "inf", "abc", "1 2", "0x10", "+1",
                                "1e39", "99999999999999999999999999999999999999999", "250.5\n",
                                "\t250.5", std::string("250.5\0", 6), "1" + std::string(64, ' ')})
    EXPECT_FALSE(ParseSetPayload(bad, value)) << bad;
  EXPECT_EQ(value, 7.0f) << "a refused payload leaves the value";
}

}  // namespace
}  // namespace zrm::test
