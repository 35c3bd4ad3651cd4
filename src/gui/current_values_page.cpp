#include "gui/current_values_page.h"

#include <QApplication>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "gui/group_area.h"
#include "gui/qt_text.h"
#include "gui/window_texts.h"
#include "monitor/monitor_texts.h"

namespace zrm::gui {

namespace {

constexpr int kBoxHeight = 22;
constexpr int kValueFontPx = 22;
constexpr int kValueBoxHeight = 34;
constexpr int kTrendMinHeight = 150;

// A sunken box with a centred text, named `name`.
QLabel* MakeBox(const char* name, const char* caption = "") {
  auto* box = new QLabel(ToQ(caption));
  box->setObjectName(name);
  box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  box->setAlignment(Qt::AlignCenter);
  box->setAutoFillBackground(true);
  box->setMinimumHeight(kBoxHeight);
  box->setMargin(1);
  return box;
}

// The large bold box of a channel's value.
QLabel* MakeValueBox(const char* name) {
  QLabel* box = MakeBox(name);
  QFont font = box->font();
  font.setBold(true);
  font.setPixelSize(kValueFontPx);
  box->setFont(font);
  box->setMinimumHeight(kValueBoxHeight);
  return box;
}

// A group with a title, its inner margins kept small so the page fits the
// window with the chart.
template <typename Layout>
QGroupBox* MakeGroup(const char* title, Layout* layout) {
  auto* group = new QGroupBox(ToQ(title));
  layout->setContentsMargins(6, 2, 6, 4);
  layout->setSpacing(4);
  group->setLayout(layout);
  return group;
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

  auto* layout = new QVBoxLayout;
  layout->addWidget(MakeCaption(text::kMeasuredValue));
  layout->addWidget(boxes.value);
  layout->addWidget(boxes.status);
  layout->addLayout(flags);
  return MakeGroup(title, layout);
}

// A titled row of boxes.
QGroupBox* MakeBoxRow(const char* title, const std::vector<QLabel*>& boxes) {
  auto* layout = new QHBoxLayout;
  for (QLabel* box : boxes) layout->addWidget(box);
  return MakeGroup(title, layout);
}

QString AskCsvPath(QWidget* parent, const QString& proposed) {
  QFileDialog dialog(parent, ToQ(text::kTrendSaveTitle), QString(), ToQ(text::kCsvFilter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix("csv");
  dialog.selectFile(proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().front();
}

QPushButton* MakeButton(const char* name, const std::string& caption) {
  auto* button = new QPushButton(ToQ(caption));
  button->setObjectName(name);
  return button;
}

}  // namespace

QColor PaintOf(BoxColour colour) {
  switch (colour) {
    case BoxColour::Yellow: return QColor(Qt::yellow);
    case BoxColour::White: return QColor(Qt::white);
    case BoxColour::ButtonFace: break;
  }
  return QApplication::palette().color(QPalette::Button);
}

QColor TextPaintOf(bool last_known) {
  return last_known ? QColor(Qt::darkGray) : QApplication::palette().color(QPalette::WindowText);
}

CurrentValuesPage::CurrentValuesPage(QWidget* parent)
    : QWidget(parent), choose_csv_path(AskCsvPath) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 6);
  layout->setSpacing(4);
  layout->addWidget(BuildChannels());
  trend = new TrendChart;
  trend->setMinimumHeight(kTrendMinHeight);
  layout->addWidget(trend, 1);
  layout->addWidget(BuildLamps());
  layout->addWidget(BuildControls());

  const CurrentValuesView blank;
  const auto named = NamedBoxes(blank);
  for (std::size_t i = 0; i < named.size(); ++i)
    boxes_[i] = findChild<QLabel*>(QString::fromLatin1(named[i].first));
  ShowReadingPaused(false);
}

QWidget* CurrentValuesPage::BuildChannels() {
  static constexpr const char* kChannel1Names[5] = {"Panel3", "Panel24", "Panel6", "Panel5",
                                                    "Panel4"};
  static constexpr const char* kChannel2Names[5] = {"Panel7", "Panel25", "Panel10", "Panel9",
                                                    "Panel8"};
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(MakeChannelGroup(text::kChannel1, channel[0], kChannel1Names));
  layout->addWidget(MakeChannelGroup(text::kChannel2, channel[1], kChannel2Names));
  return row;
}

QWidget* CurrentValuesPage::BuildLamps() {
  relay = {MakeBox("Panel11", text::kRelay1), MakeBox("Panel12", text::kRelay2)};
  button = {MakeBox("Panel13", text::kButtonOne), MakeBox("Panel14", text::kButtonHysteresis),
            MakeBox("Panel15", text::kButtonTwo), MakeBox("Panel16", text::kButtonZero),
            MakeBox("Panel17", text::kButtonRange)};
  encoder = {MakeBox("Panel18"), MakeBox("Panel19")};
  single_led = {MakeBox("SingleLed1", "1"), MakeBox("SingleLed2", "2"),
                MakeBox("SingleLed3", "3"), MakeBox("SingleLed4", "4")};
  for (QLabel* box : encoder) box->setMinimumWidth(28);

  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(MakeBoxRow(text::kRelays, {relay.begin(), relay.end()}), 2);
  layout->addWidget(MakeBoxRow(text::kEncoder, {encoder.begin(), encoder.end()}), 2);
  layout->addWidget(MakeBoxRow(text::kButtons, {button.begin(), button.end()}), 4);
  layout->addWidget(MakeBoxRow(text::kSingleLeds, {single_led.begin(), single_led.end()}), 3);
  return row;
}

QWidget* CurrentValuesPage::BuildControls() {
  link_state = MakeBox("Panel75");
  reading = MakeButton("ReadingButton", ReadingButtonText(false));
  trend_pause = MakeButton("TrendPauseButton", text::kTrendPause);
  trend_save = MakeButton("TrendSaveButton", text::kTrendSave);
  connect(trend_pause, &QPushButton::clicked, this, &CurrentValuesPage::ToggleTrendPause);

  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(link_state, 1);
  layout->addWidget(reading);
  layout->addWidget(trend_pause);
  layout->addWidget(trend_save);
  return row;
}

void CurrentValuesPage::Show(const CurrentValuesView& view) {
  shown_ = view;
  const auto named = NamedBoxes(view);
  for (std::size_t i = 0; i < named.size(); ++i) {
    QLabel* box = boxes_[i];
    box->setText(ToQ(named[i].second->text));
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, PaintOf(named[i].second->colour));
    // The link state box tells the news itself; only the values dim.
    palette.setColor(QPalette::WindowText, TextPaintOf(view.last_known && box != link_state));
    box->setPalette(palette);
  }
}

void CurrentValuesPage::ShowReadingPaused(bool paused) {
  reading->setText(ToQ(ReadingButtonText(paused)));
  if (paused) Show(PausedView(shown_));
}

void CurrentValuesPage::ToggleTrendPause() {
  trend->SetPaused(!trend->Paused());
  trend_pause->setText(ToQ(trend->Paused() ? text::kTrendResume : text::kTrendPause));
}

}  // namespace zrm::gui
