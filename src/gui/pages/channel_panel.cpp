#include "gui/pages/channel_panel.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "editor/item_lists.h"
#include "gui/widgets/group_area.h"
#include "gui/widgets/list_controls.h"
#include "gui/widgets/number_field.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

// The member names of one channel's controls, channel 1 first.
struct ChannelNames {
  const char* panel;
  const char* diap_min;
  const char* diap_max;
  const char* shift;
  const char* adj;
  const char* dat;
  const char* flag;
  const char* th_type1;
  const char* th1;
  const char* his1;
  const char* th_type2;
  const char* th2;
  const char* his2;
  const char* spd_th;
  const char* spd_his;
  const char* ns;
  const char* point;
  const char* search;
  const char* heading;
  const char* hysteresis_step_caption;
};

constexpr ChannelNames kNames[2] = {
    {"Panel1",    "Edit2",     "Edit1",     "Edit3",         "Edit4",
     "ComboBox1", "CheckBox4", "ComboBox2", "Edit5",         "Edit6",
     "ComboBox3", "Edit7",     "Edit8",     "ComboBox21",    "ComboBox22",
     "ComboBox4", "ComboBox5", "ComboBox6", text::kChannel1, text::kHysteresisStep1},
    {"Panel2",     "Edit14",     "Edit13",     "Edit15",        "Edit16",
     "ComboBox7",  "CheckBox6",  "ComboBox8",  "Edit17",        "Edit18",
     "ComboBox9",  "Edit19",     "Edit20",     "ComboBox23",    "ComboBox24",
     "ComboBox10", "ComboBox11", "ComboBox12", text::kChannel2, text::kHysteresisStep2},
};

QLineEdit* MakeField(const char* name, const char* hint) {
  auto* field = new QLineEdit;
  field->setObjectName(name);
  field->setToolTip(ToQ(hint));
  field->setFixedWidth(80);
  MakeNumberField(field);
  return field;
}

// A caption over its control in the cell (row, column) of `grid`, spanning
// `span` columns.
void Place(QGridLayout* grid, int row, int column, const char* caption, QWidget* control,
           int span = 1) {
  grid->addWidget(MakeCaption(caption), row * 2, column, 1, span);
  grid->addWidget(control, row * 2 + 1, column, 1, span);
}

}  // namespace

