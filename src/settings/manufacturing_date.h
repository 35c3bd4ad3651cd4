#pragma once
// Until the first read from an instrument, the manufacturing date of the
// record holds the computer's date of the program start.

#include "settings/device_settings.h"

namespace zrm {

// Sets date_day, date_month and date_year to today's local date.
void SetManufacturingDateToToday(GeneralSettings& general);

}  // namespace zrm
