// The editor's field texts in the order the checks read them, and the
// checks' verdict on texts the form holds.

#include "editor/field_texts.h"

#include <gtest/gtest.h>

#include <limits>

#include "editor/editor_binding.h"
#include "settings/check_field_texts.h"
#include "settings/sample_record.h"
#include "support/recording_operator.h"

namespace zrm {
namespace {

using test::RecordingOperator;

TEST(CheckFieldTextsTest, FormTextsInTableOrder) {
  DeviceSettings s = test::SampleRecord();
  s.channel[1].koef2 = 1.5f;
  EditorForm form;
  SettingsToEditor(s, form, 1);
  form.channel[0].th1 = "12,5";
  form.channel[1].his1 = "1a";
  FieldTexts texts = FieldTextsOf(form, s);
  EXPECT_EQ(texts[0], "  0.0000");
  EXPECT_EQ(texts[1], "12345");
  EXPECT_EQ(texts[5], "12,5");
  EXPECT_EQ(texts[21], "1a");
  EXPECT_EQ(texts[27], "  1.5000");

  RecordingOperator op;
  EXPECT_EQ(CheckFieldTexts(texts, op), result::kStoppedToCorrect);
  EXPECT_EQ(op.calls, std::vector<std::string>{"message|Ошибка задания параметров канала 1.|"
                                               "Ошибка задания уставки 1.|error"});
}

TEST(CheckFieldTextsTest, CoefficientThatIsNoNumberStopsTheWrite) {
  DeviceSettings s = test::SampleRecord();
  s.channel[0].koef1 = std::numeric_limits<float>::infinity();
  EditorForm form;
  SettingsToEditor(s, form, 1);
  RecordingOperator op;
  EXPECT_EQ(CheckFieldTexts(FieldTextsOf(form, s), op), result::kStoppedToCorrect);
  EXPECT_EQ(op.calls, std::vector<std::string>{"message|Ошибка задания параметров канала 1.|"
                                               "Ошибка задания коэффициента 2 полинома.|error"});
}

TEST(CheckFieldTextsTest, UnselectedChannelIsStillChecked) {
  DeviceSettings s = test::SampleRecord();
  s.channel[1].select = 0;
  EditorForm form;
  SettingsToEditor(s, form, 1);
  form.channel[1].spd_th = "";
  RecordingOperator op;
  EXPECT_EQ(CheckFieldTexts(FieldTextsOf(form, s), op), result::kStoppedToCorrect);
  EXPECT_EQ(op.calls, std::vector<std::string>{"message|Ошибка задания параметров канала 2.|"
                                               "Ошибка задания скорости изменения уставки.|error"});
}

}  // namespace
}  // namespace zrm
