#pragma once
// "Сформировать страницу" as a device job of the window. The job reads the
// instrument and builds the page on the link thread; the preview must open
// only after the window has taken the job's results back and shows what was
// read. A poll of the current values may hold the link when the button is
// pressed; the report job then runs after it, so the end of the poll must
// not count as the end of the report.

#include <QObject>
#include <functional>
#include <memory>
#include <optional>

#include "gui/link_worker.h"
#include "report/configuration_page.h"

namespace zrm::gui {

// What the report job hands to the window's thread.
struct ReportOutcome {
  std::optional<zrm::ConfigurationPage> page;  // empty when the read failed
  bool ended = false;                          // set on the window's thread only
};

// The last step of the job, on the link thread: marks `outcome` ended on
// `window`'s thread, where the mark arrives before the job's completion.
void MarkReportEnded(QObject* window, std::shared_ptr<ReportOutcome> outcome);

// Calls `preview` with the page on `window`'s thread after the first Idle of
// `worker` that follows the report job's end, outside that signal; nothing
// when the read failed.
void PreviewWhenReportEnds(LinkWorker& worker, QObject* window,
                           std::shared_ptr<ReportOutcome> outcome,
                           std::function<void(const zrm::ConfigurationPage&)> preview);

}  // namespace zrm::gui
