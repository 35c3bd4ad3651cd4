#pragma once
// Opening the serial port the workstation is configured for, with the
// message the user sees when it cannot be opened.

#include <cstdint>
#include <string>

#include "link/link_config.h"
#include "platform/operator.h"
#include "platform/port_line.h"

namespace zrm {

// Opens `path` at `speed` in `modes`. On failure shows "Невозможно открыть
// последовательный порт" (caption "Ошибка", error icon) with the device path
// and the reason on a second line, and leaves the port closed; the program
// stays usable and exchanges end with result 2. True when the port is open.
bool OpenPort(PortLine& port, const std::string& path, std::int32_t speed, Operator& op,
              PortModes modes = {});

// Opens the device of the configured port number at the configured speed,
// in the modes configured for it and those of `asked` (the command line's).
// A port number outside 1..4 closes the port and opens nothing, silently
// (the start-up has warned about it).
bool OpenConfiguredPort(PortLine& port, const LinkConfig& config, Operator& op,
                        PortModes asked = {});

}  // namespace zrm
