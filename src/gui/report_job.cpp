#include "gui/report_job.h"

#include <utility>

namespace zrm::gui {

void MarkReportEnded(QObject* window, std::shared_ptr<ReportOutcome> outcome) {
  QMetaObject::invokeMethod(window, [outcome] { outcome->ended = true; }, Qt::QueuedConnection);
}

void PreviewWhenReportEnds(LinkWorker& worker, QObject* window,
                           std::shared_ptr<ReportOutcome> outcome,
                           std::function<void(const zrm::ConfigurationPage&)> preview) {
  auto connection = std::make_shared<QMetaObject::Connection>();
  *connection = QObject::connect(&worker, &LinkWorker::Idle, window, [=] {
    if (!outcome->ended) return;  // another job ended; the report runs next
    QObject::disconnect(*connection);
    if (!outcome->page) return;
    // Queued: the modal preview must not hold up the rest of the signal.
    QMetaObject::invokeMethod(window, [outcome, preview] { preview(*outcome->page); },
                              Qt::QueuedConnection);
  });
}

}  // namespace zrm::gui
