#pragma once
// The configuration report: a text page built from the settings record. The
// printed sheet carries it twice, side by side; the page here is one copy.

#include <string>
#include <vector>

#include "report/print_date.h"
#include "settings/device_settings.h"

namespace zrm {

struct ConfigurationPage {
  std::string date_line;          // "Дата печати 6.12.2026"
  std::string device_line;        // "Прибор ЗРМ4810/11Н номер 047-12345"
  std::vector<std::string> body;  // one entry per line; "" is an empty line
  // "Последняя запись в прибор: 08.12.2026 12:01:05, ivanov (stand-3)", set
  // by the caller from the history of changes and shown under everything
  // else; empty when the history knows no write of the instrument.
  std::string last_write_line;
};

// The page of the record for its device type (`proc_ver` 0, 1 or 2). For a
// device type outside 0..2 there is no wording: the device line names the
// code and the number ("Прибор код 5 номер 047-12345") and the body stays
// empty.
ConfigurationPage BuildConfigurationPage(const DeviceSettings& s, PrintDate today);

}  // namespace zrm
