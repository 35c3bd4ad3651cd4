// The menu "Связь" of the window against a simulated RS-485 bus: the search
// with its progress and ESC, "Использовать" writing dev.dat and applying at
// once, and "Порты…" saving [PORTS] and reopening the port in use.

// GLib's headers first: they use the word Qt's "signals" macro takes.
#include <umockdev.h>

#include <QAction>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "gui/dialogs/ports_dialog.h"
#include "lib/bus_options.h"
#include "support/workstation.h"

using zrm::test::Workstation;

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

// The dialogs of the menu answered from a script; what they were shown is kept.
struct ScriptedConnectionDialogs : zrm::gui::ConnectionDialogs {
  zrm::SearchPlan plan;
  std::optional<std::size_t> use;
  std::optional<zrm::gui::PortPaths> ports;
  std::vector<zrm::SearchOutcome>* outcomes;
  std::vector<zrm::gui::PortPaths>* shown_ports;

  std::optional<zrm::gui::PortPaths> EditPorts(QWidget*, const std::vector<zrm::SerialDevice>&,
                                               const zrm::gui::PortPaths& current) override {
    shown_ports->push_back(current);
    return ports;
  }
  std::optional<zrm::SearchPlan> AskSearchPlan(QWidget*) override { return plan; }
  std::optional<std::size_t> ChooseFound(QWidget*, const zrm::SearchOutcome& outcome) override {
    outcomes->push_back(outcome);
    return use;
  }
};

// True under umockdev-run. Its preload stays for the whole program, while
// UMOCKDEV_DIR goes with the first test bed that is freed.
bool UnderUmockdev() { return qEnvironmentVariable("LD_PRELOAD").contains("umockdev"); }

// A USB adapter in umockdev's test bed whose udev link is `link`; the
// window's device monitor listens to the test bed from its start.
struct RecordedAdapter {
  RecordedAdapter()
      : link(folder.filePath("adapter").toStdString()),
        bed(umockdev_testbed_new()),
        tty(umockdev_testbed_add_device(bed, "tty", "ttyUSB9", nullptr, "dev", "188:9", nullptr,
                                        "DEVNAME", "/dev/ttyUSB9", "DEVLINKS", link.c_str(),
                                        nullptr)) {}
  ~RecordedAdapter() {
    g_free(tty);
    g_object_unref(bed);
  }

  // The adapter is pulled: its line stops, its link goes, and udev says so.
  void Pull(zrm::sim::Simulator& line) {
    line.Stop();
    std::filesystem::remove(link);
    umockdev_testbed_uevent(bed, tty, "remove");
  }
  // It is plugged in again, its link now leading to `device`.
  void PlugBack(const std::string& device) {
    std::filesystem::create_symlink(device, link);
    umockdev_testbed_uevent(bed, tty, "add");
  }

  QTemporaryDir folder;
  std::string link;
  UMockdevTestbed* bed;
  gchar* tty;
};

// Three instruments at 3, 7 and 12 working at 19200, on port 1.
struct BusWorkstation : Workstation {
  zrm::sim::Simulator bus;
  std::vector<zrm::SearchOutcome> outcomes;
  std::vector<zrm::gui::PortPaths> shown_ports;
  ScriptedConnectionDialogs* dialogs_script = nullptr;

  // Port 1 opens the bus's line, or with `link` a symbolic link to it.
  explicit BusWorkstation(const std::string& link = {})
      : bus(zrm::sim::BusOptions({3, 7, 12}, 19200)) {
    std::string error;
    if (!bus.Start(&error)) qFatal("simulator: %s", error.c_str());
    if (!link.empty()) std::filesystem::create_symlink(bus.SlavePath(), link);
    MapPort(1, link.empty() ? bus.SlavePath() : link);
    Start();
    auto script = std::make_unique<ScriptedConnectionDialogs>();
    script->outcomes = &outcomes;
    script->shown_ports = &shown_ports;
    dialogs_script = script.get();
    Window().SetConnectionDialogs(std::move(script));
  }
  void Trigger(const char* item) { Window().findChild<QAction*>(item)->trigger(); }
  // The job, the dialog queued after it, and the job that dialog started.
  void WaitForJobs() {
    WaitForJob();
    QTest::qWait(50);
    WaitForJob();
  }
};

}  // namespace

class ConnectionMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void SearchFindsTheBusAndUseAppliesTheChosenInstrument();
  void EscStopsTheSearchKeepingWhatWasFound();
  void AFoundListThatCannotBeKeptIsReported();
  void PortsSavesTheDevicesAndReopensThePortInUse();
  void PortsDescribesTheDevicesInRussian();
  void AnUnmappedAdapterIsNamedInTheStatusBar();
  void ThePortInUseLeavesAndComesBack();
  void ThePortLeavesAndComesBackWhilePolling();
};

void ConnectionMenuTest::SearchFindsTheBusAndUseAppliesTheChosenInstrument() {
  BusWorkstation ws;
  ws.dialogs_script->plan.speeds = {9600, 19200};
  ws.dialogs_script->plan.last_address = 12;
  ws.dialogs_script->use = 1;  // the instrument at address 7
  // An ESC from before the search (one that closed a box) does not stop it.
  ws.Window().WindowOperator().PressEsc();
  ws.Trigger("FindItem");
  ws.WaitForJobs();

  QCOMPARE(ws.outcomes.size(), std::size_t{1});
  const zrm::SearchOutcome& outcome = ws.outcomes[0];
  QCOMPARE(outcome.found.size(), std::size_t{3});
  QCOMPARE(outcome.found[1].address, 7u);
  QVERIFY(outcome.garbled.empty());  // the garbage at 9600 came from the three found
  QVERIFY(ws.dialogs.shown.empty());
  QCOMPARE(ws.Key("dev.dat", "COM_SETTINGS", "Settings"), std::string("19200,N,8,2"));
  QCOMPARE(ws.Key("dev.dat", "DEVICE", "NetAdrr"), std::string("7"));
  QCOMPARE(ws.Outcome(), Q("Используется прибор с адресом 7 на скорости 19200"));
  // The window "Приборы на линии" polls what the search found on this port.
  QCOMPARE(ws.Key("zrm48setup.ini", "SEARCH", "Device"), ws.bus.SlavePath());
  QCOMPARE(ws.Key("zrm48setup.ini", "SEARCH", "Addresses"), std::string("3,7,12"));
  // The link uses them at once: a read gets the serial number of address 7.
  ws.ClickAndWait("Button1");
  QCOMPARE(ws.Find<QLineEdit>("Edit53")->text(), Q("12346"));
}

void ConnectionMenuTest::EscStopsTheSearchKeepingWhatWasFound() {
  BusWorkstation ws;
  ws.dialogs_script->plan.speeds = {19200};
  ws.dialogs_script->plan.last_address = 255;
  ws.Trigger("FindItem");
  QTest::qWait(600);  // past address 3, well before 255
  QVERIFY(ws.Find<QWidget>("Panel76")->isVisible());
  ws.Window().WindowOperator().PressEsc();
  ws.WaitForJobs();
  QCOMPARE(ws.outcomes.size(), std::size_t{1});
  QCOMPARE(ws.outcomes[0].end, zrm::SearchEnd::kStopped);
  QVERIFY(!ws.outcomes[0].found.empty());
  QCOMPARE(ws.outcomes[0].found[0].address, 3u);
  // The status bar says how the search ended, not that it was completed.
  QCOMPARE(ws.Outcome(), Q("Поиск остановлен пользователем. Найдено приборов: ") +
                             QString::number(ws.outcomes[0].found.size()));
  QVERIFY(!ws.Find<QWidget>("Panel76")->isVisible());
  // What a stopped search found is kept as well.
  QCOMPARE(ws.Key("zrm48setup.ini", "SEARCH", "Addresses").substr(0, 1), std::string("3"));
  // Nothing used: dev.dat keeps the start's values.
  QCOMPARE(ws.Key("dev.dat", "DEVICE", "NetAdrr"), std::string("1"));
}

