#include "gui/dialogs/comparison_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

constexpr int kColumns = 4;

QString SummaryText(std::size_t count, bool with_backup) {
  if (count == 0) return ToQ(with_backup ? text::kNoDifferencesFromBackup : text::kNoDifferences);
  return ToQ(text::kDifferencesFound) + QString::number(count);
}

}  // namespace

ComparisonDialog::ComparisonDialog(const std::vector<SettingDifference>& differences,
                                   QWidget* parent, const QString& backup)
    : QDialog(parent), table_(new QTableWidget(static_cast<int>(differences.size()), kColumns)) {
  setObjectName("ComparisonDialog");
  setWindowTitle(backup.isEmpty() ? ToQ(text::kCompareTitle)
                                  : ToQ(text::kCompareBackupTitle) + backup);
  setAttribute(Qt::WA_DeleteOnClose);
  table_->setObjectName("DifferencesTable");
  table_->setHorizontalHeaderLabels(
      {ToQ(text::kGroupColumn), ToQ(text::kParameterColumn), ToQ(text::kInDeviceColumn),
       ToQ(backup.isEmpty() ? text::kInEditorColumn : text::kInBackupColumn)});
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->verticalHeader()->hide();
  for (int row = 0; row < static_cast<int>(differences.size()); ++row) {
    const SettingDifference& d = differences[static_cast<std::size_t>(row)];
    const std::string cells[kColumns] = {d.group, d.label, d.instrument, d.profile};
    for (int col = 0; col < kColumns; ++col)
      table_->setItem(row, col, new QTableWidgetItem(ToQ(cells[col])));
  }
  // Group and parameter as wide as their texts; the two values share the rest.
  QHeaderView* head = table_->horizontalHeader();
  head->setSectionResizeMode(0, QHeaderView::ResizeToContents);
  head->setSectionResizeMode(1, QHeaderView::ResizeToContents);
  head->setSectionResizeMode(2, QHeaderView::Stretch);
  head->setSectionResizeMode(3, QHeaderView::Stretch);

  auto* buttons = new QDialogButtonBox;
  QPushButton* copy = buttons->addButton(ToQ(text::kCopyButton), QDialogButtonBox::ActionRole);
  copy->setObjectName("CopyButton");
  copy->setAutoDefault(false);
  QPushButton* close = buttons->addButton(ToQ(text::kCloseButton), QDialogButtonBox::RejectRole);
  // Enter closes the comparison; copying is Ctrl+C or the button.
  close->setObjectName("CloseButton");
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  const auto copy_text = [this] { QApplication::clipboard()->setText(SelectedText()); };
  connect(copy, &QPushButton::clicked, this, copy_text);
  connect(new QShortcut(QKeySequence::Copy, this), &QShortcut::activated, this, copy_text);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(SummaryText(differences.size(), !backup.isEmpty())));
  layout->addWidget(table_, 1);
  layout->addWidget(buttons);
  resize(760, 420);
}

QString ComparisonDialog::SelectedText() const {
  QStringList lines;
  QStringList head;
  for (int col = 0; col < kColumns; ++col) head << table_->horizontalHeaderItem(col)->text();
  lines << head.join('\t');
  const bool any_selected = !table_->selectionModel()->selectedRows().isEmpty();
  for (int row = 0; row < table_->rowCount(); ++row) {
    if (any_selected && !table_->selectionModel()->isRowSelected(row)) continue;
    QStringList cells;
    for (int col = 0; col < kColumns; ++col) cells << table_->item(row, col)->text();
    lines << cells.join('\t');
  }
  return lines.join('\n') + '\n';
}

}  // namespace zrm::gui
