#pragma once
// The window's menu "Связь": the port assignment ("Порты…"), the instrument
// search ("Найти прибор…") and the use of an instrument found, the window
// "Приборы на линии…" (opened by the main window), the port
// selector's device paths, the note about an adapter that no port number
// stands for, and the port in use leaving and coming back. What touches the
// link runs as a device job.

#include <QComboBox>
#include <QLabel>
#include <QMenuBar>
#include <QObject>
#include <QStatusBar>
#include <memory>

#include "app/session.h"
#include "gui/dialogs/connection_dialogs.h"
#include "gui/window/device_job_runner.h"
#include "gui/window/gui_operator.h"
#include "gui/window/hot_plug_watch.h"

namespace zrm::gui {

class ConnectionMenu : public QObject {
  Q_OBJECT

 public:
  // Adds the menu to `bar` and the adapter note to `status_bar`; the dialogs
  // open over `window`. Every argument must outlive the menu.
  ConnectionMenu(QMenuBar& bar, QStatusBar& status_bar, QComboBox& port_selector, Session& session,
                 GuiOperator& op, DeviceJobRunner& runner, QWidget* window);

  // The menu, locked with the commands.
  QMenu* Menu() const { return menu_; }
  // The dialogs the menu opens (tests script them).
  void SetDialogs(std::unique_ptr<ConnectionDialogs> dialogs) { dialogs_ = std::move(dialogs); }
  // The port selector's items carry their device paths as tooltips; the
  // status bar names a USB adapter that no port number stands for.
  void ShowPortDevices();

 signals:
  // What a command of the menu did, for the status bar.
  void Outcome(const QString& text);
  // The device of the port in use left or came back, for the status bar's
  // part of its own.
  void PortNews(const QString& text);
  // The search identified `instrument` (its type, prefix and serial number).
  void InstrumentIdentified(const zrm::DeviceSettings& instrument);
  // "Приборы на линии…" was chosen.
  void BusViewAsked();
  // A search ended; what it found is kept for the port in use.
  void SearchEnded();

 private:
  void OnPorts();
  void OnFindInstrument();
  // Tells each identified instrument, then lists them; "Использовать"
  // applies the one chosen.
  void UseFoundInstrument(const SearchOutcome& outcome);
  // A serial device arrived or left: the news when it is the port in use,
  // which is opened again when it comes back.
  void HotPlugNews(const DeviceEvent& event);

  QComboBox& port_selector_;
  Session& session_;
  GuiOperator& op_;
  DeviceJobRunner& runner_;
  QWidget* window_;
  QMenu* menu_;
  QLabel* adapter_note_;  // AdapterNote in the status bar
  std::unique_ptr<ConnectionDialogs> dialogs_;
};

}  // namespace zrm::gui
