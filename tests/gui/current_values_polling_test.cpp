// The page "Текущие значения" polling the emulated instrument and a line
// that never answers: what the boxes show, when requests go out, the
// measurement log, the reading button, commands asked for during a poll, and
// that the window's event loop keeps running meanwhile.

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <fstream>
#include <functional>

#include "gui/pages/current_values_page.h"
#include "gui/dialogs/qt_dialogs.h"
#include "lib/simulator.h"
#include "support/workstation.h"

using zrm::BoxColour;
using zrm::gui::PaintOf;
using zrm::test::SilentLine;
using zrm::test::Workstation;

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

// Waits, with the event loop running, until the instrument has received
// `count` requests; false when it did not within `ms`.
bool WaitForRequests(const zrm::sim::Simulator& sim, std::size_t count, int ms) {
  for (int waited = 0; sim.RequestsReceived() < count && waited < ms; waited += 5) QTest::qWait(5);
  return sim.RequestsReceived() >= count;
}

constexpr int kCurrentValuesPage = 3;
constexpr const char* kAnswerReceived = "Получен ответ";
constexpr const char* kNoAnswer = "Не дождались ответа";

// A folder whose port 1 is the emulated instrument.
struct InstrumentWorkstation : Workstation {
  zrm::sim::Simulator sim;
  InstrumentWorkstation() {
    std::string error;
    if (!sim.Start(&error)) qFatal("simulator: %s", error.c_str());
    MapPort(1, sim.SlavePath());
  }
};

// A folder whose port 1 opens but never answers; replies are awaited one
// second (the shortest time-out dev.dat can give).
struct SilentWorkstation : Workstation {
  SilentLine line;
  SilentWorkstation() {
    MapPort(1, line.Path());
    SetKey("dev.dat", "SETTINGS", "TimeOut", "1");
  }
};

// The longest gap between the event loop's turns while it is measured.
class StallMeter {
 public:
  StallMeter() {
    tick_.setInterval(5);
    QObject::connect(&tick_, &QTimer::timeout, [this] {
      const qint64 now = clock_.elapsed();
      worst_ = std::max(worst_, now - last_);
      last_ = now;
    });
    clock_.start();
    tick_.start();
  }
  qint64 WorstMs() const { return worst_; }

 private:
  QTimer tick_;
  QElapsedTimer clock_;
  qint64 last_ = 0;
  qint64 worst_ = 0;
};

bool Painted(QLabel* box, BoxColour colour) {
  return box->palette().color(QPalette::Window) == PaintOf(colour);
}

void ShowPage(Workstation& ws, int page) {
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(page);
}

// Waits until `box` reads `text`; false when it never did within `ms`.
bool WaitForText(Workstation& ws, const char* box, const char* text, int ms) {
  QElapsedTimer waited;
  waited.start();
  while (ws.Find<QLabel>(box)->text() != Q(text) && waited.elapsed() < ms) QTest::qWait(5);
  return ws.Find<QLabel>(box)->text() == Q(text);
}

std::vector<std::string> LinesOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

}  // namespace

class CurrentValuesPollingTest : public QObject {
  Q_OBJECT

 private slots:
  void PageShowsTheInstrumentsValuesAndStates();
  void NoRequestWhileAnotherPageIsShown();
  void EverySecondPollWritesAMeasurementLine();
  void SwitchedOffMeasurementLogWritesNothing();
  void ReadingButtonPausesAndResumesThePolling();
  void MissingInstrumentShowsNoAnswerInYellowWithoutStalling();
  void CommandAskedForDuringAPollRunsAfterIt();
  void ClosingDuringAPollWaitsForItThenShutsDown();
  void ValuesGoOnBehindAModalDialog();
  void ValuesGoOnBehindTheBoxThatEndsACommand();
  void APortThatIsNotOpenIsSaidSo();
};

