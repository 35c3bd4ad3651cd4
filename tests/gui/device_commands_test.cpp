// The device commands of the window against the emulated instrument on a
// pseudo-terminal and against a line that never answers: what the widgets
// show, which boxes appear, what reaches the wire, and that the window's
// event loop keeps running meanwhile.

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <filesystem>

#include "app/write_journal.h"
#include "gui/dialogs/comparison_dialog.h"
#include "gui/dialogs/history_dialog.h"
#include "gui/dialogs/whole_title.h"
#include "gui/widgets/group_area.h"
#include "gui/widgets/simple_list.h"
#include "lib/simulator.h"
#include "platform/number_text.h"
#include "profiles/profile_file.h"
#include "settings/parameter_map.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"
#include "support/workstation.h"

using zrm::test::SilentLine;
using zrm::test::Workstation;

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

constexpr const char* kNoAnswer = "Прибор не ответил (ERR 2)";
constexpr const char* kStopped = "Прекратили запись чтобы поправить настройки (ERR 17)";
constexpr const char* kAborted = "Ход процесса остановлен пользователем (ERR 20)";

// A folder whose port 1 is the emulated instrument.
struct InstrumentWorkstation : Workstation {
  zrm::sim::Simulator sim;
  explicit InstrumentWorkstation(zrm::sim::SimulatorOptions options = {}) : sim(options) {
    std::string error;
    if (!sim.Start(&error)) qFatal("simulator: %s", error.c_str());
    MapPort(1, sim.SlavePath());
  }
};

// An instrument that takes 20 ms for each reply: time to act during a command.
zrm::sim::SimulatorOptions SlowReplies() {
  zrm::sim::SimulatorOptions slow;
  slow.turnaround = std::chrono::milliseconds(20);
  return slow;
}

// A folder whose port 1 opens but never answers.
struct SilentWorkstation : Workstation {
  SilentLine line;
  SilentWorkstation() { MapPort(1, line.Path()); }
};

zrm::ParameterAddress ChannelAddressOf(zrm::ChannelField field, int channel) {
  return zrm::ChannelAddress(zrm::ChannelParameterOf(field), channel);
}

// Leaves in `ws`'s journal an unfinished write of `target` into
// `instrument`, with `backup` (may be empty) as the settings before it.
void LeaveUnfinishedWrite(const Workstation& ws, const zrm::DeviceSettings& instrument,
                          const zrm::DeviceSettings& target, const std::string& backup) {
  zrm::test::RecordingOperator quiet;
  zrm::JournalLock lock;
  if (zrm::OpenJournalEntry(ws.Dir(), instrument, target, backup, quiet, lock) != zrm::result::kOk)
    qFatal("journal entry not saved");
}

bool EntryLeft(const Workstation& ws, const zrm::DeviceSettings& instrument) {
  zrm::JournalEntry entry;
  std::string problem;
  return zrm::FindJournalEntry(ws.Dir(), instrument, entry, problem) != zrm::JournalState::kNone;
}

bool AnyShownMentions(const zrm::test::ScriptedDialogs& dialogs, const std::string& text) {
  return std::any_of(dialogs.shown.begin(), dialogs.shown.end(), [&](const auto& s) {
    return s.text.find(text) != std::string::npos || s.caption.find(text) != std::string::npos;
  });
}

}  // namespace

class DeviceCommandsTest : public QObject {
  Q_OBJECT

 private slots:
  void ReadFillsTheWidgetsAndWhitensAllGroupAreas();
  void WriteWithABadFieldTextSendsNothing();
  void OversizedSetPointAnsweredYesIsWrittenLimited();
  void EscDuringAReadEndsItWithErr20();
  void EscBeforeACommandIsIgnored();
  void CommandsAreLockedWhileAJobRuns();
  void ReadWithNoInstrumentShowsErr2OnceAndNeverStalls();
  void PortChangeKeepsEditsAndReopensTheLink();
  void ClosingDuringACommandWaitsThenShutsDown();
  void DeviceMenuComparesWritesTheChangeAndRestores();
  void UnfinishedWriteIsOfferedAtOnceAndEndedEitherWay();
  void UnfinishedWriteBoxWaitsForTheCommandUnderWay();
  void EscDuringAWriteSaysWhereItStoppedAndOffersToEndIt();
  void HistoryEventWithABackupComparesTheInstrumentWithIt();
};

