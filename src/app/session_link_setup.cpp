// The session's link set-up from the "Связь" menu: the instrument search on
// the port in use, using a found instrument, and new device paths for the
// port numbers.

#include <algorithm>

#include "app/app_texts.h"
#include "app/link_config_file.h"
#include "app/own_settings_file.h"
#include "app/session.h"
#include "link/port_opening.h"

namespace zrm {

SearchOutcome Session::SearchInstruments(const SearchPlan& plan, Operator& op) {
  if (!PortReadyFor(op) || !port_.IsOpen()) {
    SearchOutcome outcome;
    outcome.end = SearchEnd::kNoPort;
    outcome.reason = config_.PortPath();
    return outcome;
  }
  SearchLine line{port_, [this](std::int32_t speed, std::string& reason) {
                    return port_.SetSpeed(speed, reason);
                  }};
  SearchOutcome outcome = zrm::SearchInstruments(line, plan, op);
  std::string ignored;
  if (port_.IsOpen()) port_.SetSpeed(config_.speed, ignored);
  // Probes at other speeds leave the line as a newly opened one.
  if (link_) link_->LineOpened();
  if (window_) KeepFoundAddresses(outcome, op);
  RecordSearch(outcome, op);
  return outcome;
}

void Session::KeepFoundAddresses(const SearchOutcome& outcome, Operator& op) {
  std::vector<std::uint32_t> addresses;
  for (const FoundInstrument& found : outcome.found)
    if (std::find(addresses.begin(), addresses.end(), found.address) == addresses.end())
      addresses.push_back(found.address);
  std::string error;
  if (addresses.empty() || SaveLastSearch(dir_, config_.PortPath(), addresses, error)) return;
  op.ShowMessage(app_texts::kUnableToWrite + OwnSettingsPath(dir_) + "\n" + error,
                 app_texts::kErrorCaption, MessageIcon::kError);
}

bool Session::UseInstrument(std::int32_t speed, std::uint32_t address, Operator& op) {
  const bool stored = StoreSpeedAndAddress(dir_, speed, address, op);
  config_.speed = speed;
  config_.net_address = address;
  OpenConfiguredPort(port_, config_, op);
  CreateLink();
  return stored;
}

bool Session::OpenPortAgain(Operator& op) {
  if (port_.IsOpen()) return true;
  const bool opened = OpenConfiguredPort(port_, config_, op);
  if (opened && link_) link_->LineOpened();
  return opened;
}

bool Session::UsePortPaths(const std::string (&paths)[4], Operator& op) {
  const std::string before = config_.PortPath();
  const bool stored = StorePortPaths(dir_, paths, op);
  for (std::size_t i = 0; i < 4; ++i)
    if (!paths[i].empty()) config_.port_paths[i] = paths[i];
  if (config_.PortPath() != before && OpenConfiguredPort(port_, config_, op) && link_)
    link_->LineOpened();
  return stored;
}

}  // namespace zrm