void CurrentValuesPollingTest::PageShowsTheInstrumentsValuesAndStates() {
  InstrumentWorkstation ws;
  ws.sim.PinChannelValue(1, 23.5f);
  ws.sim.PinStatusCode(1, 0);
  ws.sim.PinChannelValue(2, 12345.0f);
  ws.sim.PinStatusCode(2, 12);
  ws.sim.SetInputByte(0x11);
  ws.Start();
  ShowPage(ws, kCurrentValuesPage);
  QVERIFY(WaitForText(ws, "Panel75", kAnswerReceived, 3000));

  QCOMPARE(ws.Find<QLabel>("Panel3")->text(), Q(" 23.5000"));
  QVERIFY(Painted(ws.Find<QLabel>("Panel3"), BoxColour::kWhite));
  QCOMPARE(ws.Find<QLabel>("Panel24")->text(), Q("Нормальное измерение"));
  QVERIFY(Painted(ws.Find<QLabel>("Panel24"), BoxColour::kButtonFace));
  // Above the display range, and a switched-off channel greyed out.
  QCOMPARE(ws.Find<QLabel>("Panel7")->text(), Q("10000.0000"));
  QCOMPARE(ws.Find<QLabel>("Panel25")->text(), Q("Канал выключен"));
  QVERIFY(Painted(ws.Find<QLabel>("Panel7"), BoxColour::kButtonFace));
  QVERIFY(Painted(ws.Find<QLabel>("Panel25"), BoxColour::kButtonFace));
  // Input byte 0x11: button "1" and "Диапазон" lit, the others not.
  for (const char* lit : {"Panel13", "Panel17"})
    QVERIFY2(Painted(ws.Find<QLabel>(lit), BoxColour::kYellow), lit);
  for (const char* off : {"Panel14", "Panel15", "Panel16", "Panel18", "Panel19"})
    QVERIFY2(Painted(ws.Find<QLabel>(off), BoxColour::kButtonFace), off);
  QCOMPARE(ws.Find<QLabel>("Panel13")->text(), Q("1"));
  QCOMPARE(ws.Find<QLabel>("Panel17")->text(), Q("Диапазон"));
  QVERIFY(Painted(ws.Find<QLabel>("Panel75"), BoxColour::kButtonFace));
  // The value boxes are large and bold.
  QVERIFY(ws.Find<QLabel>("Panel3")->font().bold());
  QVERIFY(ws.Find<QLabel>("Panel7")->font().pixelSize() >= 20);

  // A signalling not-a-number from the instrument.
  ws.sim.PinChannelBits(1, 0x7F800001u);
  QVERIFY(WaitForText(ws, "Panel3", "-444.0000", 3000));
  QCOMPARE(ws.Find<QLabel>("Panel24")->text(), Q("Ошибка в плавающей арифметике"));
  QVERIFY(Painted(ws.Find<QLabel>("Panel24"), BoxColour::kYellow));
  QVERIFY(Painted(ws.Find<QLabel>("Panel3"), BoxColour::kYellow));
}

void CurrentValuesPollingTest::NoRequestWhileAnotherPageIsShown() {
  InstrumentWorkstation ws;
  ws.Start();
  for (int page : {0, 1, 2, 4}) {
    ShowPage(ws, page);
    QTest::qWait(700);
  }
  QCOMPARE(ws.sim.RequestsReceived(), std::size_t{0});
  QCOMPARE(ws.Find<QLabel>("Panel75")->text(), QString());

  QElapsedTimer since_switch;
  ShowPage(ws, kCurrentValuesPage);
  since_switch.start();
  QVERIFY(WaitForRequests(ws.sim, 1, 2000));
  // The timer runs at 500 ms whatever the page, so the first request follows
  // within one interval (and the time the frame takes on the line).
  QVERIFY2(since_switch.elapsed() < 650, qPrintable(QString::number(since_switch.elapsed())));

  // Leaving the page stops the requests; the boxes keep their contents.
  QVERIFY(WaitForText(ws, "Panel75", kAnswerReceived, 2000));
  ShowPage(ws, 0);
  ws.WaitForJob();
  const std::size_t polled = ws.sim.RequestsReceived();
  QTest::qWait(1200);
  QCOMPARE(ws.sim.RequestsReceived(), polled);
  QCOMPARE(ws.Find<QLabel>("Panel75")->text(), Q(kAnswerReceived));
}

void CurrentValuesPollingTest::EverySecondPollWritesAMeasurementLine() {
  InstrumentWorkstation ws;
  ws.SetKey("dev.dat", "IZM", "IzmFileName", "values.log");
  ws.sim.PinChannelValue(1, 23.5f);
  ws.sim.PinStatusCode(1, 0);
  ws.sim.PinChannelValue(2, -5000.0f);
  ws.sim.PinStatusCode(2, 8);
  ws.Start();
  ShowPage(ws, kCurrentValuesPage);
  QVERIFY(WaitForRequests(ws.sim, 7, 6000));
  ShowPage(ws, 0);
  ws.WaitForJob();

  // The first answered poll also read the instrument's four bytes of
  // identity, to look up its unfinished write.
  constexpr std::size_t kIdentityReads = 4;
  const std::size_t polls = ws.sim.RequestsReceived() - kIdentityReads;
  const std::vector<std::string> lines = LinesOf(ws.PathOf("values.log"));
  QCOMPARE(lines.size(), polls / 2);
  // Clamped values, lower-case hexadecimal codes, CR LF line ends.
  const QRegularExpression form(
      "^\\d\\d:\\d\\d:\\d\\d  [0-9a-f]{2}   23\\.5000  00  -1000\\.0000  08\\r$");
  for (const std::string& line : lines)
    QVERIFY2(form.match(QString::fromStdString(line)).hasMatch(), line.c_str());
}

