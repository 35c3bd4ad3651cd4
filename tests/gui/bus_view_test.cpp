// The window "Приборы на линии": its rows made from snapshots (values,
// lamps, grey offline rows, the time since the last answer, a vanished
// line), the measurement log of each instrument; and the window against a
// simulated bus of four instruments: one that stops answering and returns,
// the main window's read while the view polls, picking an instrument, bad
// address lists, a device that vanishes and comes back.

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <bit>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <tuple>
#include <sstream>

#include "gui/bus_view/bus_view_columns.h"
#include "gui/bus_view/bus_view_log.h"
#include "gui/bus_view/bus_view_model.h"
#include "gui/bus_view/bus_view_placement.h"
#include "gui/bus_view/bus_view_window.h"
#include "lib/simulator.h"
#include "support/workstation.h"

using zrm::BusAvailability;
using zrm::BusSnapshot;
using namespace zrm::gui;

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

QString Q(const char* text) { return QString::fromUtf8(text); }

// An identified two-channel instrument 047-1234<address> that answered at `answered`.
BusSnapshot Answered(std::uint32_t address, Clock::time_point answered) {
  BusSnapshot s;
  s.address = address;
  s.availability = BusAvailability::kOnline;
  s.identity = {true, 1, 47, 12340 + address, (2 << 6) | (1 << 4) | 3};
  s.has_values = true;
  s.channel[0] = {23.5f, 0, 0x05};  // set point 1 and break lamps
  s.channel[1] = {-1.25f, 12, 0};   // switched off
  s.relay_byte = 0x02;
  s.last_answer = answered;
  s.polls_answered = 1;
  return s;
}

QString Cell(const BusViewModel& model, int row, int column) {
  return model.data(model.index(row, column), Qt::DisplayRole).toString();
}

