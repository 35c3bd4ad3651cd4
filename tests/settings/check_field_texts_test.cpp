#include "settings/check_field_texts.h"

#include <gtest/gtest.h>

#include "support/recording_operator.h"

namespace zrm {
namespace {

using test::RecordingOperator;

FieldTexts AllValid() {
  FieldTexts texts;
  texts.fill(" 50.0000");
  texts[1] = "12345";
  return texts;
}

TEST(NumberTextRuleTest, AcceptsOneWholeNumber) {
  for (const char* text : {"12.5", "  12.5  ", "\t-3\r\n", "+7", "5.", ".5", "0", "-0.0001",
                           "100.0000", "0012"}) {
    EXPECT_TRUE(IsNumberText(text)) << text;
  }
}

TEST(NumberTextRuleTest, RejectsEverythingElse) {
  for (const char* text : {"", "   ", "12,5", "1e3", "abc", "5 5", "--5", "1..2", "5-3", "-",
                           ".", "+-1", "1.2.3", "5+"}) {
    EXPECT_FALSE(IsNumberText(text)) << text;
  }
}

TEST(SerialNumberTextRuleTest, DigitsUpTo65535) {
  EXPECT_TRUE(IsSerialNumberText("65535"));
  EXPECT_TRUE(IsSerialNumberText(" 0 "));
  EXPECT_FALSE(IsSerialNumberText("65536"));
  EXPECT_FALSE(IsSerialNumberText("99999999999999999999999"));
  EXPECT_FALSE(IsSerialNumberText("+5"));
  EXPECT_FALSE(IsSerialNumberText("12 34"));
  EXPECT_FALSE(IsSerialNumberText(""));
}

TEST(CheckFieldTextsTest, AllValidPassesSilently) {
  RecordingOperator op;
  EXPECT_EQ(CheckFieldTexts(AllValid(), op), result::kOk);
  EXPECT_TRUE(op.calls.empty());
}

TEST(CheckFieldTextsTest, EachFieldHasItsCaptionAndMessage) {
  const std::string ch1 = "Ошибка задания параметров канала 1.";
  const std::string ch2 = "Ошибка задания параметров канала 2.";
  struct Case {
    int index;
    std::string caption;
    std::string message;
  };
  const Case cases[] = {
      {0, ch1, "Ошибка задания минимума диапазона."},
      {1, "Ошибка задания общеприборных параметров.", "Ошибка задания заводского номера прибора."},
      {2, ch1, "Ошибка задания максимума диапазона."},
      {5, ch1, "Ошибка задания уставки 1."},
      {10, ch1, "Ошибка задания скорости изменения гистерезиса."},
      {11, ch1, "Ошибка задания коэффициента 1 полинома."},
      {14, ch1, "Ошибка задания коэффициента 4 полинома."},
      {15, ch2, "Ошибка задания минимума диапазона."},
      {21, ch2, "Ошибка задания гистерезиса уставки 1."},
      {24, ch2, "Ошибка задания скорости изменения гистерезиса уставки."},
      {28, ch2, "Ошибка задания коэффициента 4 полинома."},
  };
  for (const Case& c : cases) {
    FieldTexts texts = AllValid();
    texts[c.index] = "x";
    RecordingOperator op;
    EXPECT_EQ(CheckFieldTexts(texts, op), result::kStoppedToCorrect) << c.index;
    ASSERT_EQ(op.calls.size(), 1u) << c.index;
    EXPECT_EQ(op.calls[0], "message|" + c.caption + "|" + c.message + "|error") << c.index;
  }
}

TEST(CheckFieldTextsTest, StopsAtTheFirstBadFieldInTableOrder) {
  FieldTexts texts = AllValid();
  texts[2] = "1..2";  // channel 1 maximum
  texts[1] = "70000";  // serial number, tested before it
  RecordingOperator op;
  EXPECT_EQ(CheckFieldTexts(texts, op), result::kStoppedToCorrect);
  ASSERT_EQ(op.calls.size(), 1u);
  EXPECT_NE(op.calls[0].find("заводского номера"), std::string::npos);
}

}  // namespace
}  // namespace zrm