void DeviceCommandsTest::ReadFillsTheWidgetsAndWhitensAllGroupAreas() {
  InstrumentWorkstation ws;
  ws.SetKey("recent.prf", "CH1", "select", "0");
  ws.SetKey("recent.prf", "CH2", "select", "0");
  ws.SetKey("recent.prf", "RELE", "select", "0");
  ws.SetKey("recent.prf", "GEN", "gen_select", "0");
  ws.Start();
  QTest::qWait(300);  // past the reload of the last state
  const char* areas[] = {"Panel1", "Panel2", "Panel77", "Panel71"};
  for (const char* area : areas)
    QVERIFY2(!zrm::gui::IsGroupAreaWhite(ws.Find<QWidget>(area)), area);

  auto* bar = ws.Find<QProgressBar>("TransferProgress");
  int highest = 0;
  QObject::connect(bar, &QProgressBar::valueChanged,
                   [&](int v) { highest = std::max(highest, v); });
  ws.ClickAndWait("Button1");
  QVERIFY(ws.dialogs.shown.empty());
  // The bar counted every exchange of the whole read up to its total.
  QVERIFY2(highest > 40 && highest == bar->maximum(), qPrintable(QString::number(highest)));
  QVERIFY(!bar->isVisible());
  for (const char* area : areas) QVERIFY2(zrm::gui::IsGroupAreaWhite(ws.Find<QWidget>(area)), area);
  QCOMPARE(ws.Find<QComboBox>("ComboBox1")->currentText(), Q("Pt100 ТС платина Ro=100 W=1.385"));
  QCOMPARE(ws.Find<QComboBox>("ComboBox7")->currentText(), Q("Ток 4-20 мА"));
  QCOMPARE(ws.Find<QLineEdit>("Edit53")->text(), Q("12345"));
  QCOMPARE(ws.Find<zrm::gui::SimpleList>("ComboBox27")->text(), Q("047"));
  QCOMPARE(ws.Find<QLabel>("Panel78")->text(), Q("1.1.10"));
  const float th1 = *ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0));
  QCOMPARE(ws.Find<QLineEdit>("Edit5")->text().toStdString(), zrm::Format84(th1));
  const float his2 = *ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kHis2, 1));
  QCOMPARE(ws.Find<QLineEdit>("Edit20")->text().toStdString(), zrm::Format84(his2));
  QVERIFY(!ws.Find<QWidget>("Panel76")->isVisible());
  const QString status = ws.Outcome();
  QVERIFY2(QRegularExpression(Q("^Настройки прочитаны из прибора 047-12345 за \\d+,\\d с$"))
               .match(status)
               .hasMatch(),
           qPrintable(status));

  // The read can be undone: the areas and the values from before come back.
  ws.Window().findChild<QAction*>("UndoItem")->trigger();
  QCOMPARE(ws.Outcome(), Q("Отменено: чтение из прибора"));
  QVERIFY(!zrm::gui::IsGroupAreaWhite(ws.Find<QWidget>("Panel1")));
  QVERIFY(ws.Find<QLineEdit>("Edit53")->text() != Q("12345"));
  ws.Window().findChild<QAction*>("RedoItem")->trigger();
  QCOMPARE(ws.Find<QLineEdit>("Edit53")->text(), Q("12345"));
}

void DeviceCommandsTest::WriteWithABadFieldTextSendsNothing() {
  InstrumentWorkstation ws;
  ws.Start();
  ws.Find<QLineEdit>("Edit18")->setText("abc");
  ws.ClickAndWait("Button3");
  QVERIFY(AnyShownMentions(ws.dialogs, "Ошибка задания гистерезиса уставки 1."));
  QVERIFY(AnyShownMentions(ws.dialogs, "Ошибка задания параметров канала 2."));
  const auto texts = ws.dialogs.MessageTexts();
  QVERIFY(!texts.empty());
  QCOMPARE(texts.back(), std::string(kStopped));
  QCOMPARE(ws.dialogs.CountOf(kStopped), 1);
  QCOMPARE(ws.sim.RequestsReceived(), std::size_t{0});
  QVERIFY(ws.Find<QPushButton>("Button3")->isEnabled());
}