bool Grey(const BusViewModel& model, int row) {
  return model.data(model.index(row, kAddressColumn), Qt::ForegroundRole).isValid();
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Instruments at 1..4 on one line, serial numbers 047-12345..12348; the
// simulator's faults silence the one at 1.
zrm::sim::SimulatorOptions FourInstruments() {
  zrm::sim::SimulatorOptions options;
  options.address = 1;
  options.more_addresses = {2, 3, 4};
  return options;
}

zrm::sim::Fault SilenceOfTheFirst() {
  zrm::sim::Fault fault;
  fault.kind = zrm::sim::FaultKind::kNoReply;
  fault.when.by = zrm::sim::FaultWhen::By::kShare;
  fault.when.share = 1.0;
  return fault;
}

// The search's dialogs: addresses 1..4 at 9600 bit/s, nothing used.
struct SearchOneToFour : zrm::gui::ConnectionDialogs {
  std::optional<zrm::gui::PortPaths> EditPorts(QWidget*, const std::vector<zrm::SerialDevice>&,
                                               const zrm::gui::PortPaths&) override {
    return std::nullopt;
  }
  std::optional<zrm::SearchPlan> AskSearchPlan(QWidget*) override {
    zrm::SearchPlan plan;
    plan.speeds = {9600};
    plan.last_address = 4;
    return plan;
  }
  std::optional<std::size_t> ChooseFound(QWidget*, const zrm::SearchOutcome&) override {
    return std::nullopt;
  }
};

// Port 1 is a link to the bus, whose last search found 1..4; the window is
// started and "Приборы на линии…" opened.
struct BusViewWorkstation : zrm::test::Workstation {
  std::unique_ptr<zrm::sim::Simulator> bus;
  std::string link;

  BusViewWorkstation() : bus(StartedBus()), link(PathOf("bus-line")) {
    std::filesystem::create_symlink(bus->SlavePath(), link);
    MapPort(1, link);
    SetKey("zrm48setup.ini", "SEARCH", "Device", link);
    SetKey("zrm48setup.ini", "SEARCH", "Addresses", "1,2,3,4");
    Start();
    OpenView();
  }
  static std::unique_ptr<zrm::sim::Simulator> StartedBus() {
    auto sim = std::make_unique<zrm::sim::Simulator>(FourInstruments());
    std::string error;
    if (!sim->Start(&error)) qFatal("simulator: %s", error.c_str());
    return sim;
  }
  void OpenView() { Window().findChild<QAction*>("BusViewItem")->trigger(); }
  BusViewWindow& View() { return *Window().findChild<BusViewWindow*>("BusView"); }
  QString Cell(int row, int column) { return ::Cell(View().Model(), row, column); }
  // Waits until every row says `availability`; false after `ms`.
  bool WaitForAll(const char* availability, int ms = 20000) {
    auto all = [&] {
      for (int row = 0; row < View().Model().rowCount(); ++row)
        if (Cell(row, kAvailabilityColumn) != Q(availability)) return false;
      return View().Model().rowCount() > 0;
    };
    for (int waited = 0; !all() && waited < ms; waited += 10) QTest::qWait(10);
    return all();
  }
  bool WaitForRow(int row, const char* availability, int ms = 20000) {
    for (int waited = 0; Cell(row, kAvailabilityColumn) != Q(availability) && waited < ms;
         waited += 10)
      QTest::qWait(10);
    return Cell(row, kAvailabilityColumn) == Q(availability);
  }
  // Picks row `row` with the button, answering the question about dev.dat.
  void Pick(int row, bool store) {
    dialogs.answers.push_back(store);
    auto* table = Window().findChild<QTableView*>("BusTable");
    table->setCurrentIndex(View().Model().index(row, 0));
    Window().findChild<QPushButton*>("BusConfigure")->click();
    QTRY_VERIFY_WITH_TIMEOUT(dialogs.answers.empty(), 10000);
  }
  // Reads the instrument the commands talk to; its serial number.
  QString ReadSerial() {
    auto* serial = Find<QLineEdit>("Edit53");
    serial->clear();
    Find<QPushButton>("Button1")->click();
    for (int waited = 0; serial->text().isEmpty() && waited < 20000; waited += 10) QTest::qWait(10);
    return serial->text();
  }
};

}  // namespace

class BusViewTest : public QObject {
  Q_OBJECT

 private slots:
  void RowsShowWhatTheInstrumentsSent();
  void ValuesAreShownAsThePageShowsThem();
  void OfflineRowsGreyWithTheirLastValuesAndReturn();
  void AVanishedLineTakesEveryRowOfflineAtOnce();
  void TimeSinceTheLastAnswer();
  void ColumnsShareTheRoomTheWidestWrappingFirst();
  void TheViewOpensBesideOrBelowTheMainWindowsControls();
  void TheFooterSaysTheLinesState();
  void EachInstrumentHasAMeasurementLogOfItsOwn();
  void TheViewPollsTheBusAndOneInstrumentStopsAndReturns();
  void TheMainWindowsReadWhileTheViewPollsNeverInterleaves();
  void APickedInstrumentIsTheCommandsOneWhileTheViewIsOpen();
  void TypedAddressesOrTheLastSearchBadListsChangeNothing();
  void ASwitchThatCannotBeKeptIsReported();
  void AnotherPortBringsItsOwnInstruments();
  void AVanishedDeviceTakesEveryRowOfflineAndTheViewResumes();
};

