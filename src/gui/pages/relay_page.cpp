#include "gui/pages/relay_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "editor/item_lists.h"
#include "gui/widgets/group_area.h"
#include "gui/widgets/list_controls.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

constexpr int kLeastColumnWidth = 64;
constexpr int kCellPadding = 12;

// One width for every column of both grids: the widest text a cell can hold,
// in the window's font, shows whole.
int ColumnWidth(const QFontMetrics& metrics) {
  QStringList texts;
  for (const auto& caption : SetpointGridCaptions()) texts << ToQ(caption);
  for (const auto& caption : RelayGridRowCaptions()) texts << ToQ(caption);
  for (const auto& item : SetpointTypeItems()) texts << ToQ(item);
  int widest = kLeastColumnWidth - kCellPadding;
  for (const QString& text : texts) widest = std::max(widest, metrics.horizontalAdvance(text));
  return widest + kCellPadding;
}

// The editor heads an event column with the first characters of its set
// point type ("Понижен"); the grid shows the whole type ("Понижение").
std::string WholeSetpointType(const std::string& head) {
  if (head.empty()) return head;
  for (const auto& item : SetpointTypeItems())
    if (item.starts_with(head)) return item;
  return head;
}

// A heading panel over `columns` grid columns.
QFrame* MakeHeaderPanel(const char* name, const char* caption, int columns, int column_width) {
  QFrame* panel = MakePanel(name);
  panel->setFixedSize(columns * column_width, 24);
  auto* layout = new QHBoxLayout(panel);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(MakeCaption(caption), 0, Qt::AlignCenter);
  return panel;
}

QFrame* MakeSeparator() {
  auto* line = new QFrame;
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

RelayPage::RelayPage(QWidget* parent) : QWidget(parent) {
  area_ = MakePanel("Panel77");
  const int column_width = ColumnWidth(fontMetrics());
  setpoint_grid_ = new StringGrid("StringGrid2", {kGridColumns, 3, 2, 7, 2}, column_width);
  relay_grid_ = new StringGrid("StringGrid1", {kGridColumns, 3, 3, 1, 1}, column_width);
  relay_grid_->setToolTip(ToQ(text::kRelayGridHint));
  reg_int_ = MakeFixedList(IntervalItems(), "ComboBox15", text::kDecisionIntervalHint);
  pulse_int_ = MakeFixedList(PulseItems(), "ComboBox16", text::kMaximumPulseHint);

  auto* headers = new QHBoxLayout;
  headers->setSpacing(0);
  headers->addSpacing(column_width + setpoint_grid_->frameWidth());
  headers->addWidget(MakeHeaderPanel("Panel72", text::kChannel1, 3, column_width));
  headers->addWidget(MakeHeaderPanel("Panel73", text::kChannel2, 3, column_width));
  headers->addWidget(MakeHeaderPanel("Panel74", text::kRegulator, 4, column_width));
  headers->addStretch();

  auto* grids = new QVBoxLayout;
  grids->setSpacing(0);
  grids->addLayout(headers);
  grids->addWidget(setpoint_grid_);
  grids->addWidget(relay_grid_);
  auto* legend = new QLabel(ToQ(text::kRelayMarksLegend));
  legend->setObjectName("RelayMarksLegend");
  legend->setWordWrap(true);
  grids->addSpacing(4);
  grids->addWidget(legend);

  auto* regulator = new QGridLayout;
  regulator->addWidget(MakeCaption(text::kDecisionInterval), 0, 0);
  regulator->addWidget(MakeCaption(text::kMaximumPulse), 0, 1);
  regulator->addWidget(reg_int_, 1, 0);
  regulator->addWidget(pulse_int_, 1, 1);
  regulator->setColumnStretch(2, 1);
  reg_int_->setMinimumWidth(120);
  pulse_int_->setMinimumWidth(120);

  auto* layout = new QVBoxLayout(area_);
  layout->setContentsMargins(12, 8, 12, 12);
  layout->addWidget(MakeHeading(text::kRelayTitle), 0, Qt::AlignHCenter);
  layout->addLayout(grids);
  layout->addSpacing(8);
  layout->addWidget(MakeSeparator());
  layout->addWidget(MakeHeading(text::kRegulatorTitle), 0, Qt::AlignHCenter);
  layout->addLayout(regulator);
  layout->addStretch();

  auto* page = new QVBoxLayout(this);
  page->setContentsMargins(4, 4, 4, 4);
  page->addWidget(area_);
}

void RelayPage::Show(const EditorForm& form) {
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < kGridColumns; ++column)
      setpoint_grid_->SetCell(column, row, form.setpoint_grid[row][column]);
  ShowRelayGrid(form.relay_grid);
  ShowListIndex(reg_int_, form.reg_int);
  ShowListIndex(pulse_int_, form.pulse_int);
}

void RelayPage::Collect(EditorForm& form) const {
  for (int row = 0; row < 2; ++row)
    for (int column = 0; column < kGridColumns; ++column)
      form.setpoint_grid[row][column] = setpoint_grid_->Cell(column, row);
  CollectRelayGrid(form.relay_grid);
  form.reg_int = CollectListIndex(reg_int_);
  form.pulse_int = CollectListIndex(pulse_int_);
}

void RelayPage::ShowRelayGrid(const RelayGrid& grid) {
  for (int column = 0; column < kGridColumns; ++column)
    relay_grid_->SetCell(column, 0, WholeSetpointType(grid[0][column]));
  for (int row = 1; row < kRelayGridRows; ++row)
    for (int column = 0; column < kGridColumns; ++column)
      relay_grid_->SetCell(column, row, grid[row][column]);
}

void RelayPage::CollectRelayGrid(RelayGrid& grid) const {
  // Row 0 only heads the columns: the editor keeps its own texts there.
  for (int row = 1; row < kRelayGridRows; ++row)
    for (int column = 0; column < kGridColumns; ++column)
      grid[row][column] = relay_grid_->Cell(column, row);
}

}  // namespace zrm::gui
