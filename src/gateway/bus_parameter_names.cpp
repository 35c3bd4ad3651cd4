#include "gateway/bus_parameter_names.h"

namespace zrm {
namespace {

constexpr std::array<std::string_view, 8> kNames = {"ch1_th1", "ch1_his1", "ch1_th2", "ch1_his2",
                                                    "ch2_th1", "ch2_his1", "ch2_th2", "ch2_his2"};

std::size_t IndexOf(BusParameter parameter) { return static_cast<std::size_t>(parameter); }

}  // namespace

std::string_view BusParameterName(BusParameter parameter) { return kNames[IndexOf(parameter)]; }

std::optional<BusParameter> BusParameterByName(std::string_view name) {
  for (BusParameter p : kAllBusParameters)
    if (BusParameterName(p) == name) return p;
  return std::nullopt;
}

std::uint16_t HoldingRegisterOf(BusParameter parameter) {
  return static_cast<std::uint16_t>(kFirstHoldingRegister + 2 * IndexOf(parameter));
}

}  // namespace zrm
