#pragma once
// The dialogs of the menu "Связь": the port assignment ("Порты…"), the
// search plan and the list of instruments found ("Найти прибор…"). The
// program uses Qt's dialogs (QtConnectionDialogs); tests script the answers
// so that no modal dialog blocks them.

#include <optional>
#include <string>
#include <vector>

#include "app/instrument_search.h"
#include "discovery/serial_device.h"

class QWidget;

namespace zrm::gui {

// The device path of each port number 1..4.
struct PortPaths {
  std::string path[4];
};

class ConnectionDialogs {
 public:
  virtual ~ConnectionDialogs() = default;

  // "Порты…": the detected devices and, for each port number, the device it
  // stands for; the paths chosen, or empty when cancelled.
  virtual std::optional<PortPaths> EditPorts(QWidget* parent,
                                             const std::vector<SerialDevice>& devices,
                                             const PortPaths& current) = 0;
  // The speeds, addresses and probe margin to search with; empty when
  // cancelled.
  virtual std::optional<SearchPlan> AskSearchPlan(QWidget* parent) = 0;
  // The search's results; the index in outcome.found of the instrument to
  // use ("Использовать"), or empty when closed.
  virtual std::optional<std::size_t> ChooseFound(QWidget* parent, const SearchOutcome& outcome) = 0;
};

// The dialogs of the program, built with Qt Widgets.
class QtConnectionDialogs : public ConnectionDialogs {
 public:
  std::optional<PortPaths> EditPorts(QWidget* parent, const std::vector<SerialDevice>& devices,
                                     const PortPaths& current) override;
  std::optional<SearchPlan> AskSearchPlan(QWidget* parent) override;
  std::optional<std::size_t> ChooseFound(QWidget* parent, const SearchOutcome& outcome) override;
};

}  // namespace zrm::gui
