#pragma once
// Where each parameter the plant may write lives in the instrument's map.

#include <array>

#include "bus/bus_events.h"
#include "settings/parameter_map.h"

namespace zrm {

// Every writable parameter, in the order of BusParameter.
inline constexpr std::array<BusParameter, 8> kBusParameters = {
    BusParameter::kCh1Th1, BusParameter::kCh1His1, BusParameter::kCh1Th2, BusParameter::kCh1His2,
    BusParameter::kCh2Th1, BusParameter::kCh2His1, BusParameter::kCh2Th2, BusParameter::kCh2His2};

// A parameter's channel index (0 or 1) and its field in the channel map.
struct BusParameterPlace {
  int channel = 0;
  ChannelField field = ChannelField::kTh1;
};

// The channel and field of `parameter`.
BusParameterPlace PlaceOf(BusParameter parameter);

// The parameter's index in kBusParameters (0..7).
std::size_t IndexOf(BusParameter parameter);

}  // namespace zrm