void CurrentValuesPollingTest::SwitchedOffMeasurementLogWritesNothing() {
  InstrumentWorkstation ws;
  ws.SetKey("dev.dat", "IZM", "UseIzmFile", "2");
  ws.Start();
  ShowPage(ws, kCurrentValuesPage);
  QVERIFY(WaitForRequests(ws.sim, 4, 5000));
  ShowPage(ws, 0);
  ws.WaitForJob();
  QVERIFY(!std::ifstream(ws.PathOf("IZM.txt")).good());
}

void CurrentValuesPollingTest::ReadingButtonPausesAndResumesThePolling() {
  InstrumentWorkstation ws;
  ws.Start();
  auto* reading = ws.Find<QPushButton>("ReadingButton");
  QCOMPARE(reading->text(), Q("Приостановить чтение"));
  ShowPage(ws, kCurrentValuesPage);
  QVERIFY(WaitForRequests(ws.sim, 1, 2000));

  reading->click();
  QCOMPARE(reading->text(), Q("Начать чтение"));
  ws.WaitForJob();
  const std::size_t polled = ws.sim.RequestsReceived();
  QTest::qWait(1500);
  QCOMPARE(ws.sim.RequestsReceived(), polled);

  reading->click();
  QCOMPARE(reading->text(), Q("Приостановить чтение"));
  QVERIFY(WaitForRequests(ws.sim, polled + 1, 1000));
}

void CurrentValuesPollingTest::MissingInstrumentShowsNoAnswerInYellowWithoutStalling() {
  SilentWorkstation ws;
  ws.Start();
  StallMeter meter;
  ShowPage(ws, kCurrentValuesPage);
  // Two attempts of one second each, after the first tick.
  QVERIFY(WaitForText(ws, "Panel75", kNoAnswer, 5000));
  QVERIFY(Painted(ws.Find<QLabel>("Panel75"), BoxColour::kYellow));
  // Nothing has been measured: no value, no state, no measurement line.
  QCOMPARE(ws.Find<QLabel>("Panel3")->text(), QString());
  QCOMPARE(ws.Find<QLabel>("Panel24")->text(), QString());
  // A second failed poll, one time-out + 500 ms later, still never stalls.
  QTest::qWait(3000);
  QVERIFY2(meter.WorstMs() < 100, qPrintable(QString("longest stall %1 ms").arg(meter.WorstMs())));
  QVERIFY(ws.dialogs.shown.empty());
  QVERIFY(!std::ifstream(ws.PathOf("IZM.txt")).good());
}

void CurrentValuesPollingTest::CommandAskedForDuringAPollRunsAfterIt() {
  SilentWorkstation ws;
  ws.MapPort(3, ws.PathOf("no-such-device"));
  ws.Start();
  auto wait_for_poll = [&ws] {
    QElapsedTimer waited;
    waited.start();
    while (!ws.Window().Busy() && waited.elapsed() < 3000) QTest::qWait(5);
    return ws.Window().Busy();
  };
  ShowPage(ws, kCurrentValuesPage);
  QVERIFY2(wait_for_poll(), "a poll is under way");
  ws.ClickAndWait("Button1");
  QCOMPARE(ws.dialogs.CountOf("Прибор не ответил (ERR 2)"), 1);

  // A port change waiting for the poll locks the controls at once, so no
  // later click can take its place.
  QVERIFY2(wait_for_poll(), "a poll is under way");
  auto* ports = ws.Find<QComboBox>("ComboBox17");
  ports->setCurrentIndex(2);
  emit ports->activated(2);
  for (const char* name : {"Button1", "Button3", "Button42", "ComboBox17", "TabbedNotebook1"})
    QVERIFY2(!ws.Find<QWidget>(name)->isEnabled(), name);
  ws.Find<QPushButton>("Button1")->click();
  ws.WaitForJob();
  QCOMPARE(ws.Find<QLabel>("Label2")->text(), Q("3"));
  QCOMPARE(ports->currentText(), Q("3"));
  QVERIFY(ports->isEnabled());

  // An ESC pressed while a read waits for the poll stops that read.
  ws.dialogs.shown.clear();
  ports->setCurrentIndex(0);
  emit ports->activated(0);
  ws.WaitForJob();
  QVERIFY2(wait_for_poll(), "a poll is under way");
  ws.Find<QPushButton>("Button1")->click();
  QTest::keyClick(&ws.Window(), Qt::Key_Escape);
  ws.WaitForJob();
  QCOMPARE(ws.dialogs.CountOf("Ход процесса остановлен пользователем (ERR 20)"), 1);
  QCOMPARE(ws.dialogs.CountOf("Прибор не ответил (ERR 2)"), 0);
  QVERIFY(ws.Find<QPushButton>("Button1")->isEnabled());
}

