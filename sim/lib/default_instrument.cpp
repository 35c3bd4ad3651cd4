#include "lib/default_instrument.h"

#include <bit>
#include <cstdint>

#include "lib/parameter_table.h"

namespace zrm::sim {
namespace {

struct NamedByte {
  const char* name;
  std::uint8_t value;
};

struct NamedFloat {
  const char* name;
  float value;
};

constexpr NamedByte kBytes[] = {
    {"byte0", 47},       {"proc_ver", 1},     {"err_ver", 1},
    // Relay 1: set point 1 and break of channel 1. Relay 2: set point 2 of
    // channel 1 and set point 1 of channel 2.
    {"rel0_msk0", 0x05}, {"rel0_msk1", 0x00}, {"rel1_msk0", 0x02}, {"rel1_msk1", 0x01},
    {"serial_lo", 0x39}, {"serial_hi", 0x30}, {"otk_type", 47},
    {"date_day", 17},    {"date_month", 3},   {"date_year", 21},
    {"firmware_version", 0x5A},
    // Channel 1: Pt100, rising alarm at 150, falling alarm at 20.
    {"dat.1", 8}, {"ns.1", 1}, {"search.1", 2}, {"point.1", 1}, {"flag.1", 0},
    {"ver_rel_proc.1", 1}, {"th_type1.1", 2}, {"th_type2.1", 1},
    {"reg_int.1", 30}, {"pulse_int.1", 5}, {"use.1", 0},
    // Channel 2: 4-20 mA scaled to 0..10, rising alarm at 8.
    {"dat.2", 19}, {"ns.2", 2}, {"search.2", 2}, {"point.2", 2}, {"flag.2", 0},
    {"ver_rel_proc.2", 1}, {"th_type1.2", 2}, {"th_type2.2", 0},
    {"reg_int.2", 30}, {"pulse_int.2", 5}, {"use.2", 0},
};

constexpr NamedFloat kFloats[] = {
    {"diap_min.1", -50.0f}, {"diap_max.1", 600.0f}, {"shift.1", 0.0f}, {"adj.1", 1.0f},
    {"th1.1", 150.0f}, {"his1.1", 2.0f}, {"th2.1", 20.0f}, {"his2.1", 2.0f},
    {"spd_th.1", 0.1f}, {"spd_his.1", 0.01f},
    {"diap_min.2", 0.0f}, {"diap_max.2", 10.0f}, {"shift.2", 0.0f}, {"adj.2", 1.0f},
    {"th1.2", 8.0f}, {"his1.2", 0.2f}, {"th2.2", 9.0f}, {"his2.2", 0.02f},
    {"spd_th.2", 0.01f}, {"spd_his.2", 0.01f},
};

}  // namespace

ParameterMemory DefaultInstrumentMemory() {
  ParameterMemory memory;
  for (const NamedByte& b : kBytes) {
    memory.SetValue(FindParameterByName(b.name)->key, b.value);
  }
  for (const NamedFloat& f : kFloats) {
    memory.SetValue(FindParameterByName(f.name)->key, std::bit_cast<std::uint32_t>(f.value));
  }
  return memory;
}

}  // namespace zrm::sim
