#include "cli/workstation.h"

#include "app/link_config_file.h"
#include "link/port_opening.h"

namespace zrm {

Workstation::Workstation(std::string dir, Operator& op)
    : dir_(std::move(dir)), config_(LoadLinkConfig(dir_, op)) {}

void Workstation::OpenLink(const std::string& device, Operator& op) {
  const std::string path = device.empty() ? config_.PortPath() : device;
  if (!path.empty()) OpenPort(port_, path, config_.speed, op);
  if (config_.ExchangeLogOn())
    exchange_log_ = std::make_unique<ExchangeLogFile>(InDir(config_.log_file_name));
  link_ = std::make_unique<Link>(port_, LinkParamsOf(config_), exchange_log_.get());
}

std::string Workstation::MeasurementLogPath() const {
  return config_.MeasurementLogOn() ? InDir(config_.izm_file_name) : std::string();
}

std::string Workstation::InDir(const std::string& name) const { return PathInFolder(dir_, name); }

}  // namespace zrm