void DeviceCommandsTest::OversizedSetPointAnsweredYesIsWrittenLimited() {
  InstrumentWorkstation ws;
  ws.Start();
  ws.Find<QLineEdit>("Edit5")->setText("12000");
  ws.dialogs.default_answer = true;
  ws.ClickAndWait("Button3");
  QVERIFY(AnyShownMentions(ws.dialogs, "9999"));
  for (const auto& text : ws.dialogs.MessageTexts())
    QVERIFY2(text.find("(ERR") == std::string::npos, text.c_str());
  QCOMPARE(*ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0)), 9999.0f);
  QCOMPARE(ws.Find<QLineEdit>("Edit5")->text(), Q("12000"));
  QVERIFY(ws.sim.RestartCount() >= 1u);
  QVERIFY(ws.Outcome().startsWith(Q("Настройки записаны и проверены в приборе ")));
}

void DeviceCommandsTest::EscDuringAReadEndsItWithErr20() {
  zrm::sim::SimulatorOptions slow;
  slow.turnaround = std::chrono::milliseconds(30);
  InstrumentWorkstation ws(slow);
  auto& window = ws.Start();
  ws.Find<QPushButton>("Button1")->click();
  QTRY_VERIFY(ws.Find<QWidget>("Panel76")->isVisible());
  QTest::keyClick(&window, Qt::Key_Escape);
  ws.WaitForJob();
  QCOMPARE(ws.dialogs.CountOf(kAborted), 1);
  QCOMPARE(ws.dialogs.MessageTexts().size(), std::size_t{1});
  QCOMPARE(ws.dialogs.shown[0].caption, std::string("Информация пользователю"));
  QCOMPARE(ws.dialogs.shown[0].icon, zrm::MessageIcon::kWarning);
  QVERIFY(!ws.Find<QWidget>("Panel76")->isVisible());
  QVERIFY(ws.Find<QPushButton>("Button1")->isEnabled());
  QVERIFY(ws.Find<QPushButton>("Button3")->isEnabled());
  QVERIFY(ws.Find<QTabWidget>("TabbedNotebook1")->isEnabled());
}

void DeviceCommandsTest::EscBeforeACommandIsIgnored() {
  InstrumentWorkstation ws;
  auto& window = ws.Start();
  QTest::keyClick(&window, Qt::Key_Escape);
  ws.ClickAndWait("Button1");
  QVERIFY(ws.dialogs.shown.empty());
  QCOMPARE(ws.Find<QLineEdit>("Edit53")->text(), Q("12345"));
}

void DeviceCommandsTest::CommandsAreLockedWhileAJobRuns() {
  SilentWorkstation ws;
  auto& window = ws.Start();
  ws.Find<QPushButton>("Button1")->click();
  QVERIFY(window.Busy());
  for (const char* name :
       {"Button1", "Button3", "Button42", "ComboBox17", "TabbedNotebook1", "RichEdit1"})
    QVERIFY2(!ws.Find<QWidget>(name)->isEnabled(), name);
  QVERIFY(!window.findChild<QAction*>("N2")->isEnabled());
  QVERIFY(!window.findChild<QAction*>("N3")->isEnabled());
  // A second command cannot start, even when asked for directly.
  ws.Find<QPushButton>("Button3")->click();
  ws.WaitForJob();
  for (const char* name :
       {"Button1", "Button3", "Button42", "ComboBox17", "TabbedNotebook1", "RichEdit1"})
    QVERIFY2(ws.Find<QWidget>(name)->isEnabled(), name);
  QVERIFY(window.findChild<QAction*>("N2")->isEnabled());
  QCOMPARE(ws.dialogs.CountOf(kNoAnswer), 1);
  QCOMPARE(ws.dialogs.CountOf(kStopped), 0);
}

