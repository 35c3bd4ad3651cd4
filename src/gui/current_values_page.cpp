#include "gui/current_values_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "gui/group_area.h"
#include "gui/qt_text.h"
#include "gui/window_texts.h"

namespace zrm::gui {

namespace {

// A sunken box with a centred text, named `name`.
QLabel* MakeBox(const char* name, const char* caption = "") {
  auto* box = new QLabel(ToQ(caption));
  box->setObjectName(name);
  box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  box->setAlignment(Qt::AlignCenter);
  box->setAutoFillBackground(true);
  box->setMinimumHeight(24);
  return box;
}

QLabel* MakeValueBox(const char* name) {
  QLabel* box = MakeBox(name);
  QFont font = box->font();
  font.setBold(true);
  font.setPixelSize(24);
  box->setFont(font);
  box->setMinimumSize(200, 40);
  ShowGroupArea(box, true);
  return box;
}

QGroupBox* MakeChannelGroup(const char* title, CurrentValuesPage::ChannelBoxes& boxes,
                            const char* const names[5]) {
  boxes.value = MakeValueBox(names[0]);
  boxes.status = MakeBox(names[1]);
  boxes.setpoint1 = MakeBox(names[2], text::kSetpoint1);
  boxes.setpoint2 = MakeBox(names[3], text::kSetpoint2);
  boxes.sensor_break = MakeBox(names[4], text::kBreak);

  auto* flags = new QHBoxLayout;
  flags->addWidget(boxes.sensor_break);
  flags->addWidget(boxes.setpoint2);
  flags->addWidget(boxes.setpoint1);

  auto* group = new QGroupBox(ToQ(title));
  auto* layout = new QVBoxLayout(group);
  layout->addWidget(MakeCaption(text::kMeasuredValue));
  layout->addWidget(boxes.value);
  layout->addWidget(boxes.status);
  layout->addLayout(flags);
  return group;
}

// A titled row of boxes.
QGroupBox* MakeBoxRow(const char* title, const std::vector<QLabel*>& boxes) {
  auto* group = new QGroupBox(ToQ(title));
  auto* layout = new QHBoxLayout(group);
  for (QLabel* box : boxes) layout->addWidget(box);
  return group;
}

}  // namespace

CurrentValuesPage::CurrentValuesPage(QWidget* parent) : QWidget(parent) {
  static constexpr const char* kChannel1Names[5] = {"Panel3", "Panel24", "Panel6", "Panel5",
                                                    "Panel4"};
  static constexpr const char* kChannel2Names[5] = {"Panel7", "Panel25", "Panel10", "Panel9",
                                                    "Panel8"};
  QGroupBox* channel1 = MakeChannelGroup(text::kChannel1, channel[0], kChannel1Names);
  QGroupBox* channel2 = MakeChannelGroup(text::kChannel2, channel[1], kChannel2Names);

  relay = {MakeBox("Panel11", text::kRelay1), MakeBox("Panel12", text::kRelay2)};
  button = {MakeBox("Panel13", text::kButtonOne), MakeBox("Panel14", text::kButtonHysteresis),
            MakeBox("Panel15", text::kButtonTwo), MakeBox("Panel16", text::kButtonZero),
            MakeBox("Panel17", text::kButtonRange)};
  encoder = {MakeBox("Panel18"), MakeBox("Panel19")};
  single_led = {MakeBox("SingleLed1", "1"), MakeBox("SingleLed2", "2"),
                MakeBox("SingleLed3", "3"), MakeBox("SingleLed4", "4")};
  link_state = MakeBox("Panel75");

  auto* channels = new QHBoxLayout;
  channels->addWidget(channel1);
  channels->addWidget(channel2);

  auto* devices = new QGridLayout;
  devices->addWidget(MakeBoxRow(text::kRelays, {relay.begin(), relay.end()}), 0, 0);
  devices->addWidget(MakeBoxRow(text::kEncoder, {encoder.begin(), encoder.end()}), 0, 1);
  devices->addWidget(MakeBoxRow(text::kButtons, {button.begin(), button.end()}), 1, 0);
  devices->addWidget(MakeBoxRow(text::kSingleLeds, {single_led.begin(), single_led.end()}), 1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->addLayout(channels);
  layout->addLayout(devices);
  layout->addWidget(link_state);
  layout->addStretch();
}

}  // namespace zrm::gui
