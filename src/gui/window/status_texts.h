#pragma once
// The texts of the window's status bar: what the last command did, for how
// long and with which instrument, or where a file went. They report
// outcomes; errors still get their own box.

#include <QString>
#include <string>

#include "app/changes_write_command.h"
#include "app/instrument_search.h"
#include "editor/editor_form.h"
#include "link/exchange_result.h"

namespace zrm::gui {

// The instrument the editor shows: prefix and serial number, "047-12345";
// the serial number alone when no prefix is chosen.
QString DeviceNameOf(const EditorForm& form);

// The port that could not be opened: "Порт не открыт: /dev/ttyUSB0", or
// "Порт не открыт" when the port number has no device.
QString PortNotOpenText(const std::string& path);

// Seconds with one decimal and the Russian decimal comma: "2,9 с".
QString SecondsText(double seconds);

// After a good read, write or report of the instrument shown in `form`.
QString ReadDoneStatus(const EditorForm& form, double seconds);
QString WriteDoneStatus(const EditorForm& form, double seconds);
QString ReportDoneStatus(const EditorForm& form, double seconds);

// After a command that ended with result `r` (not 0): its message.
QString CommandFailedStatus(ExchangeResult r);

// After a write of changes (also one that ends an unfinished write) that
// ended with `r`: how many parameters it wrote, that there was nothing to
// write, or its failure.
QString ChangesStatus(ExchangeResult r, const ChangesWriteOutcome& outcome);

// After a search: how many it found, and how it ended when it did not run
// to its end ("Поиск остановлен пользователем. Найдено приборов: 2").
QString SearchStatus(const SearchOutcome& outcome);

}  // namespace zrm::gui
