// Inputs the fuzzers found to break the program, kept so the faults stay
// mended.

#include <gtest/gtest.h>

#include <cmath>

#include "editor/editor_binding.h"
#include "editor/editor_number.h"
#include "platform/number_text.h"
#include "settings/check_field_texts.h"
#include "support/recording_operator.h"

namespace zrm::test {
namespace {

TEST(FuzzFindings, ControlCharacterBeforeANumberDoesNotTurnItIntoZero) {
  // The check before writing passes "\x1d" "1": the editor must read 1.
  const std::string text = "\x1d" "1";
  ASSERT_TRUE(IsNumberText(text));
  float value = 0;
  EXPECT_TRUE(ParseEditorNumber(text, value));
  EXPECT_EQ(value, 1.0f);
}

TEST(FuzzFindings, ControlCharacterBeforeASerialNumberKeepsItsValue) {
  EditorForm form;
  form.serial_number = "\x01" "12345";
  ASSERT_TRUE(IsSerialNumberText(form.serial_number));
  DeviceSettings s;
  RecordingOperator op;
  EditorToSettings(form, s, op);
  EXPECT_EQ(SerialNumber(s.general), 12345u);
  EXPECT_TRUE(op.Messages().empty());
}

TEST(FuzzFindings, NumbersBeyondTheFloatRangeGoTheRightWay) {
  // Too small for a float is 0 (with or without an exponent), too large is
  // infinity (whatever the sign of the exponent), as strtof gives them.
  struct Case {
    const char* text;
    float expected;
  };
  const float inf = std::numeric_limits<float>::infinity();
  for (const Case& c : {Case{"0.00000000000000000000000000000000000000000000000001", 0.0f},
                        Case{"-0.000000000000000000000000000000000000000000000000000001", -0.0f},
                        Case{"1e-50", 0.0f},
                        Case{"0.0001e-50", 0.0f},
                        Case{"1e-99999999999999999999", 0.0f},
                        Case{"1e39", inf},
                        Case{"-1e39", -inf},
                        Case{"100000000000000000000000000000000000000000000000000e-10", inf},
                        Case{"1e99999999999999999999", inf}}) {
    float value = 1;
    ASSERT_TRUE(ScanFloat(c.text, value)) << c.text;
    EXPECT_EQ(value, c.expected) << c.text;
    EXPECT_EQ(std::signbit(value), std::signbit(c.expected)) << c.text;
  }
}

}  // namespace
}  // namespace zrm::test
