#include "platform/cp1251.h"

#include <iconv.h>

#include <string>

#include <gtest/gtest.h>

namespace zrm {
namespace {

// The C library's own CP1251 converter, as an independent reference.
std::string IconvCp1251ToUtf8(char byte) {
  iconv_t cd = iconv_open("UTF-8", "CP1251");
  if (cd == reinterpret_cast<iconv_t>(-1)) return "<no iconv>";
  char in[1] = {byte};
  char out[8] = {};
  char* in_ptr = in;
  char* out_ptr = out;
  std::size_t in_left = 1, out_left = sizeof out;
  const std::size_t done = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  iconv_close(cd);
  return done == static_cast<std::size_t>(-1) ? "<undefined>" : std::string(out, out_ptr);
}

TEST(Cp1251, EveryDefinedByteMatchesTheCLibraryTable) {
  for (int b = 0; b < 256; ++b) {
    const char byte = static_cast<char>(b);
    if (b == 0x98) continue;  // undefined in the code page
    EXPECT_EQ(Cp1251ToUtf8(std::string(1, byte)), IconvCp1251ToUtf8(byte)) << "byte " << b;
  }
}

TEST(Cp1251, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::string utf8 = Cp1251ToUtf8(all);
  EXPECT_TRUE(IsValidUtf8(utf8));
  EXPECT_EQ(Utf8ToCp1251(utf8), all);
}

TEST(Cp1251, RussianTextsConvertBothWays) {
  const std::string cp1251 = "\xCF\xF0\xE8\xE1\xEE\xF0 \xC7\xD0\xCC \xB9\x31 \xA8\xB8";
  EXPECT_EQ(Cp1251ToUtf8(cp1251), "Прибор ЗРМ №1 Ёё");
  EXPECT_EQ(Utf8ToCp1251("Прибор ЗРМ №1 Ёё"), cp1251);
  EXPECT_EQ(Utf8ToCp1251("<....> €"), "<....> \x88");
}

TEST(Cp1251, WhatTheCodePageCannotHoldBecomesAQuestionMark) {
  EXPECT_EQ(Utf8ToCp1251("a中b"), "a?b");
  EXPECT_EQ(Utf8ToCp1251("😀"), "?");          // one character, one mark
  EXPECT_EQ(Utf8ToCp1251("x\xC3"), "x?");      // cut sequence at the end
  EXPECT_EQ(Utf8ToCp1251("\xC0\xAF"), "??");   // overlong form
  EXPECT_EQ(Utf8ToCp1251("\xED\xA0\x80"), "???");  // surrogate
  EXPECT_EQ(Utf8ToCp1251("\xFF\xFEz"), "??z");
}

TEST(Cp1251, Utf8ValidityAndPrefixes) {
  EXPECT_TRUE(IsValidUtf8(""));
  EXPECT_TRUE(IsValidUtf8("Канал 1"));
  EXPECT_FALSE(IsValidUtf8("\xCA\xE0\xED\xE0\xEB"));  // "Канал" in cp1251
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));      // beyond U+10FFFF

  EXPECT_EQ(Utf8Prefix("Канал", 2), "Ка");
  EXPECT_EQ(Utf8Prefix("Канал", 99), "Канал");
  EXPECT_EQ(Utf8Prefix("ab", 0), "");
  EXPECT_EQ(Utf8Prefix("\xD0", 5), "\xD0");  // a cut character never reads past the end
  EXPECT_EQ(Utf8Prefix("\xFFЯ", 1), "\xFF");
}

}  // namespace
}  // namespace zrm
