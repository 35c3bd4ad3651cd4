#include "gui/window/progress_panel.h"

#include <QEvent>
#include <algorithm>

#include "gui/texts/qt_text.h"
#include "settings/transfer_progress.h"

namespace zrm::gui {

namespace {
constexpr int kWidth = 681;
constexpr int kHeight = 249;
constexpr int kLabelLeft = 44;
constexpr std::array<int, 6> kLabelTops = {8, 44, 84, 120, 160, 204};
constexpr const char* kLabelNames[6] = {"Label108", "Label109", "Label110",
                                        "Label111", "Label112", "Label113"};
// Between the fifth line (160..184) and the hint (from 204).
constexpr int kBarTop = 186;
constexpr int kBarHeight = 16;
}  // namespace

ProgressPanel::ProgressPanel(QWidget* notebook)
    : QFrame(notebook->parentWidget()), notebook_(notebook) {
  setObjectName("Panel76");
  setFrameStyle(QFrame::Panel | QFrame::Raised);
  setLineWidth(2);
  setAutoFillBackground(true);
  setFixedSize(kWidth, kHeight);
  QFont font = this->font();
  font.setBold(true);
  font.setPixelSize(16);
  for (std::size_t i = 0; i < labels_.size(); ++i) {
    labels_[i] = new QLabel(this);
    labels_[i]->setObjectName(kLabelNames[i]);
    labels_[i]->setFont(font);
    labels_[i]->setGeometry(kLabelLeft, kLabelTops[i], kWidth - kLabelLeft - 8, 24);
  }
  bar_ = new QProgressBar(this);
  bar_->setObjectName("TransferProgress");
  bar_->setGeometry(kLabelLeft, kBarTop, kWidth - 2 * kLabelLeft, kBarHeight);
  bar_->setTextVisible(true);
  bar_->hide();
  hide();
  notebook_->installEventFilter(this);
  FollowNotebook();
}

void ProgressPanel::SetLines(const ProgressLines& lines) {
  for (std::size_t i = 0; i < labels_.size(); ++i) labels_[i]->setText(ToQ(lines[i]));
}

ProgressLines ProgressPanel::Lines() const {
  ProgressLines lines;
  for (std::size_t i = 0; i < labels_.size(); ++i) lines[i] = FromQ(labels_[i]->text());
  return lines;
}

void ProgressPanel::SetCount(int done, int total) {
  if (done == 0) clock_.start();
  bar_->setRange(0, std::max(total, 1));
  bar_->setValue(done);
  const double elapsed = clock_.isValid() ? clock_.elapsed() / 1000.0 : 0.0;
  bar_->setFormat(ToQ(ProgressCountText(done, total, elapsed)));
  bar_->show();
}

void ProgressPanel::hideEvent(QHideEvent* event) {
  bar_->hide();
  clock_.invalidate();
  QFrame::hideEvent(event);
}

bool ProgressPanel::eventFilter(QObject* watched, QEvent* event) {
  if (watched == notebook_ && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
    FollowNotebook();
  return QFrame::eventFilter(watched, event);
}

void ProgressPanel::FollowNotebook() {
  // Centred on the page area, just below the tabs.
  const QRect area = notebook_->geometry();
  move(area.left() + std::max(0, (area.width() - kWidth) / 2),
       area.top() + std::max(0, (area.height() - kHeight) / 2 + 12));
  raise();
}

}  // namespace zrm::gui