void BusViewTest::RowsShowWhatTheInstrumentsSent() {
  const Clock::time_point now = Clock::now();
  BusViewModel model;
  BusSnapshot waiting;
  waiting.address = 9;
  model.SetInstruments({Answered(3, now - seconds(3)), waiting});
  model.Refresh(now);
  QCOMPARE(model.rowCount(), 2);
  QCOMPARE(model.columnCount(), int{kBusViewColumnCount});
  QCOMPARE(model.headerData(kSinceColumn, Qt::Horizontal, Qt::DisplayRole).toString(),
           Q("С последнего ответа"));
  const QStringList row0 = {"3",
                            "4813 Н Двухканальный",
                            "047-12343",
                            "2.1.3",
                            " 23.5000",
                            "Нормальное измерение",
                            "Уставка 1, Обрыв",
                            " -1.2500",
                            "Канал выключен",
                            "нет",
                            "Реле 2",
                            "3 с",
                            "на связи"};
  for (int column = 0; column < kBusViewColumnCount; ++column)
    QCOMPARE(Cell(model, 0, column), row0[column]);
  QVERIFY(!Grey(model, 0));
  // Lamps and relays on are yellow, a switched-off channel in the button face.
  QCOMPARE(model.data(model.index(0, kLamps1Column), Qt::BackgroundRole).value<QColor>(),
           QColor(Qt::yellow));
  QCOMPARE(model.data(model.index(0, kRelaysColumn), Qt::BackgroundRole).value<QColor>(),
           QColor(Qt::yellow));
  QVERIFY(model.data(model.index(0, kValue2Column), Qt::BackgroundRole).value<QColor>() !=
          QColor(Qt::yellow));
  QVERIFY(!model.data(model.index(0, kLamps2Column), Qt::BackgroundRole).isValid());
  // Nothing answered yet: only the address and the wait.
  QCOMPARE(Cell(model, 1, kAddressColumn), Q("9"));
  for (int column = kTypeColumn; column < kAvailabilityColumn; ++column)
    QCOMPARE(Cell(model, 1, column), Q("—"));
  QCOMPARE(Cell(model, 1, kAvailabilityColumn), Q("ожидание ответа"));
  QCOMPARE(model.AddressAt(1), 9u);
  QCOMPARE(model.AddressAt(2), 0u);
  QCOMPARE(model.AddressAt(-1), 0u);
  // A snapshot of an address not shown changes nothing.
  model.Update(Answered(4, now));
  QCOMPARE(model.rowCount(), 2);
}

void BusViewTest::ValuesAreShownAsThePageShowsThem() {
  BusViewModel model;
  BusSnapshot s = Answered(1, Clock::now());
  s.channel[0] = {std::bit_cast<float>(0x7F800001u), 0, 0};  // signalling not-a-number
  s.channel[1] = {std::numeric_limits<float>::quiet_NaN(), 9, 0};
  model.SetInstruments({s});
  QCOMPARE(Cell(model, 0, kValue1Column), Q("-444.0000"));
  QCOMPARE(Cell(model, 0, kStatus1Column), Q("Ошибка в плавающей арифметике"));
  QCOMPARE(model.data(model.index(0, kValue1Column), Qt::BackgroundRole).value<QColor>(),
           QColor(Qt::yellow));
  QCOMPARE(Cell(model, 0, kValue2Column), Q("-1000.0000"));
  QCOMPARE(Cell(model, 0, kStatus2Column), Q("Обрыв"));
  s.channel[0] = {12345.0f, 200, 0};
  s.relay_byte = 0;
  model.Update(s);
  QCOMPARE(Cell(model, 0, kValue1Column), Q("10000.0000"));
  QCOMPARE(Cell(model, 0, kStatus1Column), Q("Код состояния 200"));
  QCOMPARE(Cell(model, 0, kRelaysColumn), Q("нет"));
}

