// The trend chart of the page "Текущие значения" against the emulated
// instrument: what it keeps, its pause, and the export of the shown data as
// CSV, also to a place that cannot be written.

#include <QAction>
#include <QChart>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>

#include "gui/pages/current_values_page.h"
#include "lib/simulator.h"
#include "support/workstation.h"

using zrm::gui::CurrentValuesPage;
using zrm::gui::TrendChart;
using zrm::test::Workstation;

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

// Waits, with the event loop running, until the instrument has received
// `count` requests; false when it did not within `ms`.
bool WaitForRequests(const zrm::sim::Simulator& sim, std::size_t count, int ms) {
  for (int waited = 0; sim.RequestsReceived() < count && waited < ms; waited += 5) QTest::qWait(5);
  return sim.RequestsReceived() >= count;
}

// A folder whose port 1 is the emulated instrument, its channels named in
// recent.prf, with the window on page "Текущие значения".
struct TrendWorkstation : Workstation {
  zrm::sim::Simulator sim;
  TrendWorkstation() {
    std::string error;
    if (!sim.Start(&error)) qFatal("simulator: %s", error.c_str());
    MapPort(1, sim.SlavePath());
    sim.PinChannelValue(1, 23.5f);
    sim.PinStatusCode(1, 0);
    sim.PinChannelValue(2, -1.25f);
    sim.PinStatusCode(2, 12);
  }
  CurrentValuesPage& Page() { return *Window().findChild<CurrentValuesPage*>(); }
  TrendChart& Chart() { return *Find<TrendChart>("TrendChart"); }
  void StartOnPage() {
    Start();
    Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(3);
  }
  // Waits until the chart shows at least `count` samples.
  bool WaitForSamples(std::size_t count) {
    for (int waited = 0; Chart().ShownSamples().size() < count && waited < 8000; waited += 10)
      QTest::qWait(10);
    return Chart().ShownSamples().size() >= count;
  }
};