void CurrentValuesPollingTest::ClosingDuringAPollWaitsForItThenShutsDown() {
  SilentWorkstation ws;
  ws.Start();
  ShowPage(ws, kCurrentValuesPage);
  QElapsedTimer waited;
  waited.start();
  while (!ws.Window().Busy() && waited.elapsed() < 3000) QTest::qWait(5);
  QVERIFY(ws.Window().Busy());
  ws.Window().close();
  QVERIFY(ws.Window().isVisible());
  while (ws.Window().isVisible() && waited.elapsed() < 8000) QTest::qWait(10);
  QVERIFY2(!ws.Window().isVisible(), "the window closed when the poll ended");
}

void CurrentValuesPollingTest::ValuesGoOnBehindAModalDialog() {
  InstrumentWorkstation ws;
  ws.sim.PinChannelValue(1, 23.5f);
  ws.Start();
  ShowPage(ws, kCurrentValuesPage);
  QVERIFY(WaitForText(ws, "Panel3", " 23.5000", 3000));
  // The real dialogs, opened while a poll is under way: the file dialog of
  // "Сохранить в CSV" from the page and the open dialog of "Файл" from the
  // window. Behind each, the boxes follow the instrument.
  zrm::gui::QtDialogs real;
  const std::vector<std::function<void()>> dialogs = {
      [&ws] { ws.Find<QPushButton>("TrendSaveButton")->click(); },
      [&ws, &real] { real.OpenProfileName(&ws.Window()); }};
  float value = 30.0f;
  for (const auto& open : dialogs) {
    // A poll is busy for a few milliseconds a second: looked for every
    // millisecond, not every 50 as QTRY_VERIFY looks.
    QElapsedTimer polling;
    polling.start();
    while (!ws.Window().Busy() && polling.elapsed() < 10000) QTest::qWait(1);
    QVERIFY(ws.Window().Busy());
    QStringList seen;
    QTimer::singleShot(100, [&] {
      ws.sim.PinChannelValue(1, ++value);
      const QString expected = QString::asprintf("%8.4f", static_cast<double>(value));
      QElapsedTimer waited;
      waited.start();
      while (ws.Find<QLabel>("Panel3")->text() != expected && waited.elapsed() < 3000)
        QTest::qWait(5);
      for (const char* box : {"Panel3", "Panel24", "Panel75"}) seen << ws.Find<QLabel>(box)->text();
      if (auto* modal = qobject_cast<QDialog*>(QApplication::activeModalWidget())) modal->reject();
    });
    open();
    QCOMPARE(seen, QStringList({QString::asprintf("%8.4f", static_cast<double>(value)),
                                Q("Нормальное измерение"), Q(kAnswerReceived)}));
  }
}

void CurrentValuesPollingTest::ValuesGoOnBehindTheBoxThatEndsACommand() {
  InstrumentWorkstation ws;
  ws.Start();
  ShowPage(ws, kCurrentValuesPage);
  QVERIFY(WaitForText(ws, "Panel75", kAnswerReceived, 3000));
  // "Дописать" with nothing unfinished ends with a box; while it is open the
  // polls go on and the window is not locked.
  std::size_t polled_behind = 0;
  bool locked_behind = true;
  ws.dialogs.while_open = [&](const auto&) {
    const std::size_t before = ws.sim.RequestsReceived();
    WaitForRequests(ws.sim, before + 2, 3000);
    polled_behind = ws.sim.RequestsReceived() - before;
    locked_behind = !ws.Find<QPushButton>("Button1")->isEnabled();
  };
  ws.Window().findChild<QAction*>("ResumeWriteItem")->trigger();
  ws.WaitForJob();
  QCOMPARE(ws.dialogs.MessageTexts().size(), std::size_t{1});
  QVERIFY2(ws.dialogs.MessageTexts()[0].starts_with("Незавершённой записи"),
           ws.dialogs.MessageTexts()[0].c_str());
  QVERIFY2(polled_behind >= 2, qPrintable(QString::number(polled_behind)));
  QVERIFY(!locked_behind);
}

void CurrentValuesPollingTest::APortThatIsNotOpenIsSaidSo() {
  Workstation ws;
  ws.MapPort(1, ws.PathOf("no-such-device"));
  ws.Start();
  ShowPage(ws, kCurrentValuesPage);
  const std::string not_open = "Порт не открыт: " + ws.PathOf("no-such-device");
  QVERIFY(WaitForText(ws, "Panel75", not_open.c_str(), 3000));
  QVERIFY(Painted(ws.Find<QLabel>("Panel75"), BoxColour::kYellow));
}

QTEST_MAIN(CurrentValuesPollingTest)
#include "current_values_polling_test.moc"