void BusViewTest::OfflineRowsGreyWithTheirLastValuesAndReturn() {
  const Clock::time_point start = Clock::now();
  BusViewModel model;
  model.SetInstruments({Answered(1, start), Answered(2, start)});
  BusSnapshot gone = Answered(2, start);
  gone.availability = BusAvailability::kOffline;
  gone.failed_in_row = 3;
  model.Update(gone);
  model.Refresh(start + seconds(125));
  QVERIFY(!Grey(model, 0));
  QVERIFY(Grey(model, 1));
  QCOMPARE(Cell(model, 1, kAvailabilityColumn), Q("нет связи"));
  QCOMPARE(Cell(model, 1, kValue1Column), Q(" 23.5000"));
  QCOMPARE(Cell(model, 1, kSerialColumn), Q("047-12342"));
  QCOMPARE(Cell(model, 1, kSinceColumn), Q("2 мин 05 с"));
  // Grey throughout: the lit lamps too.
  QCOMPARE(model.data(model.index(1, kLamps1Column), Qt::BackgroundRole),
           model.data(model.index(1, kAddressColumn), Qt::BackgroundRole));
  model.Update(Answered(2, start + seconds(125)));
  QVERIFY(!Grey(model, 1));
  QCOMPARE(Cell(model, 1, kAvailabilityColumn), Q("на связи"));
  QCOMPARE(Cell(model, 1, kSinceColumn), Q("0 с"));
}

void BusViewTest::AVanishedLineTakesEveryRowOfflineAtOnce() {
  BusViewModel model;
  BusSnapshot waiting;
  waiting.address = 5;
  model.SetInstruments({Answered(1, Clock::now()), waiting});
  model.SetLineGone(true);
  for (int row = 0; row < 2; ++row) {
    QVERIFY(Grey(model, row));
    QCOMPARE(Cell(model, row, kAvailabilityColumn), Q("нет связи: устройство отключено"));
  }
  QCOMPARE(Cell(model, 0, kValue1Column), Q(" 23.5000"));
  model.SetLineGone(false);
  QVERIFY(!Grey(model, 0));
  QCOMPARE(Cell(model, 0, kAvailabilityColumn), Q("на связи"));
}

void BusViewTest::TimeSinceTheLastAnswer() {
  const std::pair<int, const char*> cases[] = {
      {-2, "0 с"},           {0, "0 с"},           {59, "59 с"},          {60, "1 мин 00 с"},
      {3599, "59 мин 59 с"}, {3600, "1 ч 00 мин"}, {90061, "25 ч 01 мин"}};
  for (const auto& [since, text] : cases) QCOMPARE(Q(SinceText(seconds(since)).c_str()), Q(text));
}

void BusViewTest::ColumnsShareTheRoomTheWidestWrappingFirst() {
  struct Row {
    std::vector<int> natural, least;
    int room;
    std::vector<int> fitted;
  };
  const Row rows[] = {
      // Room for every text on one line: the natural widths.
      {{50, 200, 80}, {50, 90, 80}, 330, {50, 200, 80}},
      {{50, 200, 80}, {50, 90, 80}, 400, {50, 200, 80}},
      // One pixel short: the widest column wraps, the others keep theirs.
      {{50, 200, 80}, {50, 90, 80}, 329, {50, 199, 80}},
      // The two widest come down to one width; the pixel left goes first.
      {{50, 200, 150, 80}, {50, 90, 90, 80}, 371, {50, 121, 120, 80}},
      // Down to the least widths, and no further even without room.
      {{50, 200, 150}, {50, 90, 120}, 260, {50, 90, 120}},
      {{50, 200, 150}, {50, 90, 120}, 100, {50, 90, 120}},
  };
  for (const Row& row : rows) QCOMPARE(FitColumnWidths(row.natural, row.least, row.room), row.fitted);
}

