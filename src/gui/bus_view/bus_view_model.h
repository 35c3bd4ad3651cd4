#pragma once
// The table of the window "Приборы на линии": one row per instrument, in
// the order of the polled addresses, made from the poller's snapshots.
// Offline rows keep their last values in grey; the time since the last
// answer grows with every Refresh.

#include <QAbstractTableModel>
#include <chrono>
#include <vector>

#include "bus/bus_snapshot.h"
#include "gui/bus_view/bus_view_row.h"

namespace zrm::gui {

class BusViewModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  using Clock = std::chrono::steady_clock;

  explicit BusViewModel(QObject* parent = nullptr);

  // The instruments polled from now on, one row each, in this order.
  void SetInstruments(const std::vector<BusSnapshot>& snapshots);
  // An instrument's new snapshot; one of an address not shown is ignored.
  void Update(const BusSnapshot& snapshot);
  // The line's device vanished (true) or is back (false): every row says so
  // at once.
  void SetLineGone(bool gone);
  // The rows made anew at steady time `now` (the time since the last answer).
  void Refresh(Clock::time_point now);

  // True when there are rows and none of them answers (all offline).
  bool NoneAnswers() const;
  // The address of row `row`; 0 outside the table.
  std::uint32_t AddressAt(int row) const;
  const BusViewRow& RowAt(int row) const { return rows_[static_cast<std::size_t>(row)]; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<BusSnapshot> snapshots_;
  std::vector<BusViewRow> rows_;
  Clock::time_point now_;
  bool line_gone_ = false;
};

}  // namespace zrm::gui