void DeviceCommandsTest::ReadWithNoInstrumentShowsErr2OnceAndNeverStalls() {
  SilentWorkstation ws;
  ws.Start();
  ws.Find<QLineEdit>("Edit5")->setText("61");
  QElapsedTimer clock;
  qint64 last = 0;
  qint64 worst = 0;
  QTimer tick;
  tick.setInterval(5);
  connect(&tick, &QTimer::timeout, [&] {
    const qint64 now = clock.elapsed();
    worst = std::max(worst, now - last);
    last = now;
  });
  clock.start();
  tick.start();
  ws.ClickAndWait("Button1");
  tick.stop();
  QVERIFY2(clock.elapsed() >= 1900, "the read waited for its attempts");
  QVERIFY2(worst < 100, qPrintable(QString("longest stall %1 ms").arg(worst)));
  QCOMPARE(ws.dialogs.CountOf(kNoAnswer), 1);
  QCOMPARE(ws.dialogs.MessageTexts().size(), std::size_t{1});
  QCOMPARE(ws.Find<QLineEdit>("Edit5")->text(), Q(" 61.0000"));
}

void DeviceCommandsTest::PortChangeKeepsEditsAndReopensTheLink() {
  zrm::sim::Simulator sim;
  QVERIFY(sim.Start());
  Workstation ws;
  ws.MapPort(1, ws.PathOf("no-such-device"));
  ws.MapPort(3, sim.SlavePath());
  ws.Start();
  QCOMPARE(ws.dialogs.shown.size(), std::size_t{1});  // port 1 cannot be opened
  ws.Find<QLineEdit>("Edit5")->setText("77");

  auto* ports = ws.Find<QComboBox>("ComboBox17");
  ports->setCurrentIndex(2);
  emit ports->activated(2);
  ws.WaitForJob();
  QCOMPARE(ws.Find<QLabel>("Label2")->text(), Q("3"));
  QCOMPARE(ports->currentText(), Q("3"));
  QCOMPARE(ws.Find<QLineEdit>("Edit5")->text(), Q(" 77.0000"));
  QCOMPARE(ws.dialogs.shown.size(), std::size_t{1});

  ws.ClickAndWait("Button1");
  QCOMPARE(ws.dialogs.shown.size(), std::size_t{1});
  QVERIFY(sim.RequestsReceived() > 0u);
  ws.Close();
  QCOMPARE(ws.Key("dev.dat", "COM_SETTINGS", "Number"), std::string("3"));
}

void DeviceCommandsTest::ClosingDuringACommandWaitsThenShutsDown() {
  SilentWorkstation ws;
  auto& window = ws.Start();
  ws.Find<QLineEdit>("Edit8")->setText("0.75");
  ws.Find<QPushButton>("Button1")->click();
  window.close();
  QVERIFY(window.isVisible());  // the read stops first
  QTRY_VERIFY_WITH_TIMEOUT(!window.isVisible(), 20000);
  QVERIFY(ws.dialogs.shown.empty());
  QCOMPARE(ws.Key("recent.prf", "CH1", "his2"), std::string("0.7500"));
}

