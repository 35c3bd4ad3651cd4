#pragma once
// The workstation as zrm48ctl sets it up for one command, in the order the
// window starts: dev.dat of the working folder (created with its defaults
// when missing), then the serial port (--device, or the device of dev.dat's
// port number) and the link, with the exchange log when dev.dat switches it
// on.

#include <memory>
#include <string>

#include "link/exchange_log.h"
#include "link/link.h"
#include "link/link_config.h"
#include "platform/operator.h"
#include "platform/serial_port.h"

namespace zrm {

class Workstation {
 public:
  // Reads dir/dev.dat, with the warnings the window shows about it.
  Workstation(std::string dir, Operator& op);
  Workstation(const Workstation&) = delete;
  Workstation& operator=(const Workstation&) = delete;

  // Opens `device` (empty: the configured port; a port number outside 1..4
  // opens nothing) and sets up the link. A port that cannot be opened is
  // reported and every exchange then ends with result 2, as in the window.
  void OpenLink(const std::string& device, Operator& op);

  const LinkConfig& Config() const { return config_; }
  // Valid after OpenLink.
  Link& InstrumentLink() { return *link_; }

  // Path of the measurement log; empty when dev.dat switches it off.
  std::string MeasurementLogPath() const;

 private:
  // A file name of dev.dat: in the working folder unless it is absolute.
  std::string InDir(const std::string& name) const;

  std::string dir_;
  LinkConfig config_;
  SerialPort port_;
  std::unique_ptr<ExchangeLogFile> exchange_log_;
  std::unique_ptr<Link> link_;
};

}  // namespace zrm
