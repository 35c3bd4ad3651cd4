#include "gui/channel_panel.h"

#include <QGridLayout>
#include <QVBoxLayout>

#include "editor/item_lists.h"
#include "gui/group_area.h"
#include "gui/list_controls.h"
#include "gui/number_field.h"
#include "gui/qt_text.h"
#include "gui/window_texts.h"

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
    {"Panel1", "Edit2", "Edit1", "Edit3", "Edit4", "ComboBox1", "CheckBox4", "ComboBox2", "Edit5",
     "Edit6", "ComboBox3", "Edit7", "Edit8", "ComboBox21", "ComboBox22", "ComboBox4", "ComboBox5",
     "ComboBox6", text::kChannel1, text::kHysteresisStep1},
    {"Panel2", "Edit14", "Edit13", "Edit15", "Edit16", "ComboBox7", "CheckBox6", "ComboBox8",
     "Edit17", "Edit18", "ComboBox9", "Edit19", "Edit20", "ComboBox23", "ComboBox24",
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

  diap_min = MakeField(n.diap_min, text::kMinimumHint);
  diap_max = MakeField(n.diap_max, text::kMaximumHint);
  shift = MakeField(n.shift, text::kShiftHint);
  adj = MakeField(n.adj, text::kAdjustHint);
  dat = MakeList(SensorTypeItems(), n.dat, text::kSensorTypeHint);
  FitWidestItem(dat);
  flag = new QCheckBox;
  flag->setObjectName(n.flag);
  flag->setToolTip(ToQ(text::kSquareRootHint));
  th_type1 = MakeList(SetpointTypeItems(), n.th_type1, text::kSetpointTypeHint);
  th1 = MakeField(n.th1, text::kSetpoint1Hint);
  his1 = MakeField(n.his1, text::kHysteresis1Hint);
  th_type2 = MakeList(SetpointTypeItems(), n.th_type2, text::kSetpointTypeHint);
  th2 = MakeField(n.th2, text::kSetpoint2Hint);
  his2 = MakeField(n.his2, text::kHysteresis2Hint);
  spd_th = MakeList(StepItems(), n.spd_th, text::kSetpointStepHint);
  spd_his = MakeList(StepItems(), n.spd_his, text::kHysteresisStepHint);
  ns = MakeList(CountItems(), n.ns, text::kAveragingHint);
  point = MakeList(DigitItems(), n.point, text::kDigitsHint);
  search = MakeList(CountItems(), n.search, text::kObservationsHint);
  MakeNumberField(spd_th);
  MakeNumberField(spd_his);

  auto* grid = new QGridLayout;
  grid->setVerticalSpacing(1);
  grid->setHorizontalSpacing(6);
  Place(grid, 0, 0, text::kMinimum, diap_min);
  Place(grid, 0, 1, text::kMaximum, diap_max);
  Place(grid, 0, 2, text::kShift, shift);
  Place(grid, 0, 3, text::kAdjust, adj);
  Place(grid, 1, 0, text::kSensorType, dat, 3);
  Place(grid, 1, 3, text::kSquareRoot, flag);
  Place(grid, 2, 0, text::kSetpoint1Type, th_type1, 2);
  Place(grid, 2, 2, text::kSetpoint1Value, th1);
  Place(grid, 2, 3, text::kHysteresis1, his1);
  Place(grid, 3, 0, text::kSetpoint2Type, th_type2, 2);
  Place(grid, 3, 2, text::kSetpoint2Value, th2);
  Place(grid, 3, 3, text::kHysteresis2, his2);
  Place(grid, 4, 0, text::kSetpointStep, spd_th, 2);
  Place(grid, 4, 2, n.hysteresis_step_caption, spd_his, 2);
  Place(grid, 5, 0, text::kAveraging, ns);
  Place(grid, 5, 1, text::kDigits, point);
  Place(grid, 5, 2, text::kObservations, search);
  for (int row = 1; row < 12; row += 2) grid->setRowMinimumHeight(row, 24);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 4, 8, 8);
  layout->addWidget(MakeHeading(n.heading), 0, Qt::AlignHCenter);
  layout->addLayout(grid);
  layout->addStretch();

  connect(dat, &QComboBox::activated, this, &ChannelPanel::SensorTypeChanged);
  connect(dat->lineEdit(), &QLineEdit::editingFinished, this, [this] {
    // Typed text that names no item is a change too; a picked item was
    // already reported by `activated`.
    if (dat->lineEdit()->isModified()) {
      dat->lineEdit()->setModified(false);
      emit SensorTypeChanged();
    }
  });
}

void ChannelPanel::Show(const ChannelForm& form) {
  diap_max->setText(ToQ(form.diap_max));
  diap_min->setText(ToQ(form.diap_min));
  shift->setText(ToQ(form.shift));
  adj->setText(ToQ(form.adj));
  th1->setText(ToQ(form.th1));
  his1->setText(ToQ(form.his1));
  th2->setText(ToQ(form.th2));
  his2->setText(ToQ(form.his2));
  ShowListText(spd_th, form.spd_th);
  ShowListText(spd_his, form.spd_his);
  ShowListIndex(dat, form.dat);
  ShowListIndex(th_type1, form.th_type1);
  ShowListIndex(th_type2, form.th_type2);
  ShowListIndex(ns, form.ns);
  ShowListIndex(point, form.point);
  ShowListIndex(search, form.search);
  flag->setChecked(form.flag);
}

void ChannelPanel::Collect(ChannelForm& form) const {
  form.diap_max = FromQ(diap_max->text());
  form.diap_min = FromQ(diap_min->text());
  form.shift = FromQ(shift->text());
  form.adj = FromQ(adj->text());
  form.th1 = FromQ(th1->text());
  form.his1 = FromQ(his1->text());
  form.th2 = FromQ(th2->text());
  form.his2 = FromQ(his2->text());
  form.spd_th = CollectListText(spd_th);
  form.spd_his = CollectListText(spd_his);
  form.dat = CollectListIndex(dat);
  form.th_type1 = CollectListIndex(th_type1);
  form.th_type2 = CollectListIndex(th_type2);
  form.ns = CollectListIndex(ns);
  form.point = CollectListIndex(point);
  form.search = CollectListIndex(search);
  form.flag = flag->isChecked();
}

}  // namespace zrm::gui