void DeviceCommandsTest::DeviceMenuComparesWritesTheChangeAndRestores() {
  InstrumentWorkstation ws;
  auto& window = ws.Start();
  ws.ClickAndWait("Button1");
  const float th1_read = *ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0));
  ws.Find<QLineEdit>("Edit5")->setText("55.5");

  window.findChild<QAction*>("CompareItem")->trigger();
  ws.WaitForJob();
  zrm::gui::ComparisonDialog* shown = nullptr;
  QTRY_VERIFY((shown = window.findChild<zrm::gui::ComparisonDialog*>("ComparisonDialog")));
  const QStringList lines = shown->SelectedText().split('\n');
  QCOMPARE(lines.size(), 3);  // heads, the one difference, the final line break
  QVERIFY2(QRegularExpression(Q("^Канал 1\tВеличина I\t[-0-9.]+\t55\\.5000$"))
               .match(lines[1])
               .hasMatch(),
           qPrintable(lines[1]));
  QCOMPARE(ws.sim.RestartCount(), 0u);  // the comparison only reads
  // Enter closes the comparison; it does not copy.
  QApplication::clipboard()->clear();
  QPointer<QDialog> comparison = shown;
  QTest::keyClick(shown, Qt::Key_Return);
  QTRY_VERIFY(!comparison || !comparison->isVisible());
  QVERIFY(QApplication::clipboard()->text().isEmpty());

  ws.dialogs.default_answer = true;
  window.findChild<QAction*>("WriteChangesItem")->trigger();
  ws.WaitForJob();
  QCOMPARE(*ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0)), 55.5f);
  QCOMPARE(ws.sim.RestartCount(), 1u);
  QCOMPARE(ws.Outcome(), Q("Изменения записаны, параметров: 1"));
  QCOMPARE(QDir(QString::fromStdString(ws.Dir() + "/backup")).entryList(QDir::Files).size(), 1);

  // Enter closes the backups' list; nothing is asked or written.
  window.findChild<QAction*>("BackupsItem")->trigger();
  QPointer<QDialog> backups;
  QTRY_VERIFY((backups = window.findChild<QDialog*>("BackupsDialog")));
  const std::size_t asked = ws.dialogs.shown.size();
  QTest::keyClick(backups, Qt::Key_Return);
  QTRY_VERIFY(!backups);
  QCOMPARE(ws.dialogs.shown.size(), asked);

  // Restoring asks first, naming the backup's time, with No as the default
  // answer; No keeps the list open, with the focus back on it.
  window.findChild<QAction*>("BackupsItem")->trigger();
  QTRY_VERIFY((backups = window.findChild<QDialog*>("BackupsDialog")));
  ws.dialogs.answers = {false};
  auto* restore = backups->findChild<QPushButton*>("RestoreButton");
  restore->setFocus();
  restore->click();
  QCOMPARE(ws.dialogs.shown.size(), asked + 1);
  QVERIFY(ws.dialogs.shown.back().question);
  QVERIFY(ws.dialogs.shown.back().no_by_default);
  QCOMPARE(backups->focusWidget(), backups->findChild<QWidget*>("BackupList"));
  QVERIFY2(QRegularExpression(Q("^Записать в прибор целиком резервную копию от "
                                "\\d\\d\\.\\d\\d\\.20\\d\\d \\d\\d:\\d\\d:\\d\\d\\?\\n"))
               .match(QString::fromStdString(ws.dialogs.shown.back().text))
               .hasMatch(),
           ws.dialogs.shown.back().text.c_str());
  QVERIFY(!window.Busy());
  QVERIFY(backups && backups->isVisible());
  QCOMPARE(ws.sim.RestartCount(), 1u);

  // Yes writes it whole: the set point is back.
  backups->findChild<QPushButton*>("RestoreButton")->click();
  ws.WaitForJob();
  QCOMPARE(*ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0)), th1_read);
  QCOMPARE(ws.sim.RestartCount(), 2u);

  // The switch of the backup before a whole write lives in the program's own file.
  window.findChild<QAction*>("BackupBeforeWriteItem")->trigger();
  QCOMPARE(ws.Key("zrm48setup.ini", "BACKUP", "BeforeWrite"), std::string("1"));
}