void ConnectionMenuTest::AFoundListThatCannotBeKeptIsReported() {
  BusWorkstation ws;
  std::filesystem::create_directory(ws.PathOf("zrm48setup.ini"));
  ws.dialogs_script->plan.speeds = {19200};
  ws.dialogs_script->plan.last_address = 12;
  ws.Trigger("FindItem");
  ws.WaitForJobs();
  QCOMPARE(ws.dialogs.MessageTexts().size(), std::size_t{1});
  QVERIFY(ws.dialogs.MessageTexts()[0].rfind(
              "Unable to write to " + ws.PathOf("zrm48setup.ini") + "\n", 0) == 0);
  // The search's result is shown all the same.
  QCOMPARE(ws.outcomes.size(), std::size_t{1});
  QCOMPARE(ws.outcomes[0].found.size(), std::size_t{3});
}

void ConnectionMenuTest::PortsSavesTheDevicesAndReopensThePortInUse() {
  BusWorkstation ws;
  auto* ports = ws.Find<QComboBox>("ComboBox17");
  QCOMPARE(ports->itemData(0, Qt::ToolTipRole).toString().toStdString(), ws.bus.SlavePath());
  QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString(), Q("/dev/ttyS1"));
  const std::string settings = ws.Key("dev.dat", "COM_SETTINGS", "Settings");

  // Port 1 moves to a device that is not there; port 2 takes the bus.
  zrm::gui::PortPaths chosen;
  chosen.path[0] = ws.PathOf("gone");
  chosen.path[1] = ws.bus.SlavePath();
  ws.dialogs_script->ports = chosen;
  ws.Trigger("PortsItem");
  ws.WaitForJobs();
  QCOMPARE(ws.shown_ports.size(), std::size_t{1});
  QCOMPARE(ws.shown_ports[0].path[0], ws.bus.SlavePath());
  QCOMPARE(ws.Key("dev.dat", "PORTS", "COM1"), ws.PathOf("gone"));
  QCOMPARE(ws.Key("dev.dat", "PORTS", "COM2"), ws.bus.SlavePath());
  QCOMPARE(ws.Key("dev.dat", "COM_SETTINGS", "Settings"), settings);
  QCOMPARE(ports->itemData(1, Qt::ToolTipRole).toString().toStdString(), ws.bus.SlavePath());
  // Port 1 was in use: it was opened again at once, and cannot be.
  QCOMPARE(ws.dialogs.shown.size(), std::size_t{1});
  QVERIFY(ws.dialogs.shown[0].text.find(ws.PathOf("gone")) != std::string::npos);
}

void ConnectionMenuTest::PortsDescribesTheDevicesInRussian() {
  zrm::SerialDevice uart;
  uart.path = "/dev/ttyS0";
  uart.driver = "serial";
  zrm::SerialDevice ftdi;
  ftdi.path = "/dev/ttyUSB0";
  ftdi.usb = true;
  ftdi.driver = "ftdi_sio";
  ftdi.vendor_id = "0403";
  ftdi.product_id = "6001";
  ftdi.manufacturer = "FTDI";
  ftdi.product = "FT232R USB UART";
  zrm::gui::PortsDialog dialog({uart, ftdi}, zrm::gui::PortPaths{});
  auto* grid = dialog.findChild<QTableWidget*>("DevicesGrid");
  QCOMPARE(grid->item(0, 2)->text(), Q("встроенный порт"));
  QCOMPARE(grid->item(1, 2)->text(), Q("FTDI FT232R USB UART (0403:6001, ftdi_sio)"));
  QCOMPARE(dialog.findChild<QComboBox*>("PortBox1")->itemData(0, Qt::ToolTipRole).toString(),
           Q("встроенный порт"));
}