void BusViewTest::TheViewOpensBesideOrBelowTheMainWindowsControls() {
  const QRect screen(0, 0, 1280, 800);
  const QRect main(140, 100, 1000, 600);
  const QRect controls(140, 100, 1000, 140);  // menu and top strip
  // No room beside: over the pages, below the controls, within the screen.
  QCOMPARE(BusViewPlacement(screen, main, controls, QSize(1390, 360)), QRect(0, 240, 1280, 360));
  QCOMPARE(BusViewPlacement(screen, main, controls, QSize(900, 700)), QRect(140, 240, 900, 560));
  // Room on the right, else on the left: beside, level with the main window.
  const QRect wide(0, 0, 2560, 1440);
  QCOMPARE(BusViewPlacement(wide, main, controls, QSize(1200, 360)), QRect(1140, 100, 1200, 360));
  const QRect at_right(1500, 100, 1000, 600);
  QCOMPARE(BusViewPlacement(wide, at_right, at_right.adjusted(0, 0, 0, -460), QSize(1200, 360)),
           QRect(300, 100, 1200, 360));

  // The real view on this screen keeps the main window's controls in view.
  BusViewWorkstation ws;
  auto* pages = ws.Find<QWidget>("TabbedNotebook1");
  const QRect frame = ws.Window().frameGeometry();
  const QRect kept(frame.topLeft(), QPoint(frame.right(), pages->mapToGlobal(QPoint()).y() - 1));
  QVERIFY(!ws.View().frameGeometry().intersects(kept));
  QVERIFY(ws.Window().screen()->availableGeometry().contains(ws.View().frameGeometry()));

  // At 1280 wide every column is in view, "Связь" too, whatever the relays say.
  QVERIFY(ws.WaitForAll("на связи"));
  ws.View().resize(1280, 400);
  auto* table = ws.Window().findChild<QTableView*>("BusTable");
  QTRY_VERIFY(table->viewport()->width() > 1200);
  QVERIFY2(ws.Cell(1, kRelaysColumn) == Q("Реле 1, Реле 2"), qPrintable(ws.Cell(1, kRelaysColumn)));
  QHeaderView* heads = table->horizontalHeader();
  QVERIFY2(heads->length() <= table->viewport()->width(),
           qPrintable(QString("%1 > %2").arg(heads->length()).arg(table->viewport()->width())));
  QVERIFY(heads->sectionViewportPosition(kAvailabilityColumn) +
              heads->sectionSize(kAvailabilityColumn) <=
          table->viewport()->width());
}

void BusViewTest::TheFooterSaysTheLinesState() {
  using State = BusViewPolling::State;
  const std::tuple<State, bool, const char*> rows[] = {
      {State::kPolling, false, "Опрос идёт"},
      {State::kPolling, true, "Опрос идёт, но ни один прибор не отвечает"},
      {State::kLineGone, true,
       "Опрос остановлен: устройство отключено, линия проверяется раз в секунду"},
      {State::kPausedForCommand, true, "Опрос приостановлен: выполняется команда"},
      {State::kStopped, false, ""}};
  for (const auto& [state, none_answers, footer] : rows)
    QCOMPARE(BusViewFooter(state, none_answers), Q(footer));
  BusViewModel model;
  QVERIFY(!model.NoneAnswers());
  BusSnapshot gone = Answered(1, Clock::now());
  gone.availability = BusAvailability::kOffline;
  model.SetInstruments({gone, Answered(2, Clock::now())});
  QVERIFY(!model.NoneAnswers());
  model.Update([&] {
    BusSnapshot second = gone;
    second.address = 2;
    return second;
  }());
  QVERIFY(model.NoneAnswers());
}

void BusViewTest::EachInstrumentHasAMeasurementLogOfItsOwn() {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  BusSnapshot s = Answered(7, Clock::now());
  s.identity.prefix = 5;
  s.identity.serial_number = 42;
  s.last_answer_wall = std::chrono::system_clock::now();
  s.channel[1] = {std::numeric_limits<float>::quiet_NaN(), 9, 0};
  QCOMPARE(InstrumentLogName(s.identity), std::string("IZM-005-00042.txt"));
  QCOMPARE(LogInstrumentMeasurement(folder, s), zrm::result::kOk);
  QCOMPARE(LogInstrumentMeasurement(folder, s), zrm::result::kOk);
  const std::string line = FormatMeasurementLine(BusMeasurementOf(s));
  // The measurement log's line: time, relays, each channel's shown value and status.
  QCOMPARE(line.substr(8), std::string("  02   23.5000  00  -1000.0000  09\r\n"));
  QCOMPARE(ReadAll(folder + "/IZM-005-00042.txt"), line + line);
  // No number known yet: no file to write to.
  BusSnapshot unknown = s;
  unknown.identity.known = false;
  QCOMPARE(LogInstrumentMeasurement(folder, unknown), zrm::result::kOk);
  QCOMPARE(LogInstrumentMeasurement(folder + "/missing", s), zrm::result::kFile);
}