void DeviceCommandsTest::UnfinishedWriteIsOfferedAtOnceAndEndedEitherWay() {
  InstrumentWorkstation ws;
  auto& window = ws.Start();
  ws.ClickAndWait("Button1");
  const zrm::DeviceSettings instrument = ws.TheSession().settings;  // 4813 047-12345
  const float th1_before = *ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0));
  std::string reason;
  zrm::DeviceSettings before = instrument;
  QVERIFY(zrm::SaveProfileGivingReason(ws.PathOf("before.prf"), before, {}, reason));
  zrm::DeviceSettings target = instrument;
  target.channel[0].th1 = 55.5f;

  // Another serial number's unfinished write never counts.
  zrm::DeviceSettings other = instrument;
  other.general.serial_lo ^= 1;
  LeaveUnfinishedWrite(ws, other, target, "");
  ws.ClickAndWait("Button1");
  auto* box = ws.Find<QDialog>("UnfinishedWriteBox");
  auto* reminder = ws.Find<QLabel>("UnfinishedWriteReminder");
  QVERIFY(!box->isVisible());
  QVERIFY(!reminder->isVisible());

  // The first answered poll identifies the instrument and offers at once,
  // without holding up the polling.
  LeaveUnfinishedWrite(ws, instrument, target, ws.PathOf("before.prf"));
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(3);
  QTRY_VERIFY_WITH_TIMEOUT(box->isVisible(), 10000);
  QVERIFY(!box->isModal());
  // Wide enough for its title beside the title bar's buttons.
  QVERIFY(box->width() >= zrm::gui::WholeTitleWidth(*box));
  const QString text = ws.Find<QLabel>("UnfinishedWriteText")->text();
  QVERIFY2(QRegularExpression(Q("^Запись в прибор 047-12345, начатая \\d\\d\\.\\d\\d\\.20\\d\\d "
                                "в \\d\\d:\\d\\d, не завершена\\.$"))
               .match(text)
               .hasMatch(),
           qPrintable(text));
  QCOMPARE(reminder->text(), text);
  QVERIFY(box->findChild<QPushButton*>("RollbackButton")->isVisible());
  const std::size_t polled = ws.sim.RequestsReceived();
  QTRY_VERIFY(ws.sim.RequestsReceived() > polled + 2);
  QVERIFY(box->isVisible());
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(0);
  ws.WaitForJob();

  // "Дописать": the write completed as a write of changes; the entry and
  // the reminder go.
  ws.dialogs.default_answer = true;
  box->findChild<QPushButton*>("ResumeButton")->click();
  QTRY_VERIFY(!window.Busy());
  QCOMPARE(*ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0)), 55.5f);
  QVERIFY(!EntryLeft(ws, instrument));
  QVERIFY(!reminder->isVisible());
  QVERIFY(!box->isVisible());
  QCOMPARE(ws.Outcome(), Q("Изменения записаны, параметров: 1"));
  // The question before it named where the values came from.
  QVERIFY2(ws.dialogs.shown.back().text.starts_with(
               "В прибор будут дописаны изменения прерванной записи\n"
               "(сейчас в приборе → будет записано из прерванной записи):\n"),
           ws.dialogs.shown.back().text.c_str());

  // "Вернуть как было" from the menu: the backup goes back, and the question
  // before it names the backup.
  LeaveUnfinishedWrite(ws, instrument, target, ws.PathOf("before.prf"));
  window.findChild<QAction*>("RollbackWriteItem")->trigger();
  ws.WaitForJob();
  QCOMPARE(*ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0)), th1_before);
  QVERIFY(!EntryLeft(ws, instrument));
  const std::string& asked = ws.dialogs.shown.back().text;
  QVERIFY2(asked.starts_with("В прибор будут записаны изменения из резервной копии от "),
           asked.c_str());
  QVERIFY2(asked.find(", " + ws.PathOf("before.prf") +
                      "\n(сейчас в приборе → будет записано из резервной копии):\n") !=
               std::string::npos,
           asked.c_str());

  // Without a backup there is nothing to return to: not offered, refused.
  LeaveUnfinishedWrite(ws, instrument, target, "");
  ws.ClickAndWait("Button1");
  QTRY_VERIFY(box->isVisible());
  QVERIFY(!box->findChild<QPushButton*>("RollbackButton")->isVisible());
  box->findChild<QPushButton*>("LaterButton")->click();
  QVERIFY(!box->isVisible());
  QVERIFY(reminder->isVisible());  // put off, not forgotten
  window.findChild<QAction*>("RollbackWriteItem")->trigger();
  ws.WaitForJob();
  QVERIFY(AnyShownMentions(ws.dialogs, "Вернуть как было нельзя"));
  QVERIFY(EntryLeft(ws, instrument));
  QCOMPARE(*ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0)), th1_before);

  // An entry that cannot be read is named with its path, offers nothing and
  // stays as it is.
  const std::string path = zrm::JournalEntryPath(ws.Dir(), instrument);
  zrm::test::WriteBytes(path, "version=9\n");
  ws.ClickAndWait("Button1");
  // The box may still be up from the refusal: wait for the read's own lookup.
  QTRY_VERIFY(box->isVisible() &&
              ws.Find<QLabel>("UnfinishedWriteText")->text().contains(QString::fromStdString(path)));
  QVERIFY(!box->findChild<QPushButton*>("ResumeButton")->isVisible());
  QVERIFY(!box->findChild<QPushButton*>("RollbackButton")->isVisible());
  QCOMPARE(zrm::test::ReadBytes(path), std::string("version=9\n"));
}

