#include "platform/number_text.h"

#include <clocale>
#include <cstdio>

#include <gtest/gtest.h>

namespace zrm {
namespace {

TEST(NumberText, FixedFormatMatchesPrintf) {
  EXPECT_EQ(Format84(0.02f), "  0.0200");
  EXPECT_EQ(Format84(100.0f), "100.0000");
  EXPECT_EQ(Format84(50.0f), " 50.0000");
  EXPECT_EQ(Format84(7491.0f), "7491.0000");
  EXPECT_EQ(Format84(-1.25f), " -1.2500");
  EXPECT_EQ(Format84(0.123456f), "  0.1235");
  EXPECT_EQ(Format84(-1000.0f), "-1000.0000");
  // Every float of a sweep formats as glibc printf does.
  for (float v : {0.00005f, 0.00015f, 1.00005f, 9999.999f, -0.00004f, 26.32f, 3e-6f, 123456.78f}) {
    char expected[64];
    std::snprintf(expected, sizeof expected, "%8.4f", static_cast<double>(v));
    EXPECT_EQ(Format84(v), expected) << v;
  }
}

TEST(NumberText, ScanFloatFollowsTheScanfRule) {
  float v = -7;
  std::size_t used = 0;
  EXPECT_TRUE(ScanFloat("  12.5abc", v, &used));
  EXPECT_FLOAT_EQ(v, 12.5f);
  EXPECT_EQ(used, 6u);
  EXPECT_TRUE(ScanFloat("-0.5", v));
  EXPECT_FLOAT_EQ(v, -0.5f);
  EXPECT_TRUE(ScanFloat("+.5", v));
  EXPECT_FLOAT_EQ(v, 0.5f);
  EXPECT_TRUE(ScanFloat("1e3x", v, &used));
  EXPECT_FLOAT_EQ(v, 1000.0f);
  EXPECT_TRUE(ScanFloat("2e", v, &used));
  EXPECT_FLOAT_EQ(v, 2.0f);
  EXPECT_EQ(used, 1u);
  EXPECT_TRUE(ScanFloat("12,5", v, &used));
  EXPECT_FLOAT_EQ(v, 12.0f);
  v = 3;
  EXPECT_FALSE(ScanFloat("abc", v));
  EXPECT_FALSE(ScanFloat("", v));
  EXPECT_FALSE(ScanFloat("-", v));
  EXPECT_FALSE(ScanFloat(".", v));
  EXPECT_FALSE(ScanFloat("inf", v));
  EXPECT_FLOAT_EQ(v, 3.0f);
}

TEST(NumberText, ScanUnsignedAndTrim) {
  unsigned long long v = 0;
  EXPECT_TRUE(ScanUnsigned(" 65535", v));
  EXPECT_EQ(v, 65535u);
  EXPECT_FALSE(ScanUnsigned("x1", v));
  EXPECT_TRUE(ScanUnsigned("99999999999999999999999", v));
  EXPECT_GT(v, 65535u);
  EXPECT_EQ(TrimBlanks("\t 12.5 \r\n"), "12.5");
  EXPECT_EQ(TrimBlanks("   "), "");
}

TEST(NumberText, IgnoresCommaDecimalLocale) {
  const char* previous = std::setlocale(LC_ALL, nullptr);
  std::string saved = previous ? previous : "C";
  if (!std::setlocale(LC_ALL, "ru_RU.UTF-8")) GTEST_SKIP() << "ru_RU.UTF-8 locale missing";
  char check[16];
  std::snprintf(check, sizeof check, "%.1f", 1.5);
  EXPECT_STREQ(check, "1,5");  // the locale really uses a comma
  EXPECT_EQ(Format84(12.5f), " 12.5000");
  EXPECT_EQ(FormatGeneral(2.5e-6, 9), "2.5e-06");
  float v = 0;
  EXPECT_TRUE(ScanFloat("12.5", v));
  EXPECT_FLOAT_EQ(v, 12.5f);
  std::setlocale(LC_ALL, saved.c_str());
}

}  // namespace
}  // namespace zrm
