#pragma once
// Something to do on the window's thread once a device job has ended and the
// window has taken its results back. A poll of the current values may hold
// the link when the command is given; the job then runs after it, so the end
// of the poll must not count as the end of the job.

#include <QObject>
#include <functional>
#include <memory>

#include "gui/link_worker.h"

namespace zrm::gui {

// The job's end, shared between the job and the window.
struct JobEnd {
  bool ended = false;  // set on the window's thread only
};

// The last step of the job, on the link thread: marks `end` on `window`'s
// thread, where the mark arrives before the job's completion.
void MarkJobEnded(QObject* window, std::shared_ptr<JobEnd> end);

// Calls `then` on `window`'s thread after the first Idle of `worker` that
// follows the mark, outside that signal (so it may open a modal dialog).
void WhenJobEnds(LinkWorker& worker, QObject* window, std::shared_ptr<JobEnd> end,
                 std::function<void()> then);

}  // namespace zrm::gui