void DeviceCommandsTest::UnfinishedWriteBoxWaitsForTheCommandUnderWay() {
  InstrumentWorkstation ws(SlowReplies());
  auto& window = ws.Start();
  ws.ClickAndWait("Button1");
  const zrm::DeviceSettings instrument = ws.TheSession().settings;
  zrm::DeviceSettings target = instrument;
  target.channel[0].th1 = 55.5f;
  LeaveUnfinishedWrite(ws, instrument, target, "");
  auto* box = ws.Find<QDialog>("UnfinishedWriteBox");
  auto* resume = box->findChild<QPushButton*>("ResumeButton");

  // Open when another command starts: its actions wait for that command.
  ws.ClickAndWait("Button1");
  QTRY_VERIFY(box->isVisible());
  ws.Find<QPushButton>("Button1")->click();
  QVERIFY(!resume->isEnabled());
  ws.WaitForJob();
  QTRY_VERIFY(resume->isEnabled());
  box->findChild<QPushButton*>("LaterButton")->click();

  // "Дописать" asked for while the page's first poll identifies the
  // instrument: the box that poll would open waits for the repair, which
  // ends the entry, so it never opens over the progress panel.
  bool opened = false;
  QTimer watch;
  connect(&watch, &QTimer::timeout, [&] { opened = opened || box->isVisible(); });
  watch.start(2);
  ws.dialogs.default_answer = true;
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(3);
  for (int waited = 0; !window.Busy() && waited < 3000; waited += 2) QTest::qWait(2);
  QVERIFY2(window.Busy(), "the first poll is under way");
  window.findChild<QAction*>("ResumeWriteItem")->trigger();
  QTRY_VERIFY_WITH_TIMEOUT(!EntryLeft(ws, instrument), 30000);
  QTRY_VERIFY(!window.Busy());
  QVERIFY(!opened);
  QCOMPARE(*ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0)), 55.5f);
}

void DeviceCommandsTest::EscDuringAWriteSaysWhereItStoppedAndOffersToEndIt() {
  InstrumentWorkstation ws(SlowReplies());
  auto& window = ws.Start();
  ws.ClickAndWait("Button1");
  const zrm::DeviceSettings instrument = ws.TheSession().settings;
  ws.Find<QLineEdit>("Edit5")->setText("55.5");
  const std::size_t read_requests = ws.sim.RequestsReceived();
  ws.dialogs.default_answer = true;  // the checks before writing pass
  ws.Find<QPushButton>("Button3")->click();
  // Into the write: past its identity and the first channel's first steps.
  QTRY_VERIFY_WITH_TIMEOUT(ws.sim.RequestsReceived() > read_requests + 12, 20000);
  ws.Window().WindowOperator().PressEsc();
  ws.WaitForJob();
  QCOMPARE(ws.dialogs.CountOf(kAborted), 1);
  QVERIFY(EntryLeft(ws, instrument));
  auto* box = ws.Find<QDialog>("UnfinishedWriteBox");
  QTRY_VERIFY(box->isVisible());
  const QString text = ws.Find<QLabel>("UnfinishedWriteText")->text();
  QVERIFY2(text.startsWith(Q("Запись остановлена в группе «")), qPrintable(text));
  QVERIFY2(text.contains(Q("».\nВ приборе теперь смешанная конфигурация")), qPrintable(text));
  QVERIFY2(text.endsWith(Q(", не завершена.")), qPrintable(text));
  QVERIFY(!box->findChild<QPushButton*>("RollbackButton")->isVisible());  // no backup was made

  box->findChild<QPushButton*>("ResumeButton")->click();
  QTRY_VERIFY_WITH_TIMEOUT(!window.Busy(), 30000);
  QCOMPARE(*ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0)), 55.5f);
  QVERIFY(!EntryLeft(ws, instrument));
  QVERIFY(!ws.Find<QLabel>("UnfinishedWriteReminder")->isVisible());
}

