// "Сформировать страницу" against the emulated instrument and a line that
// never answers: the page the preview opens with, what the window shows
// afterwards, the group switches, and failures shown once without a page.

#include <QDate>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <string>
#include <vector>

#include "gui/widgets/group_area.h"
#include "lib/simulator.h"
#include "support/workstation.h"

using zrm::test::SilentLine;
using zrm::test::Workstation;

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kNoAnswer = "Прибор не ответил (ERR 2)";
constexpr const char* kAborted = "Ход процесса остановлен пользователем (ERR 20)";
const std::string kUnderline(53, '_');

// A folder whose port 1 is the emulated instrument.
struct InstrumentWorkstation : Workstation {
  zrm::sim::Simulator sim;
  explicit InstrumentWorkstation(zrm::sim::SimulatorOptions options = {}) : sim(options) {
    std::string error;
    if (!sim.Start(&error)) qFatal("simulator: %s", error.c_str());
    MapPort(1, sim.SlavePath());
  }
};

// A folder whose port 1 opens but never answers.
struct SilentWorkstation : Workstation {
  SilentLine line;
  SilentWorkstation() { MapPort(1, line.Path()); }
};

// All four group switches off in the last editor state.
void SwitchGroupsOff(Workstation& ws) {
  ws.SetKey("recent.prf", "CH1", "select", "0");
  ws.SetKey("recent.prf", "CH2", "select", "0");
  ws.SetKey("recent.prf", "RELE", "select", "0");
  ws.SetKey("recent.prf", "GEN", "gen_select", "0");
}

std::string TodayLine() {
  const QDate today = QDate::currentDate();
  return "Дата печати " + std::to_string(today.day()) + "." + std::to_string(today.month()) + "." +
         std::to_string(today.year());
}

// The body of the emulated instrument's page: a two-channel device, channel 1
// Pt100 from -50 to 600 with a rising set point at 150, channel 2 4-20 mA
// scaled 0..10 with a rising set point at 8; relay 1 on set point 1 and the
// break of channel 1, relay 2 on set point 2 of channel 1 and set point 1 of
// channel 2; no correction.
Lines InstrumentBody() {
  return {
      "Конфигурация прибора:",
      "Тип прибора : ЗРМ 4813 Н",
      "Двухканальный прибор с одной уставкой в каждом канале.",
      "Канал 1:",
      "Тип датчика : Pt100 ТС платина Ro=100 W=1.385",
      "Диапазон измерений : -50.0000...600.0000",
      "Пределы допустимой основной погрешности :   0.2500 %",
      "Число усреднений : 1",
      "Число знаков после запятой : 1",
      "Тип уставки  : Повышение",
      "Величина уставки  : 150.0000",
      "Величина гистерезиса уставки  :   2.0000",
      "Число подтверждений при работе реле  : 2",
      kUnderline,
      "Канал 2:",
      "Тип датчика : Ток 4-20 мА",
      "Диапазон измерений :   0.0000... 10.0000",
      "Пределы допустимой основной погрешности :   0.2500 %",
      "Число усреднений : 2",
      "Число знаков после запятой : 2",
      "Тип уставки  : Повышение",
      "Величина уставки  :   8.0000",
      "Величина гистерезиса уставки  :   0.2000",
      "Число подтверждений при работе реле  : 2",
      kUnderline,
      "Логика работы реле 1:",
      "Реле 1 сработает от уставки 1 канала 1",
      "Реле 1 сработает от обрыва в канале 1",
      "",
      "Логика работы реле 2:",
      "Реле 2 сработает от уставки 2 канала 1",
      "Реле 2 сработает от уставки 1 канала 2",
      "",
      "Данные для справки. Дополнительная корректировка измеренного значения:",
      "Канал 1",
      "0 :   0.0000",
      "Диапазон :   1.0000",
      "Коэффициенты корректирующего полинома:",
      "K0=  0.0000 K1=  0.0000 K2=  0.0000 K3=  0.0000",
      "Канал 2",
      "0 :   0.0000",
      "Диапазон :   1.0000",
      "Коэффициенты корректирующего полинома:",
      "K0=  0.0000 K1=  0.0000 K2=  0.0000 K3=  0.0000",
  };
}

bool AnyGroupAreaWhite(Workstation& ws) {
  for (const char* area : {"Panel1", "Panel2", "Panel77", "Panel71"})
    if (zrm::gui::IsGroupAreaWhite(ws.Find<QWidget>(area))) return true;
  return false;
}

}  // namespace

class ReportButtonTest : public QObject {
  Q_OBJECT

 private slots:
  void PreviewGetsThePageOfWhatWasRead();
  void ReportAskedForDuringAPollFollowsIt();
  void NoAnswerIsShownOnceAndOpensNoPreview();
  void EscDuringTheReadIsShownOnceAndOpensNoPreview();
};

