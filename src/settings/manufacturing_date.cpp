#include "settings/manufacturing_date.h"

#include <ctime>

namespace zrm {

void SetManufacturingDateToToday(GeneralSettings& general) {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  general.date_day = local.tm_mday;
  general.date_month = local.tm_mon + 1;
  general.date_year = local.tm_year + 1900;
}

}  // namespace zrm
