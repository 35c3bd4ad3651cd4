#pragma once
// The rows of "История изменений" for its view: every row the history gave,
// of which those that pass the dialog's dates and action are shown. Cells
// are made when the view asks for them, so a history of 100 000 events
// lists at once.

#include <QAbstractTableModel>
#include <vector>

#include "app/history_rows.h"
#include "history/history_store.h"

namespace zrm::gui {

class HistoryModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  enum Column { kTime, kWho, kWhere, kInstrument, kAction, kOutcome, kChanges, kColumnCount };

  using QAbstractTableModel::QAbstractTableModel;

  // Takes the listed `events` (oldest first) with their rows' `order` (as
  // HistoryRowOrder gives it) and shows the rows that pass `filter`.
  void SetRows(std::vector<HistoryEvent> events, std::vector<std::size_t> order,
               const HistoryFilter& filter);
  // Shows the rows that pass `filter`'s times and action.
  void Filter(const HistoryFilter& filter);
  // How many rows there are, shown or not.
  int AllRows() const { return static_cast<int>(order_.size()); }
  // The event of the shown row `row`.
  const HistoryEvent& RowAt(int row) const {
    return events_[shown_[static_cast<std::size_t>(row)]];
  }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  void Select(const HistoryFilter& filter);

  std::vector<HistoryEvent> events_;
  std::vector<std::size_t> order_;  // every row, newest first: indices into events_
  std::vector<std::size_t> shown_;  // the rows that pass the filter
};

}  // namespace zrm::gui
