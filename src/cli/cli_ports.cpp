#include <cstdio>

#include "cli/cli_commands.h"
#include "discovery/device_description.h"
#include "discovery/udev_serial_devices.h"

namespace zrm {

int RunPorts(const CliOptions&, CliOperator&, std::FILE* out) {
  for (const SerialDevice& device : ListSerialDevices())
    std::fprintf(out, "%s\n", DeviceLine(device).c_str());
  std::fflush(out);
  return 0;
}

}  // namespace zrm
