#include "gui/bus_view/bus_view_model.h"

#include <QColor>
#include <algorithm>

#include "gui/texts/qt_text.h"

namespace zrm::gui {

namespace {

// The page "Текущие значения" colours lamps yellow and a switched-off
// channel in the button face; an offline row is grey throughout.
const QColor kLitColour(Qt::yellow);
const QColor kOffColour(0xD4, 0xD0, 0xC8);
const QColor kGreyRowColour(0xE4, 0xE4, 0xE4);
const QColor kGreyTextColour(0x80, 0x80, 0x80);

}  // namespace

BusViewModel::BusViewModel(QObject* parent) : QAbstractTableModel(parent), now_(Clock::now()) {}

void BusViewModel::SetInstruments(const std::vector<BusSnapshot>& snapshots) {
  beginResetModel();
  snapshots_ = snapshots;
  rows_.clear();
  for (const BusSnapshot& snapshot : snapshots_)
    rows_.push_back(BusViewRowOf(snapshot, now_, line_gone_));
  endResetModel();
}

void BusViewModel::Update(const BusSnapshot& snapshot) {
  for (std::size_t i = 0; i < snapshots_.size(); ++i) {
    if (snapshots_[i].address != snapshot.address) continue;
    snapshots_[i] = snapshot;
    rows_[i] = BusViewRowOf(snapshot, now_, line_gone_);
    const int row = static_cast<int>(i);
    emit dataChanged(index(row, 0), index(row, kBusViewColumnCount - 1));
    return;
  }
}

void BusViewModel::SetLineGone(bool gone) {
  if (line_gone_ == gone) return;
  line_gone_ = gone;
  Refresh(now_);
}

void BusViewModel::Refresh(Clock::time_point now) {
  now_ = now;
  for (std::size_t i = 0; i < snapshots_.size(); ++i)
    rows_[i] = BusViewRowOf(snapshots_[i], now_, line_gone_);
  if (!rows_.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kBusViewColumnCount - 1));
}

bool BusViewModel::NoneAnswers() const {
  return !rows_.empty() && std::all_of(rows_.begin(), rows_.end(),
                                       [](const BusViewRow& row) { return row.grey; });
}

std::uint32_t BusViewModel::AddressAt(int row) const {
  if (row < 0 || row >= rowCount()) return 0;
  return snapshots_[static_cast<std::size_t>(row)].address;
}

int BusViewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int BusViewModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kBusViewColumnCount;
}

QVariant BusViewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const BusViewRow& row = RowAt(index.row());
  const auto column = static_cast<std::size_t>(index.column());
  switch (role) {
    case Qt::DisplayRole: return ToQ(row.cells[column]);
    case Qt::TextAlignmentRole:
      return index.column() == kValue1Column || index.column() == kValue2Column
                 ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                 : QVariant();
    case Qt::ForegroundRole: return row.grey ? QVariant(kGreyTextColour) : QVariant();
    case Qt::BackgroundRole:
      if (row.grey) return kGreyRowColour;
      if (row.tones[column] == CellTone::kLit) return kLitColour;
      if (row.tones[column] == CellTone::kOff) return kOffColour;
      return {};
    default: return {};
  }
}

QVariant BusViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
      section >= kBusViewColumnCount)
    return {};
  return ToQ(BusViewColumnHeads()[static_cast<std::size_t>(section)]);
}

}  // namespace zrm::gui
