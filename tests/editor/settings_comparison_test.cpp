// The comparison with the instrument: one changed field of each kind gives
// exactly one line, named and formatted as the window shows it; fields a
// write does not send never show.

#include "editor/settings_comparison.h"

#include <gtest/gtest.h>

#include <functional>

#include "settings/sample_record.h"

namespace zrm {
namespace {

using test::SampleRecord;

struct OneChange {
  const char* what;
  std::function<void(DeviceSettings&)> change;
  std::string line;
};

std::vector<std::string> Lines(const DeviceSettings& instrument, const DeviceSettings& target) {
  std::vector<std::string> lines;
  for (const SettingDifference& d : CompareSettings(instrument, target))
    lines.push_back(DifferenceLine(d));
  return lines;
}

TEST(SettingsComparisonTest, OneFieldOfEachKind) {
  const OneChange cases[] = {
      {"float", [](DeviceSettings& s) { s.channel[0].th1 = 55.5f; },
       "Канал 1: Величина I: 50.0000 → 55.5000"},
      {"float equal in four decimals", [](DeviceSettings& s) { s.channel[1].his2 = 0.02001f; },
       "Канал 2: Гистерезис II: 0.02 → 0.02001"},
      {"byte list", [](DeviceSettings& s) { s.channel[1].dat = 9; },
       "Канал 2: Тип датчика: Ток 0-5 мА → ТХА ТП ХА(K) хромель/алюмель"},
      {"byte count list", [](DeviceSettings& s) { s.channel[0].ns = 4; },
       "Канал 1: Усреднение: 1 → 4"},
      {"byte without item", [](DeviceSettings& s) { s.channel[0].point = 7; },
       "Канал 1: Знаков: 1 → код 7"},
      {"switch", [](DeviceSettings& s) { s.channel[0].flag = 1; },
       "Канал 1: Корнеизвлечение: нет → да"},
      {"set point type", [](DeviceSettings& s) { s.channel[0].th_type2 = 1; },
       "Канал 1: Уставка II Тип: Повышение → Понижение"},
      {"set point type without item", [](DeviceSettings& s) { s.channel[0].th_type2 = 9; },
       "Канал 1: Уставка II Тип: Повышение → код 9"},
      {"polynomial", [](DeviceSettings& s) { s.channel[1].koef3 = 1.0f; },
       "Канал 2: Полином, коэффициент 3: 0.0000 → 1.0000"},
      {"zero of the other sign", [](DeviceSettings& s) { s.channel[1].koef3 = -0.0f; },
       "Канал 2: Полином, коэффициент 3: 0.0000 → -0.0000"},
      {"relay grid bit", [](DeviceSettings& s) { s.relay.rel1_msk0 |= 0x10; },
       "Реле: Реле 2, Регулятор Откр.: — → *"},
      {"mask bit without a cell", [](DeviceSettings& s) { s.relay.rel0_msk1 |= 0x80; },
       "Реле: Реле 1, прочие биты маски: 00 → 80"},
      {"regulator copy", [](DeviceSettings& s) { s.channel[1].reg_int = 240; },
       "Реле: Интервал принятия решения (копия канала 2): 30 → 240"},
      {"general list", [](DeviceSettings& s) { s.general.err_ver = 0; },
       "Общие: Отображение ошибки: Расширенное → Упрощенное"},
  };
  const DeviceSettings instrument = SampleRecord();
  for (const OneChange& c : cases) {
    SCOPED_TRACE(c.what);
    DeviceSettings target = instrument;
    c.change(target);
    EXPECT_EQ(Lines(instrument, target), std::vector<std::string>{c.line});
  }
}

TEST(SettingsComparisonTest, OnlyWhatAWriteSendsTakesPart) {
  const DeviceSettings instrument = SampleRecord();
  DeviceSettings target = instrument;
  target.channel[0].text = "другой";
  target.channel[1].lin = 9.0f;
  target.calibration.ku_max = 3.0f;
  target.general.firmware_version = 0x11;
  target.general.date_year = 2030;
  target.channel[1].pulse_int = 300;  // sent as 255 ...
  DeviceSettings saturated = instrument;
  saturated.channel[1].pulse_int = 255;
  EXPECT_TRUE(Lines(saturated, target).empty());  // ... which the instrument holds

  // A byte that shows the same ("да") but goes out otherwise still differs.
  DeviceSettings flagged = instrument;
  flagged.channel[0].flag = 1;
  target = instrument;
  target.channel[0].flag = 7;
  EXPECT_EQ(Lines(flagged, target).size(), 1u);

  // A group the write leaves out is not compared.
  target = instrument;
  target.relay.select = 0;
  target.relay.rel0_msk0 = 0;
  EXPECT_TRUE(Lines(instrument, target).empty());
}

TEST(SettingsComparisonTest, AnotherInstrumentComesFirst) {
  const DeviceSettings instrument = SampleRecord();
  DeviceSettings target = instrument;
  target.general.serial_lo = 0x3A;  // 12346
  target.channel[0].th1 = 51.0f;
  EXPECT_TRUE(IsOtherInstrument(instrument, target));
  EXPECT_EQ(Lines(instrument, target),
            (std::vector<std::string>{"другой прибор: Номер прибора: 047-12345 → 047-12346",
                                      "Канал 1: Величина I: 50.0000 → 51.0000"}));

  target = instrument;
  target.general.proc_ver = 0;
  EXPECT_EQ(Lines(instrument, target),
            (std::vector<std::string>{"другой прибор: Тип прибора: 4813 → 4810",
                                      "Общие: Тип прибора: 4813 Н Двухканальный → "
                                      "4810/11 Н Одноканальный"}));

  // A profile carries no serial number: 0 there is no other instrument,
  // and no number is listed beside another device type.
  target = instrument;
  target.general.serial_lo = target.general.serial_hi = 0;
  target.general.otk_type = 0;
  EXPECT_FALSE(IsOtherInstrument(instrument, target));
  EXPECT_TRUE(Lines(instrument, target).empty());
  target.general.proc_ver = 2;
  EXPECT_EQ(Lines(instrument, target).front(), "другой прибор: Тип прибора: 4813 → 4816");
  EXPECT_EQ(Lines(instrument, target).size(), 2u);
}

}  // namespace
}  // namespace zrm
