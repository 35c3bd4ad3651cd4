#pragma once
// The bus poller as the sinks' BusAccess.

#include "bus/bus_poller.h"
#include "gateway/bus_access.h"

namespace zrm {

class PollerBusAccess : public BusAccess {
 public:
  // `poller` must outlive this object.
  explicit PollerBusAccess(BusPoller& poller) : poller_(poller) {}

  std::optional<BusSnapshot> SnapshotOf(std::size_t line, std::uint32_t address) const override;
  std::optional<float> ParameterValue(std::size_t line, std::uint32_t address,
                                      BusParameter parameter) const override;
  void RequestWrite(std::size_t line, std::uint32_t address, BusParameter parameter, float value,
                    const std::string& origin, WriteDone done) override;
  std::vector<BusLineStats> LineStats() const override { return poller_.Stats(); }

 private:
  BusPoller& poller_;
};

}  // namespace zrm
