#pragma once
// The calendar date a report is printed on.

namespace zrm {

struct PrintDate {
  int day = 1;
  int month = 1;
  int year = 2000;
};

// Today's date on the computer's local clock.
PrintDate LocalDateToday();

}  // namespace zrm
