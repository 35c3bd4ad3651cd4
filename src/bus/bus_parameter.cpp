#include "bus/bus_parameter.h"

namespace zrm {

BusParameterPlace PlaceOf(BusParameter parameter) {
  static constexpr std::array<ChannelField, 4> kFields = {ChannelField::kTh1, ChannelField::kHis1,
                                                          ChannelField::kTh2, ChannelField::kHis2};
  const std::size_t index = IndexOf(parameter);
  return {static_cast<int>(index / kFields.size()), kFields[index % kFields.size()]};
}

std::size_t IndexOf(BusParameter parameter) { return static_cast<std::size_t>(parameter); }

}  // namespace zrm
