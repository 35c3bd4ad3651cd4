#pragma once
// The name proposed for a file the window exports (the trend as CSV, the
// report as PDF): the instrument and the time, so files of several
// instruments and sessions sort and never overwrite each other,
// "ZRM4813-047-12345-20261207-1405.csv".

#include <QDateTime>
#include <QString>

#include "editor/editor_form.h"

namespace zrm::gui {

// Model from the device type shown ("ZRM48XX" when none), the instrument's
// prefix and serial number, `when` as yyyyMMdd-hhmm, then "." and `suffix`.
QString ExportFileName(const EditorForm& form, const QDateTime& when, const char* suffix);

}  // namespace zrm::gui
