#include "gui/dialogs/history_model.h"

#include <QColor>

#include "app/history_table.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

QString CellText(const HistoryEvent& e, int column) {
  switch (column) {
    case HistoryModel::kTime: return ToQ(HistoryLocalTime(e.time_ms));
    case HistoryModel::kWho: return ToQ(HistoryWho(e));
    case HistoryModel::kWhere: return ToQ(HistoryWhere(e));
    case HistoryModel::kInstrument: return ToQ(HistoryInstrument(e));
    case HistoryModel::kAction: return ToQ(HistoryActionName(e.action));
    case HistoryModel::kOutcome: return ToQ(HistoryOutcome(e));
    case HistoryModel::kChanges: return ToQ(HistoryChanges(e));
    default: return {};
  }
}

// What the row does not show: the program, the firmware, the files.
QString Details(const HistoryEvent& e) {
  QStringList lines = {ToQ(text::kHistoryProgram) + ToQ(e.program + " " + e.version)};
  if (!e.firmware.empty()) lines << ToQ(text::kHistoryFirmware) + ToQ(e.firmware);
  if (!e.backup.empty()) lines << ToQ(text::kHistoryBackupFile) + ToQ(e.backup);
  if (!e.journal.empty()) lines << ToQ(text::kHistoryJournalFile) + ToQ(e.journal);
  return lines.join('\n');
}

}  // namespace

void HistoryModel::SetRows(std::vector<HistoryEvent> events, std::vector<std::size_t> order,
                           const HistoryFilter& filter) {
  beginResetModel();
  events_ = std::move(events);
  order_ = std::move(order);
  Select(filter);
  endResetModel();
}

void HistoryModel::Filter(const HistoryFilter& filter) {
  beginResetModel();
  Select(filter);
  endResetModel();
}

void HistoryModel::Select(const HistoryFilter& filter) {
  shown_.clear();
  for (const std::size_t i : order_)
    if (RowMatches(events_[i], filter)) shown_.push_back(i);
}

int HistoryModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(shown_.size());
}

int HistoryModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant HistoryModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const HistoryEvent& e = RowAt(index.row());
  switch (role) {
    case Qt::DisplayRole: return CellText(e, index.column());
    case Qt::ToolTipRole:
      return index.column() == kChanges && !e.changes.empty() ? CellText(e, kChanges) : Details(e);
    case Qt::TextAlignmentRole: return QVariant::fromValue(Qt::AlignLeft | Qt::AlignTop);
    case Qt::ForegroundRole:
      // What did not end well stands out.
      if (index.column() == kOutcome && e.result != 0) return QColor(Qt::darkRed);
      return {};
    default: return {};
  }
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  static const char* const kHeads[kColumnCount] = {
      text::kHistoryTimeColumn,       text::kHistoryWhoColumn,    text::kHistoryWhereColumn,
      text::kHistoryInstrumentColumn, text::kHistoryActionColumn, text::kHistoryOutcomeColumn,
      text::kHistoryChangesColumn};
  return section >= 0 && section < kColumnCount ? ToQ(kHeads[section]) : QVariant();
}

}  // namespace zrm::gui