std::string ContentOf(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

class CurrentValuesTrendTest : public QObject {
  Q_OBJECT

 private slots:
  void EmptyChartHasAPlainScale();
  void ChartShowsTheGoodPollsWithTheSetPoints();
  void OutageDimsTheValuesAndBreaksTheChart();
  void PausedChartKeepsWhatItShowsAndSavesIt();
  void CancelledSaveWritesNothing();
  void UnwritableFileIsReportedOnce();
};

void CurrentValuesTrendTest::EmptyChartHasAPlainScale() {
  // Before any sample, and with one value only: no sliver of an axis whose
  // labels all read alike ("0.0 / 0.0 / -0.0").
  TrendChart chart;
  std::vector<zrm::TrendSample> one(1);
  one[0].value = {23.5f, -1.25f};
  one[0].setpoint1 = one[0].setpoint2 = {NAN, NAN};
  for (int shown = 0; shown < 2; ++shown) {
    if (shown) chart.Show(one);
    for (QAbstractAxis* axis : chart.chart()->axes(Qt::Vertical)) {
      auto* values = static_cast<QValueAxis*>(axis);
      if (!values->isVisible()) continue;
      QVERIFY2(values->max() - values->min() >= 1.0, qPrintable(QString::number(values->min())));
      QVERIFY(QString::asprintf("%.1f", values->min()) != Q("-0.0"));
      if (!shown) QCOMPARE(values->min(), 0.0);
    }
  }
  auto* left = static_cast<QValueAxis*>(chart.chart()->axes(Qt::Vertical, nullptr)[0]);
  QVERIFY(left->min() < 23.5 && left->max() > 23.5);
}

void CurrentValuesTrendTest::ChartShowsTheGoodPollsWithTheSetPoints() {
  TrendWorkstation ws;
  ws.SetKey("recent.prf", "CH1", "th1", "37.5");
  ws.SetKey("recent.prf", "CH1", "th_type1", "1");
  // Set point 2 of channel 1 is off ("Нет"): the chart leaves it out.
  ws.SetKey("recent.prf", "CH1", "th2", "900");
  ws.SetKey("recent.prf", "CH1", "th_type2", "0");
  ws.StartOnPage();
  QVERIFY(ws.WaitForSamples(3));
  QLineSeries* setpoints[2] = {};
  for (QAbstractSeries* series : ws.Chart().chart()->series()) {
    if (series->objectName() == Q("Setpoint1Channel1"))
      setpoints[0] = static_cast<QLineSeries*>(series);
    if (series->objectName() == Q("Setpoint2Channel1"))
      setpoints[1] = static_cast<QLineSeries*>(series);
  }
  QVERIFY(setpoints[0] && setpoints[1]);
  QVERIFY(setpoints[0]->count() > 0);
  QCOMPARE(setpoints[1]->count(), 0);
  QVERIFY(ws.Chart().chart()->axes(Qt::Vertical)[0]->property("max").toDouble() < 900);
  const zrm::TrendSample& last = ws.Chart().ShownSamples().back();
  QCOMPARE(last.value[0], 23.5f);
  QCOMPARE(last.value[1], -1.25f);
  QCOMPARE(int(last.status[1]), 12);
  QCOMPARE(last.setpoint1[0], 37.5f);
  const auto& samples = ws.Chart().ShownSamples();
  for (std::size_t i = 1; i < samples.size(); ++i)
    QVERIFY(samples[i].elapsed_ms > samples[i - 1].elapsed_ms);

  // A lost instrument adds nothing: the trend holds measured values only.
  ws.sim.Stop();
  QTest::qWait(300);
  const std::size_t before = ws.Chart().ShownSamples().size();
  QTest::qWait(2500);
  QCOMPARE(ws.Chart().ShownSamples().size(), before);
}

void CurrentValuesTrendTest::OutageDimsTheValuesAndBreaksTheChart() {
  TrendWorkstation ws;
  ws.SetKey("dev.dat", "SETTINGS", "TimeOut", "1");
  ws.StartOnPage();
  QVERIFY(ws.WaitForSamples(2));
  auto* value = ws.Find<QLabel>("Panel3");
  QCOMPARE(value->palette().color(QPalette::WindowText), zrm::gui::TextPaintOf(false));

  // The next poll's two attempts go unanswered.
  const std::size_t next = ws.sim.RequestsReceived() + 1;
  for (std::size_t request : {next, next + 1}) {
    zrm::sim::Fault fault;
    fault.when.request_number = request;
    ws.sim.AddFault(fault);
  }
  QTRY_COMPARE_WITH_TIMEOUT(ws.Find<QLabel>("Panel75")->text(), Q("Не дождались ответа"), 5000);
  QCOMPARE(value->text(), Q(" 23.5000"));
  QCOMPARE(value->palette().color(QPalette::WindowText), zrm::gui::TextPaintOf(true));

  // Answers again: live, and the chart starts a new stretch after the gap.
  const std::size_t before = ws.Chart().ShownSamples().size();
  QVERIFY(ws.WaitForSamples(before + 2));
  QCOMPARE(value->palette().color(QPalette::WindowText), zrm::gui::TextPaintOf(false));
  const auto& samples = ws.Chart().ShownSamples();
  QCOMPARE(std::count_if(samples.begin(), samples.end(), [](const auto& s) { return s.after_gap; }),
           1);
  QVERIFY(samples[before].after_gap);

  ws.Find<QPushButton>("ReadingButton")->click();
  QCOMPARE(ws.Find<QLabel>("Panel75")->text(), Q("Опрос приостановлен"));
  QCOMPARE(value->palette().color(QPalette::WindowText), zrm::gui::TextPaintOf(true));
}

void CurrentValuesTrendTest::PausedChartKeepsWhatItShowsAndSavesIt() {
  TrendWorkstation ws;
  ws.SetKey("recent.prf", "CH1", "dat", "8");  // Pt100: degrees
  ws.SetKey("recent.prf", "GEN", "proc_ver", "1");
  ws.StartOnPage();
  QVERIFY(ws.WaitForSamples(2));
  auto* pause = ws.Find<QPushButton>("TrendPauseButton");
  QCOMPARE(pause->text(), Q("Остановить график"));
  pause->click();
  QCOMPARE(pause->text(), Q("Продолжить график"));
  const std::size_t frozen = ws.Chart().ShownSamples().size();
  const std::size_t polled = ws.sim.RequestsReceived();
  QVERIFY(WaitForRequests(ws.sim, polled + 3, 3000));
  QTest::qWait(100);
  QCOMPARE(ws.Chart().ShownSamples().size(), frozen);

  const std::string path = ws.PathOf("trend.csv");
  QString proposed;
  ws.Page().SetCsvPathChooser([&](QWidget*, const QString& name) {
    proposed = name;
    return QString::fromStdString(path);
  });
  ws.Find<QPushButton>("TrendSaveButton")->click();
  const QString serial = ws.Find<QLineEdit>("Edit53")->text().trimmed();
  QVERIFY2(QRegularExpression("^ZRM4813-\\d{3}-" + serial + "-\\d{8}-\\d{4}\\.csv$")
               .match(proposed)
               .hasMatch(),
           qPrintable(proposed));
  const std::string csv = ContentOf(path);
  QVERIFY2(csv.starts_with("Время;Канал 1, °C;Состояние канала 1;Канал 2;"), csv.c_str());
  QCOMPARE(ws.Outcome(), Q("Файл сохранён: ") + QString::fromStdString(path));
  // The header and one line per shown sample, nothing that came later.
  QCOMPARE(std::size_t(std::count(csv.begin(), csv.end(), '\n')), frozen + 1);
  QVERIFY(csv.find(";23.5000;0;-1.2500;12;") != std::string::npos);

  pause->click();
  QCOMPARE(pause->text(), Q("Остановить график"));
  QVERIFY(ws.WaitForSamples(frozen + 1));
}

void CurrentValuesTrendTest::CancelledSaveWritesNothing() {
  TrendWorkstation ws;
  ws.StartOnPage();
  QVERIFY(ws.WaitForSamples(1));
  ws.Page().SetCsvPathChooser([](QWidget*, const QString&) { return QString(); });
  ws.Find<QPushButton>("TrendSaveButton")->click();
  QVERIFY(ws.dialogs.shown.empty());
}

void CurrentValuesTrendTest::UnwritableFileIsReportedOnce() {
  TrendWorkstation ws;
  ws.StartOnPage();
  QVERIFY(ws.WaitForSamples(1));
  // An earlier outcome in the status bar is replaced by the failure.
  ws.dialogs.save_names = {QString::fromStdString(ws.PathOf("kept.prf"))};
  ws.Window().findChild<QAction*>("N3")->trigger();
  QVERIFY(ws.Outcome().startsWith(Q("Настройки сохранены в файл ")));
  const std::string path = ws.PathOf("no-such-folder/trend.csv");
  ws.Page().SetCsvPathChooser(
      [&](QWidget*, const QString&) { return QString::fromStdString(path); });
  ws.Find<QPushButton>("TrendSaveButton")->click();
  QCOMPARE(ws.dialogs.shown.size(), std::size_t{1});
  QVERIFY2(ws.dialogs.shown[0].text.starts_with("Невозможно записать файл " + path + ": "),
           ws.dialogs.shown[0].text.c_str());
  QCOMPARE(ws.dialogs.shown[0].caption, std::string("Ошибка"));
  QCOMPARE(ws.Outcome(), Q("Невозможно записать файл ") + QString::fromStdString(path));
}

QTEST_MAIN(CurrentValuesTrendTest)
#include "current_values_trend_test.moc"
