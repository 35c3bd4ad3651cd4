#include "app/found_instrument_text.h"

#include "app/app_texts.h"
#include "settings/instrument_identity_text.h"

namespace zrm {

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
