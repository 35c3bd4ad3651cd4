#include "report/print_date.h"

#include <ctime>

namespace zrm {

PrintDate LocalDateToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return PrintDate{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

}  // namespace zrm
