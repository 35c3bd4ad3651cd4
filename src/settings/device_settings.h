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
  std::int32_t dat = 0;   // sensor type code 0..24, index into sensor_ranges
  float diap_max = 0;     // upper end of the measuring range
  float diap_min = 0;     // lower end of the measuring range
  float lin = 0;          // line resistance of a two-wire resistance sensor, Ohm
  std::int32_t wire = 0;  // wires of the sensor connection (kept as read)
  std::int32_t flag = 0;  // 1: square root of a unified signal
  std::int32_t ns = 0;    // averagings of the measured value, 1..10
  float shift = 0;        // offset added to the measured value
  float adj = 0;          // adjustment factor of the range span
  float koef0 = 0;        // correcting polynomial, coefficients 0..3
  float koef1 = 0;
  float koef2 = 0;
  float koef3 = 0;
  std::int32_t th_type1 = 0;      // set point 1: 0 none, 1 falling, 2 rising
  std::int32_t th_type2 = 0;      // set point 2, as th_type1
  float th1 = 0;                  // set point 1 value
  float th2 = 0;                  // set point 2 value
  float his1 = 0;                 // hysteresis of set point 1
  float his2 = 0;                 // hysteresis of set point 2
  std::int32_t search = 0;        // equal observations before a relay switches, 1..10
  std::int32_t use = 0;           // 1: the channel is out of work
  std::int32_t point = 0;         // digits after the decimal point, 0..3
  std::int32_t ver_rel_proc = 0;  // relay logic: 0 simple, 1 extended, 2 valve control
  std::int32_t reg_int = 0;       // regulator decision interval, 10..240 s
  std::int32_t pulse_int = 0;     // longest regulator pulse, 5..60 s
  std::string text;               // channel name
  std::string unit;               // unit of measure
  std::int32_t select = 0;        // 0: this channel is not transferred
  float uref = 0;                 // calibration values of the inputs: reference voltage,
  float rref = 0;                 // reference resistor,
  float ku = 0;                   // gains of the 100 mV and 10 V inputs,
  float ku10 = 0;
  float ki05 = 0;  // gains of the 0-5 mA and 0-20 mA inputs
  float ki020 = 0;
  float set_ra = 0;  // calibration set values: resistances A and B, Ohm,
  float set_rb = 0;
  float set_ku = 0;  // and the nominal signals of each input
  float set_ku10 = 0;
  float set_ki05 = 0;
  float set_ki020 = 0;
  float spd_th = 0;   // step of set point change
  float spd_his = 0;  // step of hysteresis change
};

struct RelaySettings {
  std::int32_t select = 0;     // not 1: the relay logic is not transferred
  std::int32_t use = 0;        // kept as read
  std::int32_t test = 0;       // kept as read
  std::int32_t rel0_msk0 = 0;  // event masks: relay 1, words 0 and 1,
  std::int32_t rel0_msk1 = 0;
  std::int32_t rel1_msk0 = 0;  // relay 2, words 0 and 1
  std::int32_t rel1_msk1 = 0;
};

struct GeneralSettings {
  std::int32_t gen_select = 0;  // 0: the general parameters are not transferred
  std::int32_t proc_ver = 0;    // device type: 0 4810/11, 1 4813, 2 4816
  std::int32_t use_max = 0;     // 1: the next display resets unified ranges to nominal
  std::int32_t otk_type = 0;    // prefix of the serial number (three digits, "047")
  std::int32_t err_ver = 0;     // error display: 0 simple, 1 extended
  std::int32_t serial_lo = 0;   // serial number, low and high byte (not in profiles)
  std::int32_t serial_hi = 0;
  std::int32_t firmware_version = 0;  // C.B.A packed: C bits 6.., B 4-5, A 0-3
  std::int32_t date_day = 0;          // manufacturing date (not in profiles)
  std::int32_t date_month = 0;
  std::int32_t date_year = 0;
};

// Carried in profiles ("Grad"), used by nothing else: the calibration
// periods and the acceptance limits of the calibration values.
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
  float max = 0;   // upper end of the sensor's range
  float min = 0;   // lower end
  float pogr = 0;  // permissible basic error, percent (printed in the report)
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
