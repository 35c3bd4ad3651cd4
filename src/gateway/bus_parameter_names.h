#pragma once
// The names the plant writes the eight parameters by (topic level, the
// configuration's Parameters=) and their holding registers.

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

#include "bus/bus_events.h"

namespace zrm {

inline constexpr std::array<BusParameter, 8> kAllBusParameters = {
    BusParameter::kCh1Th1, BusParameter::kCh1His1, BusParameter::kCh1Th2, BusParameter::kCh1His2,
    BusParameter::kCh2Th1, BusParameter::kCh2His1, BusParameter::kCh2Th2, BusParameter::kCh2His2};

// The first holding register of the parameters: each takes two, in the
// order of kAllBusParameters.
inline constexpr std::uint16_t kFirstHoldingRegister = 100;

// "ch1_th1" ... "ch2_his2".
std::string_view BusParameterName(BusParameter parameter);

// The parameter of a name; empty for any other text (names are exact).
std::optional<BusParameter> BusParameterByName(std::string_view name);

// The first of the parameter's two holding registers (100, 102, ... 114).
std::uint16_t HoldingRegisterOf(BusParameter parameter);

}  // namespace zrm
