#pragma once
// The result of "Сравнить с прибором": the differences in a table of four
// columns (group, parameter, instrument, editor or backup) that the user can select
// and copy (Ctrl+C or the button: tab-separated lines, as a spreadsheet
// takes them). The dialog is not modal: the window stays usable beside it.

#include <QDialog>
#include <vector>

#include "editor/settings_comparison.h"

class QTableWidget;

namespace zrm::gui {

class ComparisonDialog : public QDialog {
  Q_OBJECT

 public:
  // The differences from the editor; with `backup` (its file name), from
  // that backup, which the title and the fourth column then name.
  ComparisonDialog(const std::vector<SettingDifference>& differences, QWidget* parent,
                   const QString& backup = {});

  // The selected rows as tab-separated lines (every row when none is
  // selected), with the column heads first.
  QString SelectedText() const;

 private:
  QTableWidget* table_;
};

}  // namespace zrm::gui
