#pragma once
// The dialogs of "Найти прибор…": what to search (speeds, address range,
// the probe's margin) and what was found, with "Использовать".

#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <array>

#include "app/instrument_search.h"

namespace zrm::gui {

class SearchPlanDialog : public QDialog {
  Q_OBJECT

 public:
  explicit SearchPlanDialog(QWidget* parent = nullptr);

  // The plan as the dialog shows it now; no speed ticked gives no speeds.
  SearchPlan Plan() const;

 private:
  std::array<QCheckBox*, std::size(kSearchSpeeds)> speed_;  // Speed4800..Speed57600
  QSpinBox* first_address_;                                 // FirstAddress
  QSpinBox* last_address_;                                  // LastAddress
  QSpinBox* margin_;                                        // ProbeMargin
  QPushButton* find_;                                       // FindButton
};

class FoundDialog : public QDialog {
  Q_OBJECT

 public:
  explicit FoundDialog(const SearchOutcome& outcome, QWidget* parent = nullptr);

  // The row of the instrument chosen for "Использовать".
  int ChosenRow() const { return found_->currentRow(); }

 private:
  QTableWidget* found_;  // FoundGrid
  QPushButton* use_;     // UseButton
};

}  // namespace zrm::gui