void ReportButtonTest::PreviewGetsThePageOfWhatWasRead() {
  InstrumentWorkstation ws;
  SwitchGroupsOff(ws);
  ws.Start();
  QTest::qWait(300);                             // past the reload of the last state
  ws.Find<QLineEdit>("Edit53")->setText("999");  // an unsaved edit the read replaces

  ws.ClickAndWait("Button42");
  QTRY_COMPARE(ws.dialogs.previews.size(), std::size_t{1});
  QVERIFY(ws.dialogs.shown.empty());
  const zrm::ConfigurationPage page = ws.dialogs.previews.front();
  QCOMPARE(page.date_line, TodayLine());
  QCOMPARE(page.device_line, std::string("Прибор ЗРМ4813Н номер 047-12345"));
  const Lines expected = InstrumentBody();
  for (std::size_t i = 0; i < std::min(page.body.size(), expected.size()); ++i)
    QCOMPARE(page.body[i], expected[i]);
  QCOMPARE(page.body.size(), expected.size());

  // The window shows what was read; the switches are back as they were.
  QCOMPARE(ws.Find<QLineEdit>("Edit53")->text(), QString("12345"));
  QVERIFY(!AnyGroupAreaWhite(ws));
  QVERIFY(ws.Find<QPushButton>("Button42")->isEnabled());

  // A second report is a fresh page, not one added to the first.
  ws.ClickAndWait("Button42");
  QTRY_COMPARE(ws.dialogs.previews.size(), std::size_t{2});
  QCOMPARE(ws.dialogs.previews[1].body, page.body);
}

void ReportButtonTest::ReportAskedForDuringAPollFollowsIt() {
  zrm::sim::SimulatorOptions options;
  zrm::sim::Fault slow_first_poll;
  slow_first_poll.kind = zrm::sim::FaultKind::kDelay;
  slow_first_poll.when.request_number = 1;
  slow_first_poll.argument = 400;
  options.faults = {slow_first_poll};
  InstrumentWorkstation ws(options);
  ws.dialogs.saved_pdf = "/tmp/ZRM4813-047-12345.pdf";
  auto& window = ws.Start();
  auto* notebook = ws.Find<QTabWidget>("TabbedNotebook1");
  notebook->setCurrentIndex(3);  // "Текущие значения" polls
  QTRY_VERIFY(window.Busy());
  notebook->setCurrentIndex(4);
  ws.Find<QPushButton>("Button42")->click();
  ws.WaitForJob();
  QTRY_COMPARE(ws.dialogs.previews.size(), std::size_t{1});
  QCOMPARE(ws.dialogs.previews[0].device_line, std::string("Прибор ЗРМ4813Н номер 047-12345"));
  QCOMPARE(ws.dialogs.previews[0].body, InstrumentBody());
  QVERIFY(ws.dialogs.MessageTexts().empty());
  // The PDF is offered under the instrument's name; where it went is said.
  QVERIFY(ws.dialogs.proposed_pdf_names[0].startsWith("ZRM4813-047-12345-"));
  QVERIFY(ws.dialogs.proposed_pdf_names[0].endsWith(".pdf"));
  QCOMPARE(ws.Outcome(), QString::fromUtf8("Файл сохранён: /tmp/ZRM4813-047-12345.pdf"));
  QTest::qWait(100);
  QCOMPARE(ws.dialogs.previews.size(), std::size_t{1});
}

void ReportButtonTest::NoAnswerIsShownOnceAndOpensNoPreview() {
  SilentWorkstation ws;
  ws.Start();
  QTest::qWait(300);
  ws.Find<QLineEdit>("Edit53")->setText("999");
  ws.ClickAndWait("Button42");
  QTest::qWait(50);  // a preview would be queued behind the job's end
  QCOMPARE(ws.dialogs.MessageTexts(), std::vector<std::string>{kNoAnswer});
  QVERIFY(ws.dialogs.previews.empty());
  QCOMPARE(ws.Find<QLineEdit>("Edit53")->text(), QString("999"));  // not refreshed
  // The failure is the last outcome in the status bar too.
  QCOMPARE(ws.Outcome(), QString::fromUtf8("Команда не выполнена: ") + QString::fromUtf8(kNoAnswer));
  QVERIFY(ws.Find<QPushButton>("Button42")->isEnabled());
  QVERIFY(!ws.Find<QWidget>("Panel76")->isVisible());
}

void ReportButtonTest::EscDuringTheReadIsShownOnceAndOpensNoPreview() {
  zrm::sim::SimulatorOptions slow;
  slow.turnaround = std::chrono::milliseconds(30);
  InstrumentWorkstation ws(slow);
  auto& window = ws.Start();
  ws.Find<QPushButton>("Button42")->click();
  QTRY_VERIFY(ws.Find<QWidget>("Panel76")->isVisible());
  QTest::keyClick(&window, Qt::Key_Escape);
  ws.WaitForJob();
  QTest::qWait(50);
  QCOMPARE(ws.dialogs.MessageTexts(), std::vector<std::string>{kAborted});
  QVERIFY(ws.dialogs.previews.empty());
  QVERIFY(ws.Find<QPushButton>("Button42")->isEnabled());
}

QTEST_MAIN(ReportButtonTest)
#include "report_button_test.moc"
