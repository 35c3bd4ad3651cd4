#pragma once
// The progress panel Panel76: a framed panel over the notebook's page area
// with six lines of bold text (Label108..Label113) naming the sequence, the
// group and the step under way, and the ESC hint; during a whole transfer a
// bar between the last two lines shows the exchanges done and the time left.
// Hidden while idle.

#include <QElapsedTimer>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <array>

#include "platform/operator.h"

namespace zrm::gui {

class ProgressPanel : public QFrame {
  Q_OBJECT

 public:
  // Lies over `notebook` (as its sibling, so that disabling the notebook
  // leaves the panel readable), centred on its page area, and follows it.
  explicit ProgressPanel(QWidget* notebook);

  void SetLines(const ProgressLines& lines);
  ProgressLines Lines() const;

  // `done` of `total` exchanges; (0, total) starts the clock of the time
  // left. The bar shows from the first count until the panel is hidden.
  void SetCount(int done, int total);
  const QProgressBar& Bar() const { return *bar_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  void FollowNotebook();

  QWidget* notebook_;
  std::array<QLabel*, 6> labels_;
  QProgressBar* bar_;
  QElapsedTimer clock_;
};

}  // namespace zrm::gui
