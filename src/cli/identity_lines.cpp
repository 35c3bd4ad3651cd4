#include "cli/identity_lines.h"
#include "settings/instrument_identity_text.h"

#include <cstdio>


namespace zrm {

std::string IdentityLines(const DeviceSettings& s) {
  const GeneralSettings& g = s.general;
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "%03u", static_cast<unsigned>(g.otk_type));
  return "serial_number=" + std::to_string(g.serial_hi * 256 + g.serial_lo) + "\n" +
         "otk_type=" + prefix + "\n" +
         "firmware_version=" + FirmwareVersionText(g.firmware_version) + "\n" +
         "date=" + std::to_string(g.date_day) + "." + std::to_string(g.date_month) + "." +
         std::to_string(g.date_year) + "\n";
}

}  // namespace zrm
