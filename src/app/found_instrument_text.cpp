#include "app/found_instrument_text.h"

#include <cstdio>

#include "app/app_texts.h"
#include "editor/item_lists.h"
#include "settings/firmware_version.h"

namespace zrm {

std::string DeviceTypeName(std::int32_t device_type) {
  const std::vector<std::string>& items = DeviceTypeItems();
  if (device_type < 0 || static_cast<std::size_t>(device_type) >= items.size()) return "?";
  return items[static_cast<std::size_t>(device_type)];
}

std::string SerialText(std::int32_t prefix, std::uint32_t serial_number) {
  char text[32];
  std::snprintf(text, sizeof text, "%03d-%05u", prefix, serial_number);
  return text;
}

std::string FoundInstrumentLine(const FoundInstrument& found) {
  std::string line = std::to_string(found.address) + "\t" + std::to_string(found.speed) + "\t";
  if (!found.identified)
    return line + "-\t-\t-\t" + FirmwareVersionText(found.firmware_version) + "\t-";
  return line + std::to_string(found.device_type) + "\t" + DeviceTypeName(found.device_type) +
         "\t" + SerialText(found.prefix, found.serial_number) + "\t" +
         FirmwareVersionText(found.firmware_version) + "\t" + std::to_string(found.date_day) + "." +
         std::to_string(found.date_month) + "." + std::to_string(found.date_year);
}

std::string GarbledAnswerLine(const GarbledAnswer& garbled) {
  return std::string(app_texts::kSearchOtherSpeed) + ": " + app_texts::kSearchAddress +
         std::to_string(garbled.address) + app_texts::kSearchUnreadableAt +
         std::to_string(garbled.speed) + app_texts::kSearchUnreadableEnd;
}

}  // namespace zrm
