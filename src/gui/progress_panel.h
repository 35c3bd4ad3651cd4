#pragma once
// The progress panel Panel76: a framed panel over the notebook's page area
// with six lines of bold text (Label108..Label113) naming the sequence, the
// group and the step under way, and the ESC hint. Hidden while idle.

#include <QFrame>
#include <QLabel>
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

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void FollowNotebook();

  QWidget* notebook_;
  std::array<QLabel*, 6> labels_;
};

}  // namespace zrm::gui
