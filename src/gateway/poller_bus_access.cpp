#include "gateway/poller_bus_access.h"

#include <utility>

namespace zrm {

std::optional<BusSnapshot> PollerBusAccess::SnapshotOf(std::size_t line,
                                                       std::uint32_t address) const {
  return poller_.SnapshotOf(line, address);
}

std::optional<float> PollerBusAccess::ParameterValue(std::size_t line, std::uint32_t address,
                                                     BusParameter parameter) const {
  return poller_.ParameterValue(line, address, parameter);
}

void PollerBusAccess::RequestWrite(std::size_t line, std::uint32_t address, BusParameter parameter,
                                   float value, const std::string& /*origin*/,
                                   WriteDone done) {
  poller_.RequestWrite(line, address, parameter, value, std::move(done));
}

}  // namespace zrm
