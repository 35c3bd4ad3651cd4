#include "editor/editor_binding.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "editor/editor_form.h"
#include "editor/editor_history.h"
#include "editor/field_texts.h"
#include "settings/sample_record.h"
#include "support/recording_operator.h"

namespace zrm {
namespace {

using test::RecordingOperator;
using test::SampleRecord;

constexpr int kPort = 1;

// A form showing `s`, as the window is after a read or a profile load.
EditorForm Shown(DeviceSettings& s) {
  EditorForm form;
  SettingsToEditor(s, form, kPort);
  return form;
}

TEST(SettingsToEditorTest, NumberFieldsUseTheEightFourFormat) {
  DeviceSettings s = SampleRecord();
  s.channel[1].th2 = -12.5f;
  EditorForm form = Shown(s);
  EXPECT_EQ(form.channel[0].th1, " 50.0000");
  EXPECT_EQ(form.setpoint_grid[1][1], " 50.0000");
  EXPECT_EQ(form.setpoint_grid[1][2], " 60.0000");
  EXPECT_EQ(form.channel[0].his1, "  0.0200");
  EXPECT_EQ(form.channel[0].diap_max, "100.0000");
  EXPECT_EQ(form.channel[0].spd_th, "  0.1000");
  EXPECT_EQ(form.channel[1].th2, "-12.5000");
  EXPECT_EQ(form.setpoint_grid[1][5], "-12.5000");
  EXPECT_EQ(form.setpoint_grid[0][0], "Уставка");  // fixed captions stay
}

TEST(SettingsToEditorTest, GeneralControls) {
  DeviceSettings s = SampleRecord();
  s.general.otk_type = 300;  // only the low byte is a prefix
  EditorForm form;
  SettingsToEditor(s, form, 3);
  EXPECT_EQ(form.firmware_version, "1.1.2");  // 0x52
  EXPECT_EQ(form.serial_number, "12345");
  EXPECT_EQ(form.otk_type, 44);
  EXPECT_EQ(form.err_ver, 1);
  EXPECT_EQ(form.proc_ver, 1);
  EXPECT_EQ(form.port_label, "3");
  EXPECT_EQ(form.port, 2);

  s.general.firmware_version = 0x3FF;
  SettingsToEditor(s, form, 9);
  EXPECT_EQ(form.firmware_version, "15.3.15");
  EXPECT_EQ(form.port_label, "9");
  EXPECT_EQ(form.port, kNoSelection);
}

TEST(SettingsToEditorTest, GroupAreasFollowTheirSwitches) {
  DeviceSettings s = SampleRecord();
  s.channel[1].select = 0;
  s.general.gen_select = 2;
  EditorForm form;
  form.relay_area_white = true;
  SettingsToEditor(s, form, kPort);
  EXPECT_TRUE(form.channel1_area_white);
  EXPECT_FALSE(form.channel2_area_white);
  EXPECT_FALSE(form.general_area_white);
  EXPECT_TRUE(form.relay_area_white);  // the relay area is marked by the commands only
}

TEST(SettingsToEditorTest, SetpointTypesAndGridHeader) {
  struct Case {
    int code;
    int index;
    const char* header;
  };
  const Case cases[] = {
      {0, 0, "Нет"},     {4, 0, "Нет"},         {-1, 0, "Нет"}, {1, 1, "Понижен"},
      {2, 2, "Повышен"}, {3, kNoSelection, ""},  // no item 3: no selection, empty header
  };
  for (const Case& c : cases) {
    DeviceSettings s = SampleRecord();
    s.channel[0].th_type1 = c.code;
    s.channel[1].th_type2 = c.code;
    EditorForm form = Shown(s);
    EXPECT_EQ(form.channel[0].th_type1, c.index) << c.code;
    EXPECT_EQ(form.relay_grid[0][1], c.header) << c.code;
    EXPECT_EQ(form.channel[1].th_type2, c.index) << c.code;
    EXPECT_EQ(form.relay_grid[0][5], c.header) << c.code;
  }
}

TEST(SettingsToEditorTest, SensorRangeRuleOverridesTheStoredRange) {
  DeviceSettings s = SampleRecord();
  s.channel[0].dat = 9;
  s.channel[0].diap_max = 5.0f;
  s.sensor_ranges[9] = {1300.0f, -50.0f, 0.5f};
  EditorForm form = Shown(s);
  EXPECT_EQ(s.channel[0].diap_max, 1300.0f);
  EXPECT_EQ(s.channel[0].diap_min, -50.0f);
  EXPECT_EQ(form.channel[0].diap_max, "1300.0000");
  EXPECT_EQ(form.channel[0].diap_min, "-50.0000");
}

TEST(SettingsToEditorTest, CodesOutsideTheListReadNoTableEntry) {
  for (int dat : {25, -1, 1000}) {
    DeviceSettings s = SampleRecord();
    s.channel[1].dat = dat;
    s.channel[1].diap_max = 7.0f;
    s.channel[1].diap_min = 3.0f;
    s.general.use_max = 1;
    EditorForm form = Shown(s);
    EXPECT_EQ(form.channel[1].dat, kNoSelection);
    EXPECT_EQ(s.channel[1].diap_max, 7.0f);
    EXPECT_EQ(s.channel[1].diap_min, 3.0f);
  }
}

TEST(SettingsToEditorTest, StoredValuesWithoutAnItemShowNoSelection) {
  DeviceSettings s = SampleRecord();
  s.channel[0].ns = 15;
  s.channel[0].search = 0;
  s.channel[0].point = 4;
  s.channel[0].reg_int = 5;
  s.channel[0].pulse_int = 61;
  s.general.proc_ver = 3;
  s.general.err_ver = -1;
  EditorForm form = Shown(s);
  EXPECT_EQ(form.channel[0].ns, kNoSelection);
  EXPECT_EQ(form.channel[0].search, kNoSelection);
  EXPECT_EQ(form.channel[0].point, kNoSelection);
  EXPECT_EQ(form.reg_int, kNoSelection);
  EXPECT_EQ(form.pulse_int, kNoSelection);
  EXPECT_EQ(form.proc_ver, kNoSelection);
  EXPECT_EQ(form.err_ver, kNoSelection);
}

TEST(EditorToSettingsTest, ListsWithoutSelectionKeepTheirFields) {
  DeviceSettings s = SampleRecord();
  s.channel[0].ns = 15;
  s.channel[0].reg_int = 5;
  s.channel[0].pulse_int = 61;
  s.channel[0].dat = 25;
  s.general.proc_ver = 3;
  EditorForm form = Shown(s);
  form.channel[1].dat = kNoSelection;  // text typed that matches no item
  form.channel[1].point = 99;          // an index outside the list
  form.err_ver = kNoSelection;
  form.otk_type = kNoSelection;
  form.channel[0].th_type1 = kNoSelection;
  RecordingOperator op;
  EditorToSettings(form, s, op);
  EXPECT_EQ(s.channel[0].ns, 15);
  EXPECT_EQ(s.channel[0].reg_int, 5);
  EXPECT_EQ(s.channel[0].pulse_int, 61);
  EXPECT_EQ(s.channel[0].dat, 25);
  EXPECT_EQ(s.channel[1].dat, 17);
  EXPECT_EQ(s.channel[1].point, 1);
  EXPECT_EQ(s.general.proc_ver, 3);
  EXPECT_EQ(s.general.err_ver, 1);
  EXPECT_EQ(s.general.otk_type, 47);
  EXPECT_EQ(s.channel[0].th_type1, 0);  // the set point type lists give 0
  EXPECT_TRUE(op.calls.empty());
}

TEST(EditorToSettingsTest, ListIndexesWithTheirOffsets) {
  DeviceSettings s = SampleRecord();
  EditorForm form = Shown(s);
  form.channel[1].ns = 9;
  form.channel[1].search = 0;
  form.channel[1].point = 3;
  form.channel[1].th_type2 = 1;
  form.reg_int = 230;
  form.pulse_int = 0;
  form.proc_ver = 2;
  form.otk_type = 255;
  RecordingOperator op;
  EditorToSettings(form, s, op);
  EXPECT_EQ(s.channel[1].ns, 10);
  EXPECT_EQ(s.channel[1].search, 1);
  EXPECT_EQ(s.channel[1].point, 3);
  EXPECT_EQ(s.channel[1].th_type2, 1);
  EXPECT_EQ(s.channel[0].reg_int, 240);
  EXPECT_EQ(s.channel[0].pulse_int, 5);
  EXPECT_EQ(s.channel[1].reg_int, 30);  // channel 2 keeps what was loaded
  EXPECT_EQ(s.general.proc_ver, 2);
  EXPECT_EQ(s.general.otk_type, 255);
}

TEST(EditorToSettingsTest, NumberTexts) {
  DeviceSettings s = SampleRecord();
  s.channel[0].adj = 1.25f;
  EditorForm form = Shown(s);
  form.channel[0].th1 = "  12.5  ";
  form.channel[0].th2 = "xyz";   // not a number: the record keeps its value
  form.channel[0].his1 = "8,5";  // nor is a number followed by something else
  form.channel[0].adj = "1e";
  form.channel[1].diap_min = "";
  form.channel[1].th1 = "\t-3.";
  form.channel[0].spd_th = "-0.5";
  form.channel[1].spd_his = "0.5";  // a typed step need not be an item
  form.channel[1].spd_th = "0.5x";
  RecordingOperator op;
  EditorToSettings(form, s, op);
  EXPECT_EQ(s.channel[0].th1, 12.5f);
  EXPECT_EQ(s.channel[0].th2, 60.0f);
  EXPECT_EQ(s.channel[0].his1, 0.02f);
  EXPECT_EQ(s.channel[0].adj, 1.25f);
  EXPECT_EQ(s.channel[1].diap_min, 0.0f);
  EXPECT_EQ(s.channel[1].th1, -3.0f);
  EXPECT_EQ(s.channel[0].spd_th, 0.5f);
  EXPECT_EQ(s.channel[1].spd_his, 0.5f);
  EXPECT_EQ(s.channel[1].spd_th, 0.1f);
  EXPECT_EQ(s.channel[0].spd_his, 0.01f);  // "  0.0100" reads back as the float 0.01
  EXPECT_TRUE(op.calls.empty());
}

TEST(EditorToSettingsTest, ShownStepReadsBackExactly) {
  DeviceSettings s = SampleRecord();
  EditorForm form = Shown(s);
  ASSERT_EQ(form.channel[1].spd_th, "  0.1000");
  RecordingOperator op;
  EditorToSettings(form, s, op);
  EXPECT_EQ(s.channel[1].spd_th, 0.1f);
}

TEST(EditorToSettingsTest, CoefficientsAreNotRounded) {
  DeviceSettings s = SampleRecord();
  s.channel[0].koef0 = 3e-6f;
  s.channel[0].koef3 = 0.123456f;
  s.channel[1].koef1 = -1.5e-7f;
  EditorForm form = Shown(s);
  RecordingOperator op;
  PageChange(form, s, op, kPort);
  EXPECT_EQ(s.channel[0].koef0, 3e-6f);
  EXPECT_EQ(s.channel[0].koef3, 0.123456f);
  EXPECT_EQ(s.channel[1].koef1, -1.5e-7f);
}

TEST(EditorToSettingsTest, FixedValuesAndNormalisedSwitches) {
  DeviceSettings s = SampleRecord();
  s.channel[0].use = 7;
  s.channel[1].use = 0;
  s.channel[0].ver_rel_proc = 2;
  s.channel[1].ver_rel_proc = 0;
  s.general.use_max = 1;
  s.general.gen_select = 5;
  EditorForm form = Shown(s);
  form.channel[0].flag = true;
  RecordingOperator op;
  EditorToSettings(form, s, op);
  EXPECT_EQ(s.channel[0].use, 1);
  EXPECT_EQ(s.channel[1].use, 0);
  EXPECT_EQ(s.channel[0].ver_rel_proc, 1);
  EXPECT_EQ(s.channel[1].ver_rel_proc, 1);
  EXPECT_EQ(s.general.use_max, 0);
  EXPECT_EQ(s.general.gen_select, 0);
  EXPECT_EQ(s.channel[0].flag, 1);
  EXPECT_EQ(s.channel[1].flag, 0);
}

TEST(EditorToSettingsTest, LeavesFieldsWithoutControlsAlone) {
  DeviceSettings s = SampleRecord();
  s.channel[0].text = "Канал 1";
  s.channel[1].unit = "°C";
  s.channel[1].lin = -3.0f;
  s.channel[0].wire = 2;
  s.channel[0].select = 0;
  s.channel[1].uref = 26.32f;
  s.channel[1].set_ki020 = 20.0f;
  s.relay.select = 0;
  s.relay.use = 3;
  s.relay.test = 4;
  s.calibration.rref_max = 9000.0f;
  s.general.date_day = 17;
  s.general.date_month = 3;
  s.general.date_year = 2021;
  s.description.txt[0] = "описание";
  EditorForm form = Shown(s);
  form.firmware_version = "9.9.9";
  DeviceSettings before = s;
  RecordingOperator op;
  EditorToSettings(form, s, op);
  EXPECT_EQ(s.channel[0].text, before.channel[0].text);
  EXPECT_EQ(s.channel[1].unit, before.channel[1].unit);
  EXPECT_EQ(s.channel[1].lin, -3.0f);
  EXPECT_EQ(s.channel[0].wire, 2);
  EXPECT_EQ(s.channel[0].select, 0);
  EXPECT_EQ(s.channel[1].uref, 26.32f);
  EXPECT_EQ(s.channel[1].set_ki020, 20.0f);
  EXPECT_EQ(s.relay.select, 0);
  EXPECT_EQ(s.relay.use, 3);
  EXPECT_EQ(s.relay.test, 4);
  EXPECT_EQ(s.calibration.rref_max, 9000.0f);
  EXPECT_EQ(s.general.date_day, 17);
  EXPECT_EQ(s.general.date_month, 3);
  EXPECT_EQ(s.general.date_year, 2021);
  EXPECT_EQ(s.general.firmware_version, 0x52);
  EXPECT_EQ(s.description.txt[0], "описание");
}

TEST(EditorToSettingsTest, SerialNumberRule) {
  struct Case {
    const char* text;
    int hi;
    int lo;
    bool reported;
  };
  const Case cases[] = {
      {"65535", 255, 255, false}, {"65536", 0, 0, true}, {"4294967297", 0, 0, true},
      {"", 0, 0, false},          {"abc", 0, 0, false},  {" 12345", 0x30, 0x39, false},
      {"258x", 1, 2, false},
  };
  for (const Case& c : cases) {
    DeviceSettings s = SampleRecord();
    EditorForm form = Shown(s);
    form.serial_number = c.text;
    form.otk_type = 12;
    RecordingOperator op;
    EditorToSettings(form, s, op);
    EXPECT_EQ(s.general.serial_hi, c.hi) << c.text;
    EXPECT_EQ(s.general.serial_lo, c.lo) << c.text;
    EXPECT_EQ(s.general.otk_type, 12) << c.text;  // collection goes on after a bad number
    if (c.reported) {
      ASSERT_EQ(op.calls.size(), 1u) << c.text;
      EXPECT_NE(op.calls[0].find("Неправильно задано число (ERR 23)"), std::string::npos);
    } else {
      EXPECT_TRUE(op.calls.empty()) << c.text;
    }
  }
}

TEST(EditorHandlersTest, SensorTypeChangeShowsTheNewRangeAtOnce) {
  DeviceSettings s = SampleRecord();
  s.sensor_ranges[9] = {1300.0f, -50.0f, 0.5f};
  EditorForm form = Shown(s);
  RecordingOperator op;
  form.channel[0].dat = 9;
  SensorTypeChange(form, s, op, kPort);
  EXPECT_EQ(form.channel[0].diap_max, "1300.0000");
  EXPECT_EQ(form.channel[0].diap_min, "-50.0000");
  // A unified signal keeps the range that was shown.
  form.channel[0].dat = 19;
  SensorTypeChange(form, s, op, kPort);
  EXPECT_EQ(s.channel[0].dat, 19);
  EXPECT_EQ(form.channel[0].diap_max, "1300.0000");
  EXPECT_EQ(form.channel[0].diap_min, "-50.0000");
  // Channel 2 was not touched.
  EXPECT_EQ(form.channel[1].diap_max, "100.0000");
}

TEST(EditorHandlersTest, UnifiedSignalDefaultsApplyOnce) {
  DeviceSettings s = SampleRecord();
  s.general.use_max = 1;
  s.channel[0].dat = 19;
  s.channel[1].dat = 23;
  EditorForm form = Shown(s);
  EXPECT_EQ(form.channel[0].diap_max, " 20.0000");
  EXPECT_EQ(form.channel[0].diap_min, "  0.0000");
  EXPECT_EQ(form.channel[1].diap_max, " 10.0000");
  form.channel[0].diap_max = "16";
  RecordingOperator op;
  PageChange(form, s, op, kPort);
  EXPECT_EQ(s.general.use_max, 0);
  EXPECT_EQ(form.channel[0].diap_max, " 16.0000");
  PageChange(form, s, op, kPort);
  EXPECT_EQ(form.channel[0].diap_max, " 16.0000");
}

TEST(EditorHandlersTest, TypedNonNumbersStayForTheCheckBeforeWriting) {
  DeviceSettings s = SampleRecord();
  EditorForm form = Shown(s);
  form.channel[1].his2 = "xyz";
  form.channel[0].spd_his = "8,5";
  form.channel[0].th1 = "55";
  RecordingOperator op;
  PageChange(form, s, op, kPort);
  EXPECT_EQ(form.channel[1].his2, "xyz");
  EXPECT_EQ(form.channel[0].spd_his, "8,5");
  EXPECT_EQ(form.channel[0].th1, " 55.0000");  // a number is shown in the field's format
  EXPECT_EQ(s.channel[0].spd_his, 0.01f);
  EXPECT_EQ(CheckFieldTexts(FieldTextsOf(form, s), op), result::kStoppedToCorrect);
}

TEST(EditorHandlersTest, RoundTripKeepsAShownRecord) {
  DeviceSettings s = SampleRecord();
  EditorForm form = Shown(s);
  const DeviceSettings shown = s;
  const EditorForm before = form;
  RecordingOperator op;
  PageChange(form, s, op, kPort);
  EXPECT_EQ(form.channel[0].th1, before.channel[0].th1);
  EXPECT_EQ(form.channel[1].his2, before.channel[1].his2);
  EXPECT_EQ(form.relay_grid, before.relay_grid);
  EXPECT_EQ(form.setpoint_grid, before.setpoint_grid);
  EXPECT_EQ(form.channel[0].ns, before.channel[0].ns);
  EXPECT_EQ(form.reg_int, before.reg_int);
  EXPECT_EQ(s.relay.rel0_msk0, shown.relay.rel0_msk0);
  EXPECT_EQ(s.relay.rel1_msk1, shown.relay.rel1_msk1);
  EXPECT_EQ(s.channel[0].his1, shown.channel[0].his1);
}

TEST(EditorHistoryTest, UndoAndRedoWalkTheReplacedStatesWithinTheDepth) {
  EditorHistory history(20);
  EditorState current;
  current.settings = SampleRecord();
  auto replace = [&](float th1) {
    history.Record(current, "step " + std::to_string(static_cast<int>(th1)));
    current.settings.channel[0].th1 = th1;
  };
  for (int i = 1; i <= 25; ++i) replace(static_cast<float>(i));
  // Each undo names the operation it took back, newest first.
  std::vector<std::string> undone;
  while (const auto what = history.Undo(current)) undone.push_back(*what);
  ASSERT_EQ(undone.size(), 20u);
  EXPECT_EQ(undone.front(), "step 25");
  EXPECT_EQ(undone.back(), "step 6");
  EXPECT_EQ(current.settings.channel[0].th1, 5.0f);  // the five oldest gave way
  EXPECT_EQ(history.Redo(current), std::optional<std::string>("step 6"));
  EXPECT_EQ(current.settings.channel[0].th1, 6.0f);
  // A new replacement forgets what could be redone.
  replace(99.0f);
  EXPECT_EQ(history.Redo(current), std::nullopt);
  EXPECT_EQ(history.Undo(current), std::optional<std::string>("step 99"));
  EXPECT_EQ(current.settings.channel[0].th1, 6.0f);
  // Redo and undo of the same step keep its words.
  EXPECT_EQ(history.Redo(current), std::optional<std::string>("step 99"));
  EXPECT_EQ(history.Undo(current), std::optional<std::string>("step 99"));
}

}  // namespace
}  // namespace zrm
