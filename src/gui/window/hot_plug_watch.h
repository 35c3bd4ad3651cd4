#pragma once
// The udev monitor watched by the window's event loop: every arrival or
// departure of a serial device is passed on as it happens.

#include <QObject>
#include <QSocketNotifier>
#include <functional>
#include <memory>

#include "discovery/device_monitor.h"

namespace zrm::gui {

class HotPlugWatch : public QObject {
  Q_OBJECT

 public:
  // Calls `news` on the window's thread for each event; without udev it
  // stays silent.
  HotPlugWatch(std::function<void(const DeviceEvent&)> news, QObject* parent);

 private:
  void Drain();

  DeviceMonitor monitor_;
  std::unique_ptr<QSocketNotifier> notifier_;
  std::function<void(const DeviceEvent&)> news_;
};

}  // namespace zrm::gui
