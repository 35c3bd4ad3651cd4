#include "gui/window/link_worker.h"

namespace zrm::gui {

LinkWorker::LinkWorker(QObject* parent) : QObject(parent), context_(new QObject) {
  thread_.setObjectName("link");
  context_->moveToThread(&thread_);
  connect(&thread_, &QThread::finished, context_, &QObject::deleteLater);
  thread_.start();
}

LinkWorker::~LinkWorker() {
  thread_.quit();
  thread_.wait();
}

bool LinkWorker::Run(std::function<void()> job, std::function<void()> done) {
  if (busy_) return false;
  busy_ = true;
  QMetaObject::invokeMethod(context_, [this, job = std::move(job), done = std::move(done)] {
    job();
    QMetaObject::invokeMethod(this, [this, done] {
      busy_ = false;
      done();
      emit Idle();
    }, Qt::QueuedConnection);
  }, Qt::QueuedConnection);
  return true;
}

}  // namespace zrm::gui
