#include "profiles/profile_values.h"

#include <clocale>
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "profiles/profile_file.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm {
namespace {

TEST(ProfileValues, IntegersInDecimalAndHexadecimal) {
  EXPECT_EQ(ParseProfileInt("47"), 47);
  EXPECT_EQ(ParseProfileInt("  -1"), -1);
  EXPECT_EQ(ParseProfileInt("+8"), 8);
  EXPECT_EQ(ParseProfileInt("0x1F"), 31);
  EXPECT_EQ(ParseProfileInt("0X1f"), 31);
  EXPECT_EQ(ParseProfileInt("$10"), 16);
  EXPECT_EQ(ParseProfileInt("-$10"), -16);
  EXPECT_EQ(ParseProfileInt("$FFFFFFFF"), -1);
  EXPECT_EQ(ParseProfileInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(ParseProfileInt("2147483647"), INT32_MAX);
  EXPECT_EQ(ParseProfileInt("000000000000042"), 42);
  for (const char* bad : {"", " ", "12abc", "abc", "2147483648", "-2147483649",
                          "99999999999999999999", "$", "0x", "$100000000", "0xG", "1 2", "1.5",
                          "--1", "$-1"})
    EXPECT_EQ(ParseProfileInt(bad), std::nullopt) << bad;
}

TEST(ProfileValues, FloatsReadTheFirstSixteenCharactersWithTheScanfRule) {
  float v = 7.0f;
  ParseProfileFloat("12.5abc", v);
  EXPECT_FLOAT_EQ(v, 12.5f);
  ParseProfileFloat("letters", v);
  EXPECT_FLOAT_EQ(v, 12.5f);
  ParseProfileFloat("", v);
  EXPECT_FLOAT_EQ(v, 12.5f);
  ParseProfileFloat("0000000000000001234", v);  // the 17th character on is ignored
  EXPECT_FLOAT_EQ(v, 1.0f);
  ParseProfileFloat("3.00000011e-06", v);
  EXPECT_FLOAT_EQ(v, 3e-6f);
  ParseProfileFloat("  -0.0200", v);
  EXPECT_FLOAT_EQ(v, -0.02f);
  ParseProfileFloat("1,5", v);
  EXPECT_FLOAT_EQ(v, 1.0f);
}

TEST(ProfileValues, FloatsAreWrittenFixedUnlessThatLosesTheValue) {
  EXPECT_EQ(FormatProfileFloat(100.0f), "100.0000");
  EXPECT_EQ(FormatProfileFloat(0.02f), "  0.0200");
  EXPECT_EQ(FormatProfileFloat(7491.0f), "7491.0000");
  EXPECT_EQ(FormatProfileFloat(-50.0f), "-50.0000");
  EXPECT_EQ(FormatProfileFloat(0.0f), "  0.0000");
  EXPECT_EQ(FormatProfileFloat(3e-6f), "3.00000011e-06");
  EXPECT_EQ(FormatProfileFloat(1e30f), "1.00000002e+30");
  // Values typed with at most four decimals keep the fixed form, byte for byte.
  for (int i = -200000; i <= 200000; i += 7) {
    const float typed = static_cast<float>(i) / 10000.0f;
    char fixed[64];
    std::snprintf(fixed, sizeof fixed, "%8.4f", static_cast<double>(typed));
    ASSERT_EQ(FormatProfileFloat(typed), fixed) << i;
  }
  // Whatever is written reads back as the same value and fits the reader.
  for (float x : {1e-30f, -4.5e-9f, 123456.789f, 16777217.0f, 3.4e38f, -1.17549435e-38f}) {
    const std::string text = FormatProfileFloat(x);
    EXPECT_LE(text.size(), 16u) << text;
    float back = 0;
    ParseProfileFloat(text, back);
    EXPECT_EQ(back, x) << text;
  }
}

// The window runs under the user's locale; a Russian one has a decimal comma.
TEST(ProfileValues, ACommaLocaleChangesNothingOnDisk) {
  if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) GTEST_SKIP() << "no ru_RU.UTF-8 locale";
  char probe[16];
  std::snprintf(probe, sizeof probe, "%.1f", 1.5);
  const bool comma = std::string(probe) == "1,5";

  test::ScratchDir dir;
  test::RecordingOperator op;
  const std::string path = dir.File("ru.prf");
  DeviceSettings s;
  LoadProfile(path, s, op);
  s.channel[0].his1 = 0.25f;
  s.channel[1].koef1 = 3e-6f;
  SaveProfile(path, s, s.description.txt, op);
  DeviceSettings back;
  LoadProfile(path, back, op);
  std::setlocale(LC_ALL, "C");

  ASSERT_TRUE(comma);
  const std::string bytes = test::ReadBytes(path);
  EXPECT_EQ(bytes.find(','), std::string::npos);
  EXPECT_NE(bytes.find("his1=  0.2500\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("koef1=3.00000011e-06\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("lin=  0.2000\r\n"), std::string::npos);
  EXPECT_EQ(back.channel[0].his1, 0.25f);
  EXPECT_EQ(back.channel[1].koef1, 3e-6f);
  EXPECT_EQ(back.channel[0].uref, 26.32f);
}

}  // namespace
}  // namespace zrm
