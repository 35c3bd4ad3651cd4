#include "lib/bus_options.h"

namespace zrm::sim {

SimulatorOptions BusOptions(const std::vector<unsigned>& addresses, unsigned baud) {
  SimulatorOptions options;
  options.address = addresses.front();
  options.more_addresses.assign(addresses.begin() + 1, addresses.end());
  options.baud = baud;
  options.check_speed = true;
  options.line_timing = true;
  return options;
}

}  // namespace zrm::sim