void BusViewTest::TheViewPollsTheBusAndOneInstrumentStopsAndReturns() {
  BusViewWorkstation ws;
  ws.Window().findChild<QCheckBox*>("BusLogPerInstrument")->click();
  QCOMPARE(ws.Key("zrm48setup.ini", "BUS_VIEW", "LogPerInstrument"), std::string("1"));
  QVERIFY(ws.View().isVisible());
  QCOMPARE(ws.View().Model().rowCount(), 4);
  QVERIFY(ws.WaitForAll("на связи"));
  for (int row = 0; row < 4; ++row) {
    QCOMPARE(ws.Cell(row, kAddressColumn), QString::number(row + 1));
    QCOMPARE(ws.Cell(row, kSerialColumn), QString("047-1234%1").arg(row + 5));
    QVERIFY(ws.Cell(row, kValue1Column) != Q("—"));
  }
  QCOMPARE(ws.Window().findChild<QLabel*>("BusState")->text(), Q("Опрос идёт"));

  ws.bus->AddFault(SilenceOfTheFirst());
  QVERIFY(ws.WaitForRow(0, "нет связи"));
  QVERIFY(Grey(ws.View().Model(), 0));
  QVERIFY(ws.Cell(0, kValue1Column) != Q("—"));  // its last values stay
  for (int row = 1; row < 4; ++row) {
    QCOMPARE(ws.Cell(row, kAvailabilityColumn), Q("на связи"));
    QVERIFY(!Grey(ws.View().Model(), row));
  }
  ws.bus->ClearFaults();
  QVERIFY(ws.WaitForRow(0, "на связи"));
  QVERIFY(!Grey(ws.View().Model(), 0));

  // Every answered poll went into the instrument's own log; IZM.txt is the
  // page's, which did not poll.
  const std::string log = ReadAll(ws.PathOf("IZM-047-12346.txt"));
  QVERIFY(log.size() >= 2 * 40);
  QCOMPARE(log.substr(log.size() - 2), std::string("\r\n"));
  QVERIFY(!std::filesystem::exists(ws.PathOf("IZM.txt")));
}

void BusViewTest::TheMainWindowsReadWhileTheViewPollsNeverInterleaves() {
  BusViewWorkstation ws;
  QVERIFY(ws.WaitForAll("на связи"));
  ws.bus->ClearFrames();
  QCOMPARE(ws.ReadSerial(), Q("12345"));
  QTest::qWait(300);  // the view goes on after the read
  const std::vector<zrm::sim::ReceivedFrame> frames = ws.bus->Frames();
  std::size_t first_read = frames.size();
  std::size_t last_read = 0;
  std::set<unsigned> polled;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const zrm::sim::ReceivedFrame& frame = frames[i];
    // Every request answered before the next one began.
    QVERIFY(!frame.reply.empty());
    if (i > 0) QVERIFY(frame.first_byte >= frames[i - 1].time);
    const bool status = frame.fields.parameter == zrm::sim::kStatusBlockKey;
    if (status) polled.insert(*frame.fields.net_address);
    if (!status && frame.fields.net_address == 1u) {
      first_read = std::min(first_read, i);
      last_read = i;
    }
  }
  QVERIFY(last_read > first_read + 20);
  // The read is one block: no poll of the view inside it.
  for (std::size_t i = first_read; i <= last_read; ++i)
    QVERIFY(frames[i].fields.parameter != zrm::sim::kStatusBlockKey);
  QCOMPARE(polled, (std::set<unsigned>{1, 2, 3, 4}));

  // The page "Текущие значения" polls its instrument alone: the view waits.
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(3);
  QTRY_COMPARE_WITH_TIMEOUT(ws.Window().findChild<QLabel*>("BusState")->text(),
                            Q("Опрос приостановлен: окно опрашивает прибор на странице "
                              "«Текущие значения»"),
                            5000);
  QTest::qWait(200);
  ws.bus->ClearFrames();
  QTest::qWait(1200);
  for (const zrm::sim::ReceivedFrame& frame : ws.bus->Frames())
    QCOMPARE(*frame.fields.net_address, 1u);
  QVERIFY(!ws.bus->Frames().empty());
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(0);
  QTRY_COMPARE_WITH_TIMEOUT(ws.Window().findChild<QLabel*>("BusState")->text(), Q("Опрос идёт"),
                            5000);
}

