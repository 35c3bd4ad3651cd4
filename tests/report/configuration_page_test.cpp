// The configuration page of each device type, line by line.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/configuration_page.h"
#include "settings/sensor_types.h"

namespace zrm {
namespace {

using Lines = std::vector<std::string>;

const std::string kUnderline = "_____________________________________________________";

DeviceSettings Record(int proc_ver) {
  DeviceSettings s;
  s.sensor_ranges = DefaultSensorRanges();
  s.general.proc_ver = proc_ver;
  s.general.otk_type = 47;
  s.general.serial_hi = 48;  // 48 * 256 + 57 = 12345
  s.general.serial_lo = 57;
  return s;
}

void SetCorrection(ChannelSettings& ch, float shift, float adj, float k0, float k1, float k2,
                   float k3) {
  ch.shift = shift;
  ch.adj = adj;
  ch.koef0 = k0;
  ch.koef1 = k1;
  ch.koef2 = k2;
  ch.koef3 = k3;
}

void ExpectLines(const Lines& actual, const Lines& expected) {
  for (std::size_t i = 0; i < std::min(actual.size(), expected.size()); ++i) {
    EXPECT_EQ(actual[i], expected[i]) << "line " << i + 1;
  }
  EXPECT_EQ(actual.size(), expected.size());
}

TEST(ConfigurationPage, DateAndDeviceLines) {
  ASSERT_EQ(kUnderline.size(), 53u);
  DeviceSettings s = Record(0);
  ConfigurationPage page = BuildConfigurationPage(s, PrintDate{6, 12, 2026});
  EXPECT_EQ(page.date_line, "Дата печати 6.12.2026");
  EXPECT_EQ(page.device_line, "Прибор ЗРМ4810/11Н номер 047-12345");

  s.general.proc_ver = 1;
  s.general.otk_type = 5;
  s.general.serial_hi = 0;
  s.general.serial_lo = 7;
  page = BuildConfigurationPage(s, PrintDate{1, 1, 2030});
  EXPECT_EQ(page.date_line, "Дата печати 1.1.2030");
  EXPECT_EQ(page.device_line, "Прибор ЗРМ4813Н номер 005-7");

  s.general.proc_ver = 2;
  s.general.otk_type = 255;
  s.general.serial_hi = 255;
  s.general.serial_lo = 255;
  EXPECT_EQ(BuildConfigurationPage(s, PrintDate{31, 10, 2027}).device_line,
            "Прибор ЗРМ4816Н номер 255-65535");
}

TEST(ConfigurationPage, SingleChannelWithTwoSetpoints) {
  DeviceSettings s = Record(0);
  ChannelSettings& ch = s.channel[0];
  ch.dat = 19;  // "Ток 4-20 мА"
  ch.flag = 1;
  ch.diap_min = 0.0f;
  ch.diap_max = 100.0f;
  ch.ns = 3;
  ch.point = 2;
  ch.th_type1 = 1;
  ch.th1 = 50.0f;
  ch.his1 = 0.5f;
  ch.th_type2 = 2;
  ch.th2 = 80.0f;
  ch.his2 = 1.25f;
  ch.search = 4;
  SetCorrection(ch, 0.1f, 1.0f, 0.0f, 1.0f, 0.5f, -0.25f);
  s.relay.rel0_msk0 = 0x01 | 0x04 | 0x20 | 0x40;
  s.relay.rel0_msk1 = 0x02;
  // Channel 2 is not on this page.
  s.channel[1].dat = 31;
  s.channel[1].th1 = 999.0f;

  ExpectLines(BuildConfigurationPage(s, PrintDate{6, 12, 2026}).body,
              {
                  "Конфигурация прибора:",
                  "Тип прибора : ЗРМ 4810/11 Н",
                  "Одноканальный прибор с двумя уставками.",
                  "Тип датчика : Ток 4-20 мА",
                  "Диапазон измерений :   0.0000...100.0000",
                  "Пределы допустимой основной погрешности :   0.2500 %",
                  "Включено корнеизвлечение",
                  "Число усреднений : 3",
                  "Число знаков после запятой : 2",
                  kUnderline,
                  "Тип уставки 1 : Понижение",
                  "Величина уставки 1 :  50.0000",
                  "Величина гистерезиса уставки 1 :   0.5000",
                  kUnderline,
                  "Тип уставки 2 : Повышение",
                  "Величина уставки 2 :  80.0000",
                  "Величина гистерезиса уставки 2 :   1.2500",
                  kUnderline,
                  "Число подтверждений при работе реле  : 4",
                  "Логика работы реле 1:",
                  "Реле 1 сработает от уставки 1 канала 1",
                  "Реле 1 сработает от обрыва в канале 1",
                  "Реле 1 сработает от уставки 2 канала 2",
                  "Реле 1 включает привод задвижки",
                  "Реле 1 выбирает направление привода задвижки",
                  "при срабатывании - задвижка открывается",
                  "",
                  "Логика работы реле 2:",
                  "",
                  "Данные для справки. Дополнительная корректировка измеренного значения:",
                  "0 :   0.1000",
                  "Диапазон :   1.0000",
                  "Коэффициенты корректирующего полинома:",
                  "K0=  0.0000 K1=  1.0000 K2=  0.5000 K3= -0.2500",
              });
}

TEST(ConfigurationPage, TwoChannelsEachWithItsOwnSquareRootLine) {
  DeviceSettings s = Record(1);
  ChannelSettings& ch1 = s.channel[0];
  ch1.dat = 23;  // "Напряжение 0-10 В": never the square-root line
  ch1.flag = 1;
  ch1.diap_min = -10.0f;
  ch1.diap_max = 10.0f;
  ch1.ns = 1;
  ch1.point = 1;
  ch1.th_type1 = 0;
  ch1.th1 = 2.5f;
  ch1.his1 = 0.25f;
  ch1.search = 2;
  SetCorrection(ch1, 0.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f);
  ChannelSettings& ch2 = s.channel[1];
  ch2.dat = 17;  // "Ток 0-5 мА"
  ch2.flag = 1;
  ch2.diap_min = 0.0f;
  ch2.diap_max = 5.0f;
  ch2.ns = 10;
  ch2.point = 3;
  ch2.th_type1 = 2;
  ch2.th1 = 4.0f;
  ch2.his1 = 0.125f;
  ch2.search = 10;
  SetCorrection(ch2, -0.5f, 0.75f, 1.5f, 2.0f, -3.0f, 1234.5678f);
  s.relay.rel1_msk0 = 0x08 | 0x10;
  s.relay.rel1_msk1 = 0x01 | 0x04;

  ExpectLines(BuildConfigurationPage(s, PrintDate{6, 12, 2026}).body,
              {
                  "Конфигурация прибора:",
                  "Тип прибора : ЗРМ 4813 Н",
                  "Двухканальный прибор с одной уставкой в каждом канале.",
                  "Канал 1:",
                  "Тип датчика : Напряжение 0-10 В",
                  "Диапазон измерений : -10.0000... 10.0000",
                  "Пределы допустимой основной погрешности :   0.2500 %",
                  "Число усреднений : 1",
                  "Число знаков после запятой : 1",
                  "Тип уставки  : Нет",
                  "Величина уставки  :   2.5000",
                  "Величина гистерезиса уставки  :   0.2500",
                  "Число подтверждений при работе реле  : 2",
                  kUnderline,
                  "Канал 2:",
                  "Тип датчика : Ток 0-5 мА",
                  "Диапазон измерений :   0.0000...  5.0000",
                  "Пределы допустимой основной погрешности :   0.2500 %",
                  "Включено корнеизвлечение",
                  "Число усреднений : 10",
                  "Число знаков после запятой : 3",
                  "Тип уставки  : Повышение",
                  "Величина уставки  :   4.0000",
                  "Величина гистерезиса уставки  :   0.1250",
                  "Число подтверждений при работе реле  : 10",
                  kUnderline,
                  "Логика работы реле 1:",
                  "",
                  "Логика работы реле 2:",
                  "Реле 2 сработает от уставки 1 канала 2",
                  "Реле 2 сработает от обрыва в канале 2",
                  "Реле 2 включает закрывание задвижки",
                  "Реле 2 включает открывание задвижки",
                  "",
                  "Данные для справки. Дополнительная корректировка измеренного значения:",
                  "Канал 1",
                  "0 :   0.0000",
                  "Диапазон :   1.0000",
                  "Коэффициенты корректирующего полинома:",
                  "K0=  0.0000 K1=  1.0000 K2=  0.0000 K3=  0.0000",
                  "Канал 2",
                  "0 :  -0.5000",
                  "Диапазон :   0.7500",
                  "Коэффициенты корректирующего полинома:",
                  "K0=  1.5000 K1=  2.0000 K2= -3.0000 K3=1234.5677",
              });
}

TEST(ConfigurationPage, SquareRootLineOnlyForUnifiedSignalsWithTheRootOn) {
  DeviceSettings s = Record(1);
  auto rooted = [&s](int dat, int flag) {
    s.channel[1].dat = dat;
    s.channel[1].flag = flag;
    int count = 0;
    for (const std::string& line : BuildConfigurationPage(s, PrintDate{}).body) {
      count += line == "Включено корнеизвлечение";
    }
    return count;
  };
  EXPECT_EQ(rooted(19, 1), 1);
  EXPECT_EQ(rooted(19, 0), 0);
  EXPECT_EQ(rooted(21, -1), 1);
  EXPECT_EQ(rooted(16, 1), 0);
  EXPECT_EQ(rooted(22, 1), 0);
  EXPECT_EQ(rooted(23, 1), 0);
}

TEST(ConfigurationPage, RegulatorZoneLiesAroundTheTarget) {
  DeviceSettings s = Record(2);
  ChannelSettings& ch = s.channel[0];
  ch.dat = 9;  // "ТХА ТП ХА(K) хромель/алюмель"
  ch.diap_min = -50.0f;
  ch.diap_max = 1300.0f;
  ch.ns = 5;
  ch.point = 1;
  ch.th1 = 50.0f;
  ch.th2 = 5.0f;
  ch.reg_int = 30;
  ch.pulse_int = 10;
  SetCorrection(ch, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f);
  s.relay.rel0_msk0 = 0x20;
  s.relay.rel1_msk0 = 0x40 | 0x08;

  ExpectLines(BuildConfigurationPage(s, PrintDate{6, 12, 2026}).body,
              {
                  "Конфигурация прибора:",
                  "Тип прибора : ЗРМ 4816 Н",
                  "Одноканальный прибор с функцией пропорционального управления задвижками.",
                  "Тип датчика : ТХА ТП ХА(K) хромель/алюмель",
                  "Диапазон измерений : -50.0000...1300.0000",
                  "Пределы допустимой основной погрешности :   0.5000 %",
                  "Число усреднений : 5",
                  "Число знаков после запятой : 1",
                  "",
                  "Заданная для регулирования величина :  50.0000",
                  "Зона пропорциональности :  45.0000 ...  55.0000",
                  "Интервал времени выдачи управляющих воздействий : 30 сек",
                  "Максимальное время управляющего импульса : 10 сек",
                  "",
                  "Логика работы реле 1:",
                  "Реле 1 выбирает направление привода задвижки",
                  "при срабатывании - задвижка открывается",
                  "",
                  "Логика работы реле 2:",
                  "Реле 2 включает закрывание задвижки",
                  "Реле 2 включает привод задвижки",
                  "",
                  "Данные для справки. Дополнительная корректировка измеренного значения:",
                  "0 :   0.0000",
                  "Диапазон :   0.0000",
                  "Коэффициенты корректирующего полинома:",
                  "K0=  0.0000 K1=  0.0000 K2=  0.0000 K3=  0.0000",
              });
}

TEST(ConfigurationPage, RegulatorZoneIsSummedInSinglePrecision) {
  DeviceSettings s = Record(2);
  s.channel[0].th1 = 16777216.0f;  // 2^24: adding 1 is lost in single precision
  s.channel[0].th2 = 1.0f;
  const Lines body = BuildConfigurationPage(s, PrintDate{}).body;
  ASSERT_GT(body.size(), 10u);
  EXPECT_EQ(body[10], "Зона пропорциональности : 16777215.0000 ... 16777216.0000");
}

TEST(ConfigurationPage, CodesWithoutNamesPrintTheirNumber) {
  DeviceSettings s = Record(0);
  s.channel[0].dat = 31;
  s.channel[0].flag = 1;
  s.channel[0].th_type1 = 3;
  s.channel[0].th_type2 = -2;
  const Lines body = BuildConfigurationPage(s, PrintDate{}).body;
  ASSERT_GT(body.size(), 15u);
  EXPECT_EQ(body[3], "Тип датчика : код 31");
  EXPECT_EQ(body[5], "Пределы допустимой основной погрешности : код 31");
  EXPECT_EQ(body[6], "Число усреднений : 0");
  EXPECT_EQ(body[9], "Тип уставки 1 : код 3");
  EXPECT_EQ(body[13], "Тип уставки 2 : код -2");

  s.channel[0].dat = -1;
  EXPECT_EQ(BuildConfigurationPage(s, PrintDate{}).body[3], "Тип датчика : код -1");
  s.channel[0].dat = 25;
  EXPECT_EQ(BuildConfigurationPage(s, PrintDate{}).body[5],
            "Пределы допустимой основной погрешности : код 25");
  s.channel[0].dat = 24;
  s.channel[0].th_type1 = 2;
  const Lines last = BuildConfigurationPage(s, PrintDate{}).body;
  EXPECT_EQ(last[3], "Тип датчика : ТНН ТП НН(N) нихросил/нисил");
  EXPECT_EQ(last[5], "Пределы допустимой основной погрешности :   0.5000 %");
  EXPECT_EQ(last[9], "Тип уставки 1 : Повышение");
}

TEST(ConfigurationPage, DeviceTypeWithoutWordingNamesItsCodeAndHasNoBody) {
  const std::pair<int, const char*> cases[] = {{3, "Прибор код 3 номер 047-12345"},
                                               {-1, "Прибор код -1 номер 047-12345"},
                                               {255, "Прибор код 255 номер 047-12345"}};
  for (const auto& [proc_ver, device_line] : cases) {
    DeviceSettings s = Record(proc_ver);
    ConfigurationPage page = BuildConfigurationPage(s, PrintDate{6, 12, 2026});
    EXPECT_EQ(page.date_line, "Дата печати 6.12.2026");
    EXPECT_EQ(page.device_line, device_line) << proc_ver;
    EXPECT_TRUE(page.body.empty()) << proc_ver;
  }
}

}  // namespace
}  // namespace zrm
