#include "gui/dialogs/search_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include "app/app_texts.h"
#include "app/found_instrument_text.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"
#include "settings/instrument_identity_text.h"

namespace zrm::gui {

namespace {

constexpr int kMaxMarginMs = 10000;

QSpinBox* SpinBox(const char* name, int low, int high, int value) {
  auto* box = new QSpinBox;
  box->setObjectName(name);
  box->setRange(low, high);
  box->setValue(value);
  return box;
}

QStringList FoundRow(const FoundInstrument& f) {
  const QString type = f.identified ? ToQ(DeviceTypeName(f.device_type)) : "?";
  const QString serial = f.identified ? ToQ(SerialText(f.prefix, f.serial_number)) : "?";
  return {QString::number(f.address), QString::number(f.speed), type, serial,
          ToQ(FirmwareVersionText(f.firmware_version))};
}

// What else the search met: answers at another speed, and how it ended.
QString Remarks(const SearchOutcome& outcome) {
  QStringList lines;
  if (outcome.found.empty()) lines << ToQ(app_texts::kSearchNothingFound);
  for (const GarbledAnswer& g : outcome.garbled) lines << ToQ(GarbledAnswerLine(g));
  if (outcome.end != SearchEnd::kCompleted) lines << ToQ(SearchEndText(outcome));
  return lines.join("\n");
}

}  // namespace

SearchPlanDialog::SearchPlanDialog(QWidget* parent) : QDialog(parent) {
  setObjectName("SearchPlanDialog");
  setWindowTitle(ToQ(text::kFindCaption));
  const SearchPlan defaults;
  auto* layout = new QGridLayout(this);
  layout->addWidget(new QLabel(ToQ(text::kSpeedsLabel)), 0, 0);
  auto* speeds = new QHBoxLayout;
  for (std::size_t i = 0; i < speed_.size(); ++i) {
    speed_[i] = new QCheckBox(QString::number(kSearchSpeeds[i]));
    speed_[i]->setObjectName(QString("Speed%1").arg(kSearchSpeeds[i]));
    speed_[i]->setChecked(true);
    speeds->addWidget(speed_[i]);
  }
  layout->addLayout(speeds, 0, 1, 1, 3);
  first_address_ = SpinBox("FirstAddress", 1, kMaxSearchAddress, defaults.first_address);
  last_address_ = SpinBox("LastAddress", 1, kMaxSearchAddress, defaults.last_address);
  layout->addWidget(new QLabel(ToQ(text::kAddressesFrom)), 1, 0);
  layout->addWidget(first_address_, 1, 1);
  layout->addWidget(new QLabel(ToQ(text::kAddressesTo)), 1, 2);
  layout->addWidget(last_address_, 1, 3);
  margin_ = SpinBox("ProbeMargin", 1, kMaxMarginMs, defaults.margin_ms);
  layout->addWidget(new QLabel(ToQ(text::kMarginLabel)), 2, 0, 1, 2);
  layout->addWidget(margin_, 2, 3);
  auto* buttons = new QDialogButtonBox;
  find_ = buttons->addButton(ToQ(text::kFindButton), QDialogButtonBox::AcceptRole);
  find_->setObjectName("FindButton");
  buttons->addButton(ToQ(text::kCancel), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons, 3, 0, 1, 4);
  // Nothing to search: no speed ticked, or the range upside down.
  const auto check = [this] {
    const SearchPlan plan = Plan();
    find_->setEnabled(!plan.speeds.empty() && plan.first_address <= plan.last_address);
  };
  for (QCheckBox* box : speed_) connect(box, &QCheckBox::toggled, this, check);
  connect(first_address_, &QSpinBox::valueChanged, this, check);
  connect(last_address_, &QSpinBox::valueChanged, this, check);
}

SearchPlan SearchPlanDialog::Plan() const {
  SearchPlan plan;
  plan.speeds.clear();
  for (std::size_t i = 0; i < speed_.size(); ++i)
    if (speed_[i]->isChecked()) plan.speeds.push_back(kSearchSpeeds[i]);
  plan.first_address = static_cast<std::uint32_t>(first_address_->value());
  plan.last_address = static_cast<std::uint32_t>(last_address_->value());
  plan.margin_ms = static_cast<std::uint32_t>(margin_->value());
  return plan;
}

FoundDialog::FoundDialog(const SearchOutcome& outcome, QWidget* parent) : QDialog(parent) {
  setObjectName("FoundDialog");
  setWindowTitle(ToQ(text::kFoundCaption));
  auto* layout = new QVBoxLayout(this);
  found_ = new QTableWidget(static_cast<int>(outcome.found.size()), 5);
  found_->setObjectName("FoundGrid");
  found_->setHorizontalHeaderLabels({ToQ(text::kAddressColumn), ToQ(text::kSpeedColumn),
                                     ToQ(text::kTypeColumn), ToQ(text::kSerialColumn),
                                     ToQ(text::kFirmwareColumn)});
  found_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  found_->setSelectionBehavior(QAbstractItemView::SelectRows);
  found_->setSelectionMode(QAbstractItemView::SingleSelection);
  found_->verticalHeader()->hide();
  for (int row = 0; row < found_->rowCount(); ++row) {
    const QStringList cells = FoundRow(outcome.found[static_cast<std::size_t>(row)]);
    for (int column = 0; column < cells.size(); ++column)
      found_->setItem(row, column, new QTableWidgetItem(cells[column]));
  }
  found_->resizeColumnsToContents();
  found_->horizontalHeader()->setStretchLastSection(true);
  found_->setMinimumHeight(found_->horizontalHeader()->height() +
                           found_->verticalHeader()->length() + 2 * found_->frameWidth());
  layout->addWidget(found_);
  const QString remarks = Remarks(outcome);
  if (!remarks.isEmpty()) layout->addWidget(new QLabel(remarks));
  auto* buttons = new QDialogButtonBox;
  use_ = buttons->addButton(ToQ(text::kUseButton), QDialogButtonBox::AcceptRole);
  use_->setObjectName("UseButton");
  buttons->addButton(ToQ(text::kClose), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  use_->setEnabled(false);
  connect(found_, &QTableWidget::itemSelectionChanged, this,
          [this] { use_->setEnabled(found_->currentRow() >= 0); });
  if (found_->rowCount() > 0) found_->selectRow(0);
  resize(620, sizeHint().height());
}

}  // namespace zrm::gui
