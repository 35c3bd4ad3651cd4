#include "settings/sensor_types.h"

namespace zrm {

const std::array<std::string_view, kSensorTypeCount> kSensorTypeNames = {
    "50М ТС медь Ro=50 W=1.428",
    "50М ТС медь Ro=50 W=1.426",
    "53М Гр 23 ТС медь Ro=53 W=1.428",
    "53М Гр 23 ТС медь Ro=53 W=1.426",
    "100М ТС медь Ro=100 W=1.428",
    "100М ТС медь Ro=100 W=1.426",
    "50П ТС платина Ro=50 W=1.391",
    "100П ТС платина Ro=100 W=1.391",
    "Pt100 ТС платина Ro=100 W=1.385",
    "ТХА ТП ХА(K) хромель/алюмель",
    "ТХК ТП ХК(L) хромель/копель",
    "ТПП ТП ПП(R) платина/пл.родий 13%",
    "ТПП ТП ПП(S) платина/пл.родий 10%",
    "ТПР ТП ПР(В) пл.род.30%/пл.род.6%",
    "ТЖК ТП КJK(J) железо/константан",
    "ТВР(A-1) ТП ВР(А-1) вольф.рен./волф.рен.",
    "ТМК  ТП TMK(T) медь/константан",
    "Ток 0-5 мА",
    "Ток 0-20 мА",
    "Ток 4-20 мА",
    "Напряжение 0-100 мВ",
    "Напряжение 0-75 мВ",
    "Измерение сопротивления",
    "Напряжение 0-10 В",
    "ТНН ТП НН(N) нихросил/нисил",
};

SensorRangeTable DefaultSensorRanges() {
  SensorRangeTable t{};
  auto set = [&t](int from, int to, float max, float min, float pogr) {
    for (int code = from; code <= to; ++code) t[code] = SensorRange{max, min, pogr};
  };
  set(0, 5, 200.0f, -50.0f, 0.25f);
  set(6, 8, 600.0f, -50.0f, 0.25f);
  set(9, 9, 1300.0f, -50.0f, 0.5f);
  set(10, 10, 600.0f, -50.0f, 0.5f);
  set(11, 12, 1700.0f, 0.0f, 0.5f);
  set(13, 13, 1800.0f, 300.0f, 0.5f);
  set(14, 14, 1100.0f, -50.0f, 0.5f);
  set(15, 15, 2500.0f, 0.0f, 0.5f);
  set(16, 16, 400.0f, -50.0f, 0.5f);
  set(17, 21, 100.0f, 0.0f, 0.25f);
  set(22, 22, 300.0f, 0.0f, 0.25f);
  set(23, 23, 100.0f, 0.0f, 0.25f);
  set(24, 24, 1300.0f, -50.0f, 0.5f);
  return t;
}

bool UsesSensorRange(std::int32_t dat) {
  return (dat >= 0 && dat <= 16) || dat == 22 || dat == 24;
}

std::string_view SensorUnit(std::int32_t dat) {
  constexpr std::int32_t kResistance = 22;
  if (dat == kResistance) return "Ом";
  return UsesSensorRange(dat) ? "°C" : "";
}

bool UnifiedSignalRange(std::int32_t dat, float& max, float& min) {
  switch (dat) {
    case 17: max = 5.0f; break;
    case 18:
    case 19: max = 20.0f; break;
    case 20: max = 100.0f; break;
    case 21: max = 75.0f; break;
    case 23: max = 10.0f; break;
    default: return false;
  }
  min = 0.0f;
  return true;
}

}  // namespace zrm