void BusViewTest::APickedInstrumentIsTheCommandsOneWhileTheViewIsOpen() {
  BusViewWorkstation ws;
  QVERIFY(ws.WaitForAll("на связи"));
  ws.Pick(2, false);
  QTRY_COMPARE_WITH_TIMEOUT(ws.Outcome(), Q("Команды обращаются к прибору с адресом 3"), 10000);
  QCOMPARE(ws.ReadSerial(), Q("12347"));
  QCOMPARE(ws.dialogs.shown.back().caption, std::string("Адрес прибора"));
  QCOMPARE(ws.Key("dev.dat", "DEVICE", "NetAdrr"), std::string("1"));
  // A pick is a command: locked while another runs.
  auto* configure = ws.Window().findChild<QPushButton*>("BusConfigure");
  ws.Find<QPushButton>("Button1")->click();
  QVERIFY(!configure->isEnabled());
  ws.View().PickRow(0);
  ws.WaitForJob();
  QVERIFY(configure->isEnabled());
  QCOMPARE(ws.dialogs.answers.size(), std::size_t{0});
  QCOMPARE(ws.ReadSerial(), Q("12347"));
  // Closed, the commands talk to dev.dat's instrument again.
  ws.View().close();
  ws.WaitForJob();
  QCOMPARE(ws.ReadSerial(), Q("12345"));

  // Kept in dev.dat, the pick stays after the view has closed.
  ws.OpenView();
  QVERIFY(ws.WaitForAll("на связи"));
  ws.Pick(1, true);
  QTRY_COMPARE_WITH_TIMEOUT(ws.Key("dev.dat", "DEVICE", "NetAdrr"), std::string("2"), 10000);
  ws.View().close();
  ws.WaitForJob();
  QCOMPARE(ws.ReadSerial(), Q("12346"));
  QCOMPARE(ws.Key("dev.dat", "COM_SETTINGS", "Settings"), std::string("9600,N,8,2"));
}

void BusViewTest::TypedAddressesOrTheLastSearchBadListsChangeNothing() {
  BusViewWorkstation ws;
  auto* field = ws.Window().findChild<QLineEdit*>("BusAddresses");
  QCOMPARE(field->text(), Q("1,2,3,4"));
  for (const char* bad : {"0", "300", "a-b", "3-1", ""}) {
    field->setText(Q(bad));
    ws.Window().findChild<QPushButton*>("BusApply")->click();
    QCOMPARE(ws.View().Model().rowCount(), 4);
  }
  QCOMPARE(ws.dialogs.MessageTexts().size(), std::size_t{5});
  for (const std::string& text : ws.dialogs.MessageTexts())
    QVERIFY(text.rfind("Адреса не приняты: ", 0) == 0);
  QVERIFY(ws.WaitForAll("на связи"));
  // Nothing went to an address of a bad list.
  for (const zrm::sim::ReceivedFrame& frame : ws.bus->Frames())
    QVERIFY(*frame.fields.net_address >= 1 && *frame.fields.net_address <= 4);
  field->setText(Q("2-3, 7"));
  ws.Window().findChild<QPushButton*>("BusApply")->click();
  QCOMPARE(ws.View().Model().rowCount(), 3);
  QVERIFY(ws.WaitForRow(2, "нет связи"));
  QCOMPARE(ws.Cell(0, kAvailabilityColumn), Q("на связи"));
  // A search brings the open view what it found.
  ws.Window().SetConnectionDialogs(std::make_unique<SearchOneToFour>());
  ws.Window().findChild<QAction*>("FindItem")->trigger();
  QTRY_COMPARE_WITH_TIMEOUT(ws.View().Model().rowCount(), 4, 20000);
  QCOMPARE(field->text(), Q("1,2,3,4"));
}