void ConnectionMenuTest::AnUnmappedAdapterIsNamedInTheStatusBar() {
  // The recorded machine has an FTDI adapter, an STM32 virtual COM port and
  // one built-in UART (tests/discovery/recorded/usb-adapters.umockdev).
  if (!qEnvironmentVariableIsSet("UMOCKDEV_DIR"))
    QSKIP("needs the recorded devices (umockdev-run)");
  BusWorkstation ws;
  auto* note = ws.Find<QLabel>("AdapterNote");
  QCOMPARE(note->text(), Q("Адаптер не назначен номеру порта: /dev/ttyACM0, /dev/ttyUSB0 — "
                           "Связь → Порты…"));
  QVERIFY(note->toolTip().contains(Q("/dev/ttyUSB0: FTDI FT232R USB UART (0403:6001, ftdi_sio)")));
  QVERIFY(ws.dialogs.shown.empty());  // a note, no box

  // Port 2 takes the FTDI adapter by its by-id name: only the other is left.
  zrm::gui::PortPaths chosen;
  chosen.path[1] = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A907XYZ-if00-port0";
  ws.dialogs_script->ports = chosen;
  ws.Trigger("PortsItem");
  ws.WaitForJobs();
  QCOMPARE(note->text(), Q("Адаптер не назначен номеру порта: /dev/ttyACM0 — Связь → Порты…"));
}

void ConnectionMenuTest::ThePortInUseLeavesAndComesBack() {
  if (!UnderUmockdev()) QSKIP("needs umockdev's udev (umockdev-run)");
  RecordedAdapter adapter;
  const std::string& link = adapter.link;
  BusWorkstation ws(link);

  // The adapter is pulled: the line goes, and udev says so in the port's
  // own part of the status bar; the last outcome stays beside it.
  ws.dialogs.save_names = {QString::fromStdString(ws.PathOf("kept.prf"))};
  ws.Trigger("N3");
  const QString saved = ws.Outcome();
  adapter.Pull(ws.bus);
  const QString path = QString::fromStdString(link);
  QTRY_COMPARE(ws.PortNews(), Q("Устройство отключено: ") + path);
  QCOMPARE(ws.Outcome(), saved);
  // A read meanwhile ends at once with 2, its reason shown once; the bar
  // says the read failed and that the port is not open.
  QElapsedTimer clock;
  clock.start();
  ws.ClickAndWait("Button1");
  QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
  QCOMPARE(ws.dialogs.shown.size(), std::size_t{1});
  QVERIFY(ws.dialogs.shown[0].text.find(link) != std::string::npos);
  const QString failed = Q("Команда не выполнена: Прибор не ответил (ERR 2)");
  QCOMPARE(ws.Outcome(), failed);
  QCOMPARE(ws.PortNews(), Q("Порт не открыт: ") + path);

  // It comes back on the same name: the port is opened again, no restart;
  // the failure stays the last outcome until the next command.
  zrm::sim::Simulator back;  // an instrument as dev.dat expects it: address 1, 9600
  QVERIFY(back.Start());
  adapter.PlugBack(back.SlavePath());
  QTRY_COMPARE(ws.PortNews(), Q("Устройство подключено снова, порт открыт: ") + path);
  ws.WaitForJob();
  QVERIFY(ws.TheSession().PortOpen());
  QCOMPARE(ws.Outcome(), failed);
  ws.ClickAndWait("Button1");
  QCOMPARE(ws.Find<QLineEdit>("Edit53")->text(), Q("12345"));
  QVERIFY(ws.Outcome().startsWith(Q("Настройки прочитаны из прибора 047-12345")));
  QCOMPARE(ws.PortNews(), Q("Устройство подключено снова, порт открыт: ") + path);
}

void ConnectionMenuTest::ThePortLeavesAndComesBackWhilePolling() {
  if (!UnderUmockdev()) QSKIP("needs umockdev's udev (umockdev-run)");
  RecordedAdapter adapter;
  BusWorkstation ws(adapter.link);
  auto* state = ws.Find<QLabel>("Panel75");
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(3);  // "Текущие значения" polls

  // Pulled while the page polls: the polls find nothing, and nothing hangs.
  adapter.Pull(ws.bus);
  QTRY_VERIFY(!state->text().isEmpty() && state->text() != Q("Получен ответ"));

  // Back on the same name with an instrument as dev.dat expects it: the
  // polls get their answers again without a restart of anything.
  zrm::sim::Simulator back;
  QVERIFY(back.Start());
  adapter.PlugBack(back.SlavePath());
  QTRY_COMPARE_WITH_TIMEOUT(state->text(), Q("Получен ответ"), 5000);
  QVERIFY(ws.TheSession().PortOpen());
}

QTEST_MAIN(ConnectionMenuTest)
#include "connection_menu_test.moc"
