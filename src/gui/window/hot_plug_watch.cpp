#include "gui/window/hot_plug_watch.h"

namespace zrm::gui {

HotPlugWatch::HotPlugWatch(std::function<void(const DeviceEvent&)> news, QObject* parent)
    : QObject(parent), news_(std::move(news)) {
  if (monitor_.Fd() < 0) return;
  notifier_ = std::make_unique<QSocketNotifier>(monitor_.Fd(), QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &HotPlugWatch::Drain);
}

void HotPlugWatch::Drain() {
  // One readable moment may hold several messages; Receive takes them
  // without waiting until none is left.
  while (const std::optional<DeviceEvent> event = monitor_.Receive()) news_(*event);
}

}  // namespace zrm::gui