void BusViewTest::ASwitchThatCannotBeKeptIsReported() {
  BusViewWorkstation ws;
  std::filesystem::remove(ws.PathOf("zrm48setup.ini"));
  std::filesystem::create_directory(ws.PathOf("zrm48setup.ini"));
  ws.Window().findChild<QCheckBox*>("BusLogPerInstrument")->click();
  QCOMPARE(ws.dialogs.MessageTexts().size(), std::size_t{1});
  QVERIFY(ws.dialogs.MessageTexts()[0].rfind(
              "Невозможно сохранить настройку в файл " + ws.PathOf("zrm48setup.ini") + ": ", 0) ==
          0);
  // The view goes on polling, logging as asked for this session.
  QVERIFY(ws.WaitForAll("на связи"));
  QTRY_VERIFY_WITH_TIMEOUT(std::filesystem::exists(ws.PathOf("IZM-047-12345.txt")), 5000);
}

void BusViewTest::AnotherPortBringsItsOwnInstruments() {
  BusViewWorkstation ws;
  QVERIFY(ws.WaitForAll("на связи"));
  auto* ports = ws.Find<QComboBox>("ComboBox17");
  ports->setCurrentIndex(1);
  emit ports->activated(1);  // port 2: a device this machine does not have
  QTRY_VERIFY_WITH_TIMEOUT(ws.View().windowTitle().startsWith(Q("Приборы на линии — порт 2")),
                           5000);
  // Its last search is not this port's: dev.dat's address, and no line.
  QCOMPARE(ws.View().Model().rowCount(), 1);
  QVERIFY(ws.WaitForAll("нет связи: устройство отключено", 5000));
  ports->setCurrentIndex(0);
  emit ports->activated(0);
  QTRY_COMPARE_WITH_TIMEOUT(ws.View().Model().rowCount(), 4, 5000);
  QVERIFY(ws.WaitForAll("на связи"));
}

void BusViewTest::AVanishedDeviceTakesEveryRowOfflineAndTheViewResumes() {
  BusViewWorkstation ws;
  QVERIFY(ws.WaitForAll("на связи"));
  ws.bus->Stop();
  std::filesystem::remove(ws.link);
  QVERIFY(ws.WaitForAll("нет связи: устройство отключено", 5000));
  for (int row = 0; row < 4; ++row) QVERIFY(Grey(ws.View().Model(), row));
  auto* footer = ws.Window().findChild<QLabel*>("BusState");
  QTRY_COMPARE(footer->text(),
               Q("Опрос остановлен: устройство отключено, линия проверяется раз в секунду"));
  // Plugged in again under the same name.
  ws.bus = BusViewWorkstation::StartedBus();
  std::filesystem::create_symlink(ws.bus->SlavePath(), ws.link);
  QVERIFY(ws.WaitForAll("на связи"));
  QTRY_COMPARE(footer->text(), Q("Опрос идёт"));

  // A last search on another device is not this port's: dev.dat's address.
  ws.SetKey("zrm48setup.ini", "SEARCH", "Device", "/dev/ttyUSB7");
  ws.View().close();
  ws.OpenView();
  QCOMPARE(ws.View().Model().rowCount(), 1);
  QCOMPARE(ws.View().Model().AddressAt(0), 1u);
}

QTEST_MAIN(BusViewTest)
#include "bus_view_test.moc"
