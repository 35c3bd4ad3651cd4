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
    {"shift", Width::kDword, 1, 1},     {"adj", Width::kDword, 3, 1},
    {"koef0", Width::kDword, 5, 4},     {"koef1", Width::kDword, 6, 4},
    {"koef2", Width::kDword, 7, 4},     {"koef3", Width::kDword, 8, 4},
    {"diap_min", Width::kDword, 13, 1}, {"diap_max", Width::kDword, 15, 1},
    {"th1", Width::kDword, 29, 4},      {"th2", Width::kDword, 30, 4},
    {"spd_th", Width::kDword, 31, 4},   {"spd_his", Width::kDword, 32, 4},
    {"his1", Width::kDword, 37, 4},     {"his2", Width::kDword, 38, 4},
    {"dat", Width::kByte, 315, 1},      {"ns", Width::kByte, 317, 1},
    {"search", Width::kByte, 319, 1},   {"point", Width::kByte, 321, 1},
    {"flag", Width::kByte, 323, 1},     {"ver_rel_proc", Width::kByte, 325, 1},
    {"th_type1", Width::kByte, 327, 4}, {"th_type2", Width::kByte, 328, 4},
    {"reg_int", Width::kByte, 337, 1},  {"pulse_int", Width::kByte, 339, 1},
    {"use", Width::kByte, 341, 1},
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
    {"byte0", 2, 0, Access::kReadWrite},           {"proc_ver", 2, 3, Access::kReadWrite},
    {"err_ver", 2, 4, Access::kReadWrite},         {"rel0_msk0", 2, 6, Access::kReadWrite},
    {"rel0_msk1", 2, 7, Access::kReadWrite},       {"rel1_msk0", 2, 8, Access::kReadWrite},
    {"rel1_msk1", 2, 9, Access::kReadWrite},       {"serial_lo", 2, 11, Access::kReadWrite},
    {"serial_hi", 2, 12, Access::kReadWrite},      {"otk_type", 2, 14, Access::kReadWrite},
    {"date_day", 2, 17, Access::kReadWrite},       {"date_month", 2, 18, Access::kReadWrite},
    {"date_year", 2, 19, Access::kReadWrite},      {"restart", 1, 0, Access::kCommand},
    {"firmware_version", 1, 6, Access::kReadOnly},
};

std::vector<ParameterInfo> BuildTable() {
  std::vector<ParameterInfo> table;
  for (const DeviceParameter& p : kDeviceParameters) {
    table.push_back({ByteParameter(p.space, p.address), p.name, p.access});
  }
  for (const ChannelParameter& p : kChannelParameters) {
    for (int channel = 1; channel <= 2; ++channel) {
      const ParameterKey key{2, p.width, ChannelAddress(p.base, p.step, channel)};
      table.push_back(
          {key, std::string(p.field) + "." + std::to_string(channel), Access::kReadWrite});
    }
  }
  return table;
}

}  // namespace

const std::vector<ParameterInfo>& ParameterTable() {
  static const std::vector<ParameterInfo> kTable = BuildTable();
  return kTable;
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
