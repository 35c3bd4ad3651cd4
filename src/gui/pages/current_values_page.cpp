#include "gui/pages/current_values_page.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "gui/dialogs/file_dialog.h"
#include "gui/widgets/group_area.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"
#include "monitor/monitor_texts.h"

namespace zrm::gui {

namespace {

constexpr int kBoxHeight = 22;
constexpr int kValueFontPx = 22;
constexpr int kValueBoxHeight = 34;
constexpr int kTrendMinHeight = 150;

// A sunken box with a centred text.
QLabel* MakeBox(const char* caption = "") {
  auto* box = new QLabel(ToQ(caption));
  box->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  box->setAlignment(Qt::AlignCenter);
  box->setAutoFillBackground(true);
  box->setMinimumHeight(kBoxHeight);
  box->setMargin(1);
  return box;
}

// The large bold box of a channel's value.
QLabel* MakeValueBox() {
  QLabel* box = MakeBox();
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

QGroupBox* MakeChannelGroup(const char* title, ChannelBoxes<QLabel*>& boxes) {
  boxes.value = MakeValueBox();
  boxes.status = MakeBox();
  boxes.setpoint1 = MakeBox(text::kSetpoint1);
  boxes.setpoint2 = MakeBox(text::kSetpoint2);
  boxes.sensor_break = MakeBox(text::kBreak);

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
  return AskCsvSaveName(parent, "SaveCsvDialog", ToQ(text::kTrendSaveTitle), proposed);
}

QPushButton* MakeButton(const char* name, const std::string& caption) {
  auto* button = new QPushButton(ToQ(caption));
  button->setObjectName(name);
  return button;
}

}  // namespace

QColor PaintOf(BoxColour colour) {
  switch (colour) {
    case BoxColour::kYellow: return QColor(Qt::yellow);
    case BoxColour::kWhite: return QColor(Qt::white);
    case BoxColour::kButtonFace: break;
  }
  return QApplication::palette().color(QPalette::Button);
}

QColor TextPaintOf(bool last_known) {
  return last_known ? QColor(Qt::darkGray) : QApplication::palette().color(QPalette::WindowText);
}

CurrentValuesPage::CurrentValuesPage(QWidget* parent)
    : QWidget(parent), choose_csv_path_(AskCsvPath) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 4, 6, 6);
  layout->setSpacing(4);
  layout->addWidget(BuildChannels());
  trend_ = new TrendChart;
  trend_->setMinimumHeight(kTrendMinHeight);
  layout->addWidget(trend_, 1);
  layout->addWidget(BuildLamps());
  layout->addWidget(BuildControls());

  for (const auto& [name, box] : NamedBoxes(boxes_))
    (*box)->setObjectName(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
  ShowReadingPaused(false);
}

QWidget* CurrentValuesPage::BuildChannels() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(MakeChannelGroup(text::kChannel1, boxes_.channel[0]));
  layout->addWidget(MakeChannelGroup(text::kChannel2, boxes_.channel[1]));
  return row;
}

QWidget* CurrentValuesPage::BuildLamps() {
  std::array<QLabel*, 2>& relay = boxes_.relay;
  std::array<QLabel*, 5>& key = boxes_.key;
  std::array<QLabel*, 2>& encoder = boxes_.encoder;
  relay = {MakeBox(text::kRelay1), MakeBox(text::kRelay2)};
  key = {MakeBox(text::kButtonOne), MakeBox(text::kButtonHysteresis), MakeBox(text::kButtonTwo),
         MakeBox(text::kButtonZero), MakeBox(text::kButtonRange)};
  encoder = {MakeBox(), MakeBox()};
  for (QLabel* box : encoder) box->setMinimumWidth(28);
  for (std::size_t i = 0; i < single_leds_.size(); ++i) {
    const QString number = QString::number(i + 1);
    single_leds_[i] = MakeBox();
    single_leds_[i]->setText(number);
    single_leds_[i]->setObjectName("SingleLed" + number);
  }

  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(MakeBoxRow(text::kRelays, {relay.begin(), relay.end()}), 2);
  layout->addWidget(MakeBoxRow(text::kEncoder, {encoder.begin(), encoder.end()}), 2);
  layout->addWidget(MakeBoxRow(text::kButtons, {key.begin(), key.end()}), 4);
  layout->addWidget(MakeBoxRow(text::kSingleLeds, {single_leds_.begin(), single_leds_.end()}), 3);
  return row;
}

QWidget* CurrentValuesPage::BuildControls() {
  boxes_.link_state = MakeBox();
  reading_ = MakeButton("ReadingButton", ReadingButtonText(false));
  trend_pause_ = MakeButton("TrendPauseButton", text::kTrendPause);
  trend_save_ = MakeButton("TrendSaveButton", text::kTrendSave);
  connect(trend_pause_, &QPushButton::clicked, this, &CurrentValuesPage::ToggleTrendPause);

  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(boxes_.link_state, 1);
  layout->addWidget(reading_);
  layout->addWidget(trend_pause_);
  layout->addWidget(trend_save_);
  return row;
}

void CurrentValuesPage::Show(const CurrentValuesView& view) {
  shown_ = view;
  const auto shown = NamedBoxes(view);
  const auto labels = NamedBoxes(boxes_);
  for (std::size_t i = 0; i < labels.size(); ++i) {
    QLabel* label = *labels[i].second;
    const PanelBox& box = *shown[i].second;
    label->setText(ToQ(box.text));
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, PaintOf(box.colour));
    // The link state box tells the news itself; only the values dim.
    palette.setColor(QPalette::WindowText,
                     TextPaintOf(view.last_known && label != boxes_.link_state));
    label->setPalette(palette);
  }
}

void CurrentValuesPage::ShowReadingPaused(bool paused) {
  reading_->setText(ToQ(ReadingButtonText(paused)));
  if (paused) Show(PausedView(shown_));
}

void CurrentValuesPage::ToggleTrendPause() {
  trend_->SetPaused(!trend_->Paused());
  trend_pause_->setText(ToQ(trend_->Paused() ? text::kTrendResume : text::kTrendPause));
}

}  // namespace zrm::gui
