#include "gui/job_end.h"

namespace zrm::gui {

void MarkJobEnded(QObject* window, std::shared_ptr<JobEnd> end) {
  QMetaObject::invokeMethod(
      window, [end] { end->ended = true; }, Qt::QueuedConnection);
}

void WhenJobEnds(LinkWorker& worker, QObject* window, std::shared_ptr<JobEnd> end,
                 std::function<void()> then) {
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(&worker, &LinkWorker::Idle, window, [=] {
    if (!end->ended) return;  // another job ended; ours runs next
    QObject::disconnect(*connection);
    QMetaObject::invokeMethod(window, then, Qt::QueuedConnection);
  });
}

}  // namespace zrm::gui
