#pragma once
// The settings image of the connected instrument: both channels, the relay
// logic, the general parameters, the calibration values, the sensor range
// table and the profile description. Field names are the profile keys.
// Texts are UTF-8 here; files convert to cp1251 at their boundary.
// A default-constructed record is the "start" state: every number 0, every
// text empty.

#include <array>
#include <cstdint>
#include <string>

namespace zrm {

struct ChannelSettings {
  std::int32_t dat = 0;  // sensor type code 0..24, index into sensor_ranges
  float diap_max = 0;
  float diap_min = 0;
  float lin = 0;
  std::int32_t wire = 0;
  std::int32_t flag = 0;
  std::int32_t ns = 0;
  float shift = 0;
  float adj = 0;
  float koef0 = 0;
  float koef1 = 0;
  float koef2 = 0;
  float koef3 = 0;
  std::int32_t th_type1 = 0;
  std::int32_t th_type2 = 0;
  float th1 = 0;
  float th2 = 0;
  float his1 = 0;
  float his2 = 0;
  std::int32_t search = 0;
  std::int32_t use = 0;
  std::int32_t point = 0;
  std::int32_t ver_rel_proc = 0;
  std::int32_t reg_int = 0;
  std::int32_t pulse_int = 0;
  std::string text;
  std::string unit;
  std::int32_t select = 0;
  float uref = 0;
  float rref = 0;
  float ku = 0;
  float ku10 = 0;
  float ki05 = 0;
  float ki020 = 0;
  float set_ra = 0;
  float set_rb = 0;
  float set_ku = 0;
  float set_ku10 = 0;
  float set_ki05 = 0;
  float set_ki020 = 0;
  float spd_th = 0;
  float spd_his = 0;
};

struct RelaySettings {
  std::int32_t select = 0;
  std::int32_t use = 0;
  std::int32_t test = 0;
  std::int32_t rel0_msk0 = 0;
  std::int32_t rel0_msk1 = 0;
  std::int32_t rel1_msk0 = 0;
  std::int32_t rel1_msk1 = 0;
};

struct GeneralSettings {
  std::int32_t gen_select = 0;
  std::int32_t proc_ver = 0;
  std::int32_t use_max = 0;
  std::int32_t otk_type = 0;
  std::int32_t err_ver = 0;
  std::int32_t serial_lo = 0;
  std::int32_t serial_hi = 0;
  std::int32_t firmware_version = 0;
  std::int32_t date_day = 0;
  std::int32_t date_month = 0;
  std::int32_t date_year = 0;
};

struct CalibrationParameters {
  std::int32_t kalib_usr = 0;
  std::int32_t kalib_del = 0;
  std::int32_t usr_ref = 0;
  std::int32_t del_ref = 0;
  std::int32_t usr_ku = 0;
  std::int32_t del_ku = 0;
  std::int32_t usr_ki = 0;
  std::int32_t del_ki = 0;
  std::int32_t wr_grad_immid = 0;
  float rref_min = 0;
  float rref_max = 0;
  float uref_min = 0;
  float uref_max = 0;
  float ku_min = 0;
  float ku_max = 0;
  float ku10_min = 0;
  float ku10_max = 0;
  float ki05_min = 0;
  float ki05_max = 0;
  float ki020_min = 0;
  float ki020_max = 0;
};

struct SensorRange {
  float max = 0;
  float min = 0;
  float pogr = 0;
};

inline constexpr int kSensorTypeCount = 25;
using SensorRangeTable = std::array<SensorRange, kSensorTypeCount>;

struct ProfileDescription {
  std::array<std::string, 4> txt;  // txt0..txt3
};

struct DeviceSettings {
  std::array<ChannelSettings, 2> channel;  // channel 1 first
  RelaySettings relay;
  GeneralSettings general;
  CalibrationParameters calibration;
  SensorRangeTable sensor_ranges{};
  ProfileDescription description;
};

// serial_hi * 256 + serial_lo.
inline std::uint32_t SerialNumber(const GeneralSettings& g) {
  return static_cast<std::uint32_t>(g.serial_hi) * 256u + static_cast<std::uint32_t>(g.serial_lo);
}

}  // namespace zrm