void DeviceCommandsTest::HistoryEventWithABackupComparesTheInstrumentWithIt() {
  InstrumentWorkstation ws(SlowReplies());
  auto& window = ws.Start();
  ws.ClickAndWait("Button1");
  const float th1_read = *ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0));
  ws.Find<QLineEdit>("Edit5")->setText("55.5");
  ws.dialogs.default_answer = true;
  window.findChild<QAction*>("WriteChangesItem")->trigger();
  ws.WaitForJob();

  window.findChild<QAction*>("HistoryItem")->trigger();
  auto* history = window.findChild<zrm::gui::HistoryDialog*>("HistoryDialog");
  QVERIFY(history);
  QTRY_VERIFY(!history->Loading());
  QCOMPARE(history->windowTitle(), Q("История изменений прибора 047-12345"));
  const zrm::gui::HistoryModel& rows = history->Model();
  QCOMPARE(rows.rowCount(), 2);  // the write of changes, the read
  const std::string backup = rows.RowAt(0).backup;
  QVERIFY2(QRegularExpression("^ZRM4813-047-12345-\\d{8}-\\d{6}\\.prf$")
               .match(QString::fromStdString(backup))
               .hasMatch(),
           backup.c_str());
  auto* table = history->findChild<QAbstractItemView*>("HistoryTable");
  auto* note = history->findChild<QLabel*>("HistoryNote");

  // The backup holds the set point as it was before the write.
  const QString editor = ws.Find<QLineEdit>("Edit5")->text();
  emit table->doubleClicked(rows.index(0, 0));
  ws.WaitForJob();
  zrm::gui::ComparisonDialog* shown = nullptr;
  QTRY_VERIFY((shown = window.findChild<zrm::gui::ComparisonDialog*>("ComparisonDialog")));
  QCOMPARE(shown->windowTitle(),
           Q("Сравнение прибора с резервной копией ") + QString::fromStdString(backup));
  QCOMPARE(shown->SelectedText(),
           Q("Группа\tПараметр\tВ приборе\tВ резервной копии\nКанал 1\tВеличина I\t55.5000\t") +
               QString::number(th1_read, 'f', 4) + "\n");
  QCOMPARE(*ws.sim.Float(ChannelAddressOf(zrm::ChannelField::kTh1, 0)), 55.5f);  // only read
  QCOMPARE(ws.Find<QLineEdit>("Edit5")->text(), editor);  // the editor keeps its content
  shown->close();
  delete shown;

  // The read has no backup; while a command runs nothing is compared.
  emit table->doubleClicked(rows.index(1, 0));
  QCOMPARE(note->text(), Q("У этого события нет резервной копии."));
  ws.Find<QPushButton>("Button1")->click();
  QVERIFY(window.Busy());
  emit table->doubleClicked(rows.index(0, 0));
  QCOMPARE(note->text(),
           Q("Сравнение не начато: выполняется команда. Повторите, когда она закончится."));
  ws.WaitForJob();
  QVERIFY(!window.findChild<zrm::gui::ComparisonDialog*>("ComparisonDialog"));

  // A backup that is gone is named; nothing is sent.
  const std::string path = ws.Dir() + "/backup/" + backup;
  QVERIFY(std::filesystem::remove(path));
  const std::size_t requests = ws.sim.RequestsReceived();
  emit table->doubleClicked(rows.index(0, 0));
  ws.WaitForJob();
  QVERIFY(AnyShownMentions(ws.dialogs, "Сравнение с прибором не начато: " + path + ": "));
  QCOMPARE(ws.sim.RequestsReceived(), requests);
  QVERIFY(!window.findChild<zrm::gui::ComparisonDialog*>("ComparisonDialog"));
}

QTEST_MAIN(DeviceCommandsTest)
#include "device_commands_test.moc"
