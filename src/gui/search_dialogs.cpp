#include "gui/search_dialogs.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

#include "app/app_texts.h"
#include "app/found_instrument_text.h"
#include "gui/qt_text.h"
#include "gui/window_texts.h"
#include "settings/firmware_version.h"

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
  for (std::size_t i = 0; i < speed.size(); ++i) {
    speed[i] = new QCheckBox(QString::number(kSearchSpeeds[i]));
    speed[i]->setObjectName(QString("Speed%1").arg(kSearchSpeeds[i]));
    speed[i]->setChecked(true);
    speeds->addWidget(speed[i]);
  }
  layout->addLayout(speeds, 0, 1, 1, 3);
  first_address = SpinBox("FirstAddress", 1, kMaxSearchAddress, defaults.first_address);
  last_address = SpinBox("LastAddress", 1, kMaxSearchAddress, defaults.last_address);
  layout->addWidget(new QLabel(ToQ(text::kAddressesFrom)), 1, 0);
  layout->addWidget(first_address, 1, 1);
  layout->addWidget(new QLabel(ToQ(text::kAddressesTo)), 1, 2);
  layout->addWidget(last_address, 1, 3);
  margin = SpinBox("ProbeMargin", 1, kMaxMarginMs, defaults.margin_ms);
  layout->addWidget(new QLabel(ToQ(text::kMarginLabel)), 2, 0, 1, 2);
  layout->addWidget(margin, 2, 3);
  auto* buttons = new QDialogButtonBox;
  find = buttons->addButton(ToQ(text::kFindButton), QDialogButtonBox::AcceptRole);
  find->setObjectName("FindButton");
  buttons->addButton(ToQ(text::kCancel), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons, 3, 0, 1, 4);
  // Nothing to search: no speed ticked, or the range upside down.
  const auto check = [this] {
    const SearchPlan plan = Plan();
    find->setEnabled(!plan.speeds.empty() && plan.first_address <= plan.last_address);
  };
  for (QCheckBox* box : speed) connect(box, &QCheckBox::toggled, this, check);
  connect(first_address, &QSpinBox::valueChanged, this, check);
  connect(last_address, &QSpinBox::valueChanged, this, check);
}

SearchPlan SearchPlanDialog::Plan() const {
  SearchPlan plan;
  plan.speeds.clear();
  for (std::size_t i = 0; i < speed.size(); ++i)
    if (speed[i]->isChecked()) plan.speeds.push_back(kSearchSpeeds[i]);
  plan.first_address = static_cast<std::uint32_t>(first_address->value());
  plan.last_address = static_cast<std::uint32_t>(last_address->value());
  plan.margin_ms = static_cast<std::uint32_t>(margin->value());
  return plan;
}

FoundDialog::FoundDialog(const SearchOutcome& outcome, QWidget* parent) : QDialog(parent) {
  setObjectName("FoundDialog");
  setWindowTitle(ToQ(text::kFoundCaption));
  auto* layout = new QVBoxLayout(this);
  found = new QTableWidget(static_cast<int>(outcome.found.size()), 5);
  found->setObjectName("FoundGrid");
  found->setHorizontalHeaderLabels({ToQ(text::kAddressColumn), ToQ(text::kSpeedColumn),
                                    ToQ(text::kTypeColumn), ToQ(text::kSerialColumn),
                                    ToQ(text::kFirmwareColumn)});
  found->setEditTriggers(QAbstractItemView::NoEditTriggers);
  found->setSelectionBehavior(QAbstractItemView::SelectRows);
  found->setSelectionMode(QAbstractItemView::SingleSelection);
  found->verticalHeader()->hide();
  for (int row = 0; row < found->rowCount(); ++row) {
    const QStringList cells = FoundRow(outcome.found[static_cast<std::size_t>(row)]);
    for (int column = 0; column < cells.size(); ++column)
      found->setItem(row, column, new QTableWidgetItem(cells[column]));
  }
  found->resizeColumnsToContents();
  found->horizontalHeader()->setStretchLastSection(true);
  found->setMinimumHeight(found->horizontalHeader()->height() + found->verticalHeader()->length() +
                          2 * found->frameWidth());
  layout->addWidget(found);
  const QString remarks = Remarks(outcome);
  if (!remarks.isEmpty()) layout->addWidget(new QLabel(remarks));
  auto* buttons = new QDialogButtonBox;
  use = buttons->addButton(ToQ(text::kUseButton), QDialogButtonBox::AcceptRole);
  use->setObjectName("UseButton");
  buttons->addButton(ToQ(text::kClose), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  use->setEnabled(false);
  connect(found, &QTableWidget::itemSelectionChanged, this,
          [this] { use->setEnabled(found->currentRow() >= 0); });
  if (found->rowCount() > 0) found->selectRow(0);
  resize(620, sizeHint().height());
}

}  // namespace zrm::gui
