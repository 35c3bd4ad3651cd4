#include "lib/parameter_table.h"

#include <algorithm>

namespace zrm::sim {
namespace {

struct ChannelParameter {
  const char* field;
  Width width;
  unsigned base;
  unsigned step;
};

// Channel parameters: channel 2 lives at base + step.
constexpr ChannelParameter kChannelParameters[] = {
    {"shift", Width::Dword, 1, 1},      {"adj", Width::Dword, 3, 1},
    {"koef0", Width::Dword, 5, 4},      {"koef1", Width::Dword, 6, 4},
    {"koef2", Width::Dword, 7, 4},      {"koef3", Width::Dword, 8, 4},
    {"diap_min", Width::Dword, 13, 1},  {"diap_max", Width::Dword, 15, 1},
    {"th1", Width::Dword, 29, 4},       {"th2", Width::Dword, 30, 4},
    {"spd_th", Width::Dword, 31, 4},    {"spd_his", Width::Dword, 32, 4},
    {"his1", Width::Dword, 37, 4},      {"his2", Width::Dword, 38, 4},
    {"dat", Width::Byte, 315, 1},       {"ns", Width::Byte, 317, 1},
    {"search", Width::Byte, 319, 1},    {"point", Width::Byte, 321, 1},
    {"flag", Width::Byte, 323, 1},      {"ver_rel_proc", Width::Byte, 325, 1},
    {"th_type1", Width::Byte, 327, 4},  {"th_type2", Width::Byte, 328, 4},
    {"reg_int", Width::Byte, 337, 1},   {"pulse_int", Width::Byte, 339, 1},
    {"use", Width::Byte, 341, 1},
};

struct DeviceParameter {
  const char* name;
  int space;
  unsigned address;
  Access access;
};

// One-byte parameters of the whole device. Byte 0 of space 2 takes the fixed
// configuration mark (47) every settings write ends with.
constexpr DeviceParameter kDeviceParameters[] = {
    {"byte0", 2, 0, Access::ReadWrite},       {"proc_ver", 2, 3, Access::ReadWrite},
    {"err_ver", 2, 4, Access::ReadWrite},     {"rel0_msk0", 2, 6, Access::ReadWrite},
    {"rel0_msk1", 2, 7, Access::ReadWrite},   {"rel1_msk0", 2, 8, Access::ReadWrite},
    {"rel1_msk1", 2, 9, Access::ReadWrite},   {"serial_lo", 2, 11, Access::ReadWrite},
    {"serial_hi", 2, 12, Access::ReadWrite},  {"otk_type", 2, 14, Access::ReadWrite},
    {"date_day", 2, 17, Access::ReadWrite},   {"date_month", 2, 18, Access::ReadWrite},
    {"date_year", 2, 19, Access::ReadWrite},  {"restart", 1, 0, Access::Command},
    {"firmware_version", 1, 6, Access::ReadOnly},
};

std::vector<ParameterInfo> BuildTable() {
  std::vector<ParameterInfo> table;
  for (const DeviceParameter& p : kDeviceParameters) {
    table.push_back({ByteParameter(p.space, p.address), p.name, p.access});
  }
  for (const ChannelParameter& p : kChannelParameters) {
    for (int channel = 1; channel <= 2; ++channel) {
      const ParameterKey key{2, p.width, ChannelAddress(p.base, p.step, channel)};
      table.push_back({key, std::string(p.field) + "." + std::to_string(channel), Access::ReadWrite});
    }
  }
  return table;
}

}  // namespace

const std::vector<ParameterInfo>& ParameterTable() {
  static const std::vector<ParameterInfo> table = BuildTable();
  return table;
}

const ParameterInfo* FindParameter(const ParameterKey& key) {
  const auto& table = ParameterTable();
  const auto it = std::find_if(table.begin(), table.end(),
                               [&](const ParameterInfo& p) { return p.key == key; });
  return it == table.end() ? nullptr : &*it;
}

const ParameterInfo* FindParameterByName(std::string_view name) {
  const auto& table = ParameterTable();
  const auto it = std::find_if(table.begin(), table.end(),
                               [&](const ParameterInfo& p) { return p.name == name; });
  return it == table.end() ? nullptr : &*it;
}

}  // namespace zrm::sim
