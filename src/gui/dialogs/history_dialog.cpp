#include "gui/dialogs/history_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QThread>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "app/history_reading.h"
#include "app/history_settings.h"
#include "app/history_table.h"
#include "gui/dialogs/file_dialog.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"
#include "platform/atomic_file.h"

namespace zrm::gui {

namespace {

// No column but the changes, which take the rest, gets wider than this;
// each gets this much room beside its widest text.
constexpr int kWidestColumn = 320;
constexpr int kColumnPadding = 12;

// What a reading off the window's thread brings back.
struct LoadedHistory {
  std::optional<std::vector<HistoryEvent>> events;
  std::vector<std::size_t> order;
  std::string error;
};

QString AskCsvPath(QWidget* parent, const QString& proposed) {
  return AskCsvSaveName(parent, "HistoryCsvDialog", ToQ(text::kHistoryExportTitle), proposed);
}

QDateEdit* MakeDateEdit(const char* name, const QDate& date) {
  auto* edit = new QDateEdit(date);
  edit->setObjectName(name);
  edit->setCalendarPopup(true);
  edit->setDisplayFormat(ToQ(text::kHistoryDateFormat));
  return edit;
}

QCheckBox* MakeCheckBox(const char* name, const char* caption) {
  auto* box = new QCheckBox(ToQ(caption));
  box->setObjectName(name);
  return box;
}

}  // namespace

HistoryDialog::HistoryDialog(std::string working_dir, const std::string& instrument,
                             DialogService& dialogs, std::function<void(const QString&)> compare,
                             QWidget* parent)
    : QDialog(parent),
      dir_(std::move(working_dir)),
      instrument_(instrument),
      dialogs_(dialogs),
      compare_(std::move(compare)),
      choose_csv_path_(AskCsvPath),
      view_(new QTreeView),
      count_(new QLabel),
      note_(new QLabel) {
  setObjectName("HistoryDialog");
  setWindowTitle(instrument_.empty() ? ToQ(text::kHistoryTitleAll)
                                     : ToQ(text::kHistoryTitle) + ToQ(instrument_));
  setAttribute(Qt::WA_DeleteOnClose);

  view_->setObjectName("HistoryTable");
  view_->setModel(&model_);
  // A flat list whose rows are as high as their changes: the tree view
  // measures only the rows it shows.
  view_->setRootIsDecorated(false);
  view_->setItemsExpandable(false);
  view_->setUniformRowHeights(false);
  view_->setWordWrap(true);
  view_->setAlternatingRowColors(true);
  view_->setAllColumnsShowFocus(true);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view_->header()->setStretchLastSection(true);
  connect(view_, &QTreeView::doubleClicked, this, &HistoryDialog::CompareWithBackup);

  count_->setObjectName("HistoryCount");
  count_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  count_->setWordWrap(true);
  note_->setObjectName("HistoryNote");
  note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  note_->setWordWrap(true);
  auto* hint = new QLabel(ToQ(text::kHistoryHint));
  hint->setWordWrap(true);

  auto* buttons = new QDialogButtonBox;
  QPushButton* export_button =
      buttons->addButton(ToQ(text::kHistoryExport), QDialogButtonBox::ActionRole);
  export_button->setObjectName("HistoryExportButton");
  export_button->setAutoDefault(false);
  QPushButton* close = buttons->addButton(ToQ(text::kCloseButton), QDialogButtonBox::RejectRole);
  close->setObjectName("CloseButton");
  close->setDefault(true);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  connect(export_button, &QPushButton::clicked, this, &HistoryDialog::Export);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(BuildFilters());
  layout->addWidget(view_, 1);
  auto* state = new QHBoxLayout;
  state->addWidget(count_);
  state->addSpacing(24);
  state->addWidget(note_, 1);
  layout->addLayout(state);
  layout->addWidget(hint);
  layout->addWidget(buttons);
  resize(1100, 560);
  Load();
}

HistoryDialog::~HistoryDialog() {
  // The reading holds nothing of the dialog's, but the thread must end
  // before its object goes.
  if (loading_) loading_->wait();
}

QWidget* HistoryDialog::BuildFilters() {
  all_ = MakeCheckBox("HistoryAllInstruments", text::kHistoryAllInstruments);
  // Without an instrument at hand there is nothing else to show.
  all_->setChecked(instrument_.empty());
  all_->setEnabled(!instrument_.empty());
  if (instrument_.empty()) all_->setToolTip(ToQ(text::kHistoryNoInstrumentHint));
  action_ = new QComboBox;
  action_->setObjectName("HistoryAction");
  action_->addItem(ToQ(text::kHistoryAnyAction), QString());
  for (const HistoryActionWord& a : kHistoryActionWords)
    action_->addItem(ToQ(std::string(a.word)), ToQ(std::string(a.action)));
  const QDate today = QDate::currentDate();
  since_on_ = MakeCheckBox("HistorySinceOn", text::kHistorySince);
  since_ = MakeDateEdit("HistorySince", today.addMonths(-1));
  until_on_ = MakeCheckBox("HistoryUntilOn", text::kHistoryUntil);
  until_ = MakeDateEdit("HistoryUntil", today);
  auto* refresh = new QPushButton(ToQ(text::kHistoryRefresh));
  refresh->setObjectName("HistoryRefreshButton");
  refresh->setAutoDefault(false);

  connect(all_, &QCheckBox::toggled, this, &HistoryDialog::Load);
  connect(refresh, &QPushButton::clicked, this, &HistoryDialog::Load);
  connect(action_, &QComboBox::currentIndexChanged, this, &HistoryDialog::Refilter);
  for (QCheckBox* on : {since_on_, until_on_})
    connect(on, &QCheckBox::toggled, this, &HistoryDialog::Refilter);
  // Choosing a date means filtering by it.
  connect(since_, &QDateEdit::dateChanged, this,
          [this] { since_on_->isChecked() ? Refilter() : since_on_->setChecked(true); });
  connect(until_, &QDateEdit::dateChanged, this,
          [this] { until_on_->isChecked() ? Refilter() : until_on_->setChecked(true); });

  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(all_);
  layout->addSpacing(16);
  layout->addWidget(new QLabel(ToQ(text::kHistoryActionLabel)));
  layout->addWidget(action_);
  layout->addSpacing(16);
  layout->addWidget(since_on_);
  layout->addWidget(since_);
  layout->addWidget(until_on_);
  layout->addWidget(until_);
  layout->addStretch(1);
  layout->addWidget(refresh);
  return row;
}

void HistoryDialog::Load() {
  if (loading_) {
    load_again_ = true;
    return;
  }
  HistoryFilter filter;
  if (!all_->isChecked()) filter.instrument_number = instrument_;
  auto loaded = std::make_shared<LoadedHistory>();
  // Every row of the instrument (or all), whatever the dates: a write's
  // closing event may lie after the last date shown.
  loading_ = QThread::create([dir = dir_, filter, loaded] {
    loaded->events = ListHistory(dir, filter, loaded->error);
    if (loaded->events) loaded->order = HistoryRowOrder(*loaded->events);
  });
  loading_->setParent(this);
  connect(loading_, &QThread::finished, this, [this, loaded] {
    loading_->deleteLater();
    loading_ = nullptr;
    if (std::exchange(load_again_, false)) {
      Load();
      return;
    }
    model_.SetRows(loaded->events ? std::move(*loaded->events) : std::vector<HistoryEvent>{},
                   std::move(loaded->order), ShownFilter());
    if (!loaded->events) {
      count_->setStyleSheet("color: darkred");
      count_->setText(ToQ(loaded->error));
      return;
    }
    SizeColumns();
    ShowCount();
  });
  count_->setStyleSheet({});
  count_->setText(ToQ(text::kHistoryReading));
  loading_->start();
}

HistoryFilter HistoryDialog::ShownFilter() const {
  HistoryFilter filter;
  filter.action = FromQ(action_->currentData().toString());
  if (since_on_->isChecked())
    filter.since_ms = QDateTime(since_->date(), QTime(0, 0)).toMSecsSinceEpoch();
  // Up to the last millisecond of that day.
  if (until_on_->isChecked())
    filter.until_ms = QDateTime(until_->date().addDays(1), QTime(0, 0)).toMSecsSinceEpoch() - 1;
  return filter;
}

void HistoryDialog::Refilter() {
  if (Loading()) return;  // the rows read are filtered when they come
  model_.Filter(ShownFilter());
  ShowCount();
}

void HistoryDialog::ShowCount() {
  QString shown = ToQ(text::kHistoryShown) + QString::number(model_.rowCount());
  if (model_.rowCount() != model_.AllRows())
    shown += ToQ(text::kHistoryShownOf) + QString::number(model_.AllRows());
  count_->setText(shown);
}

void HistoryDialog::SizeColumns() {
  if (columns_sized_ || model_.rowCount() == 0) return;
  columns_sized_ = true;
  for (int column = 0; column < HistoryModel::kChanges; ++column) {
    view_->resizeColumnToContents(column);
    view_->setColumnWidth(column,
                          std::min(view_->columnWidth(column) + kColumnPadding, kWidestColumn));
  }
}

void HistoryDialog::CompareWithBackup(const QModelIndex& index) {
  const HistoryEvent& event = model_.RowAt(index.row());
  if (event.backup.empty()) {
    note_->setText(ToQ(text::kHistoryNoBackup));
    return;
  }
  if (!commands_enabled_) {
    note_->setText(ToQ(text::kHistoryBusy));
    return;
  }
  note_->setText(ToQ(text::kHistoryComparing) + ToQ(event.backup));
  compare_(ToQ(HistoryBackupPath(dir_, event.backup)));
}

void HistoryDialog::Export() {
  const QString proposed = "history-" + (all_->isChecked() ? QString() : ToQ(instrument_) + "-") +
                           QDateTime::currentDateTime().toString("yyyyMMdd-hhmm") + ".csv";
  const QString path = choose_csv_path_(this, proposed);
  if (path.isEmpty()) return;
  // The events the dialog selects, as zrm48ctl history lists them.
  HistoryFilter filter = ShownFilter();
  if (!all_->isChecked()) filter.instrument_number = instrument_;
  std::string error;
  const auto events = ListHistory(dir_, filter, error);
  if (!events) {
    dialogs_.ShowMessage(this, error, text::kErrorCaption, MessageIcon::kError);
    return;
  }
  if (!ReplaceFileAtomically(FromQ(path), HistoryCsv(*events), error)) {
    dialogs_.ShowMessage(this, text::kCannotWriteFile + FromQ(path) + ": " + error,
                         text::kErrorCaption, MessageIcon::kError);
    note_->setText(ToQ(text::kCannotWriteFile) + path);
    return;
  }
  note_->setText(ToQ(text::kFileSaved) + path);
}

}  // namespace zrm::gui