ChannelPanel::ChannelPanel(int channel, QWidget* parent) : QFrame(parent) {
  const ChannelNames& n = kNames[channel];
  setObjectName(n.panel);
  setFrameStyle(QFrame::Panel | QFrame::Raised);

  diap_min_ = MakeField(n.diap_min, text::kMinimumHint);
  diap_max_ = MakeField(n.diap_max, text::kMaximumHint);
  shift_ = MakeField(n.shift, text::kShiftHint);
  adj_ = MakeField(n.adj, text::kAdjustHint);
  // Lists read by their index take only their items: typed text that named
  // no item would silently collect as "no selection" (a set point turned off).
  dat_ = MakeFixedList(SensorTypeItems(), n.dat, text::kSensorTypeHint);
  FitWidestItem(dat_);
  flag_ = new QCheckBox;
  flag_->setObjectName(n.flag);
  flag_->setToolTip(ToQ(text::kSquareRootHint));
  th_type1_ = MakeFixedList(SetpointTypeItems(), n.th_type1, text::kSetpointTypeHint);
  th1_ = MakeField(n.th1, text::kSetpoint1Hint);
  his1_ = MakeField(n.his1, text::kHysteresis1Hint);
  th_type2_ = MakeFixedList(SetpointTypeItems(), n.th_type2, text::kSetpointTypeHint);
  th2_ = MakeField(n.th2, text::kSetpoint2Hint);
  his2_ = MakeField(n.his2, text::kHysteresis2Hint);
  spd_th_ = MakeList(StepItems(), n.spd_th, text::kSetpointStepHint);
  spd_his_ = MakeList(StepItems(), n.spd_his, text::kHysteresisStepHint);
  ns_ = MakeFixedList(CountItems(), n.ns, text::kAveragingHint);
  point_ = MakeFixedList(DigitItems(), n.point, text::kDigitsHint);
  search_ = MakeFixedList(CountItems(), n.search, text::kObservationsHint);
  MakeNumberField(spd_th_);
  MakeNumberField(spd_his_);

  auto* grid = new QGridLayout;
  grid->setVerticalSpacing(1);
  grid->setHorizontalSpacing(6);
  Place(grid, 0, 0, text::kMinimum, diap_min_);
  Place(grid, 0, 1, text::kMaximum, diap_max_);
  Place(grid, 0, 2, text::kShift, shift_);
  Place(grid, 0, 3, text::kAdjust, adj_);
  Place(grid, 1, 0, text::kSensorType, dat_, 3);
  Place(grid, 1, 3, text::kSquareRoot, flag_);
  Place(grid, 2, 0, text::kSetpoint1Type, th_type1_, 2);
  Place(grid, 2, 2, text::kSetpoint1Value, th1_);
  Place(grid, 2, 3, text::kHysteresis1, his1_);
  Place(grid, 3, 0, text::kSetpoint2Type, th_type2_, 2);
  Place(grid, 3, 2, text::kSetpoint2Value, th2_);
  Place(grid, 3, 3, text::kHysteresis2, his2_);
  Place(grid, 4, 0, text::kSetpointStep, spd_th_, 2);
  Place(grid, 4, 2, n.hysteresis_step_caption, spd_his_, 2);
  Place(grid, 5, 0, text::kAveraging, ns_);
  Place(grid, 5, 1, text::kDigits, point_);
  Place(grid, 5, 2, text::kObservations, search_);
  for (int row = 1; row < 12; row += 2) grid->setRowMinimumHeight(row, 24);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 4, 8, 8);
  layout->addWidget(MakeHeading(n.heading), 0, Qt::AlignHCenter);
  layout->addLayout(grid);
  layout->addStretch();

  connect(dat_, &QComboBox::activated, this, &ChannelPanel::SensorTypeChanged);
}

void ChannelPanel::Show(const ChannelForm& form) {
  diap_max_->setText(ToQ(form.diap_max));
  diap_min_->setText(ToQ(form.diap_min));
  shift_->setText(ToQ(form.shift));
  adj_->setText(ToQ(form.adj));
  th1_->setText(ToQ(form.th1));
  his1_->setText(ToQ(form.his1));
  th2_->setText(ToQ(form.th2));
  his2_->setText(ToQ(form.his2));
  ShowListText(spd_th_, form.spd_th);
  ShowListText(spd_his_, form.spd_his);
  ShowListIndex(dat_, form.dat);
  ShowListIndex(th_type1_, form.th_type1);
  ShowListIndex(th_type2_, form.th_type2);
  ShowListIndex(ns_, form.ns);
  ShowListIndex(point_, form.point);
  ShowListIndex(search_, form.search);
  flag_->setChecked(form.flag);
}

void ChannelPanel::Collect(ChannelForm& form) const {
  form.diap_max = FromQ(diap_max_->text());
  form.diap_min = FromQ(diap_min_->text());
  form.shift = FromQ(shift_->text());
  form.adj = FromQ(adj_->text());
  form.th1 = FromQ(th1_->text());
  form.his1 = FromQ(his1_->text());
  form.th2 = FromQ(th2_->text());
  form.his2 = FromQ(his2_->text());
  form.spd_th = CollectListText(spd_th_);
  form.spd_his = CollectListText(spd_his_);
  form.dat = CollectListIndex(dat_);
  form.th_type1 = CollectListIndex(th_type1_);
  form.th_type2 = CollectListIndex(th_type2_);
  form.ns = CollectListIndex(ns_);
  form.point = CollectListIndex(point_);
  form.search = CollectListIndex(search_);
  form.flag = flag_->isChecked();
}

}  // namespace zrm::gui
