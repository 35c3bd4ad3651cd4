// The window without an instrument: its controls, lists and hints, the
// start-up and shutdown in a working folder, the editor round trips, the
// relay grid, the "Файл" menu, and closing by signal.

#include <signal.h>
#include <time.h>

#include <QAbstractItemView>
#include <QAbstractProxyModel>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDateTime>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <QTreeView>
#include <filesystem>

#include "app/session.h"
#include "gui/dialogs/history_dialog.h"
#include "gui/dialogs/qt_dialogs.h"
#include "gui/dialogs/russian_file_list.h"
#include "gui/widgets/group_area.h"
#include "gui/widgets/number_field.h"
#include "gui/widgets/simple_list.h"
#include "gui/window/edit_step_words.h"
#include "gui/window/guarded_application.h"
#include "gui/window/gui_operator.h"
#include "gui/window/quit_signals.h"
#include "history/history_store.h"
#include "platform/number_text.h"
#include "support/scratch_dir.h"
#include "support/workstation.h"

using zrm::test::Workstation;

namespace {

QString Q(const char* text) { return QString::fromUtf8(text); }

// The local time `at` of December `day`, 2026, in ms since the epoch.
std::int64_t December(int day, QTime at) {
  return QDateTime(QDate(2026, 12, day), at).toMSecsSinceEpoch();
}

// One event of the history as the programs store it.
zrm::HistoryEvent Event(const std::string& id, std::int64_t time_ms, const char* action,
                        const char* number) {
  zrm::HistoryEvent e;
  e.id = id;
  e.time_ms = time_ms;
  e.workstation = "bench-1";
  e.user = "ivanov";
  e.program = "zrm48ctl";
  e.version = "1.4.0";
  e.instrument_type = *number ? "4813" : "";
  e.instrument_number = number;
  e.line = "/dev/ttyUSB0";
  e.address = 1;
  e.action = action;
  return e;
}

// A write's opening event, stored before its first frame without the
// instrument.
zrm::HistoryEvent Opening(const std::string& id, std::int64_t time_ms, const char* action) {
  zrm::HistoryEvent opening = Event(id, time_ms, action, "");
  opening.result = -1;
  opening.message = "запись начата";
  return opening;
}

// Its closing event, naming it.
zrm::HistoryEvent Closing(const zrm::HistoryEvent& opening, std::int64_t time_ms) {
  zrm::HistoryEvent closing =
      Event(opening.id + "-end", time_ms, opening.action.c_str(), "047-12345");
  closing.opening_id = opening.id;
  return closing;
}

void Store(const std::string& dir, std::vector<zrm::HistoryEvent> events) {
  zrm::HistoryStore store;
  std::string error;
  if (!store.Open(dir + "/history.sqlite", error)) qFatal("%s", error.c_str());
  for (zrm::HistoryEvent& e : events)
    if (!store.Append(e, error)) qFatal("%s", error.c_str());
}

// The history dialog the menu "Прибор" opens, once it has read the history.
zrm::gui::HistoryDialog* OpenHistory(Workstation& ws) {
  ws.Window().findChild<QAction*>("HistoryItem")->trigger();
  zrm::gui::HistoryDialog* dialog = nullptr;
  for (auto* shown : ws.Window().findChildren<zrm::gui::HistoryDialog*>("HistoryDialog"))
    if (shown->isVisible()) dialog = shown;
  if (!dialog) qFatal("no history dialog");
  if (!QTest::qWaitFor([dialog] { return !dialog->Loading(); }, 10000)) qFatal("still reading");
  return dialog;
}

// The shown rows of the dialog, one line each, the cells joined by "|".
QStringList HistoryCells(const zrm::gui::HistoryDialog& dialog) {
  if (!QTest::qWaitFor([&dialog] { return !dialog.Loading(); }, 10000)) qFatal("still reading");
  const zrm::gui::HistoryModel& model = dialog.Model();
  QStringList rows;
  for (int row = 0; row < model.rowCount(); ++row) {
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
      cells << model.data(model.index(row, column), Qt::DisplayRole).toString();
    rows << cells.join('|');
  }
  return rows;
}

QString LocalTime(int day, QTime at) {
  return QDateTime(QDate(2026, 12, day), at).toString("dd.MM.yyyy hh:mm:ss");
}

// A folder whose port 1 opens a device that exists but never answers, so no
// start-up message is about a missing port.
struct QuietWorkstation : Workstation {
  zrm::test::SilentLine line;
  QuietWorkstation() { MapPort(1, line.Path()); }
};

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

 private slots:
  void StartUpInAnEmptyFolderCreatesItsFiles();
  void ControlsHaveTheirNamesKindsItemsAndHints();
  void WindowGrowsKeepsItsSizeAndProgressPanelIsHiddenAndEmpty();
  void CaptionAtStart();
  void RelayGridClicksToggleMarksOnlyInEventCells();
  void SensorTypeChoiceShowsItsRangeAtOnce();
  void TypedNonNumbersStayMarkedAndTheCommaIsAPoint();
  void ClosingSavesTheEditedValuesAndThePort();
  void OpenAndSaveThroughTheMenu();
  void SaveNameGetsTheExtensionOnlyWhenMissing();
  void OpenDialogReturnsExactlyTheChosenFile();
  void FileDialogsListInRussianWhateverTheLocale();
  void CancelledDialogsTouchNothing();
  void EachFieldEditIsAnUndoStepNamedInTheStatusBar();
  void QuitSignalClosesInOrder();
  void MissingPortIsReportedAndTheWindowStillOpens();
  void EscUsedByAMenuAListOrABoxDoesNotCount();
  void EnterAnswersAQuestionWithItsDefault();
  void EscapedExceptionIsReportedNotFatal();
  void HistoryListsWritesAsOneRowFiltersAndExportsAsZrm48ctl();
  void HistoryThatCannotBeReadIsSaidInTheDialog();
};

void WindowTest::StartUpInAnEmptyFolderCreatesItsFiles() {
  Workstation ws;
  ws.Start();
  namespace fs = std::filesystem;
  QVERIFY(fs::exists(ws.PathOf("dev.dat")));
  QVERIFY(fs::exists(ws.PathOf("recent.prf")));
  for (const char* name :
       {"ZRM4810.prf", "ZRM4811.prf", "ZRM4813.prf", "ZRM4816.prf", "ZRM48XX_progon.prf",
        "ZRM48XX_pogrR.prf", "ZRM48XX_pogrU100.prf", "ZRM48XX_pogrU10.prf", "ZRM48XX_pogrI.prf"})
    QVERIFY2(fs::exists(ws.PathOf(name)), name);
  const std::pair<const char*, const char*> keys[] = {
      {"COM_SETTINGS", "Number"}, {"COM_SETTINGS", "Settings"}, {"DEVICE", "EnableNetAdrr"},
      {"DEVICE", "NetAdrr"},      {"SETTINGS", "NOfReadings"},  {"SETTINGS", "TimeOut"},
      {"LOG", "UseLogFile"},      {"LOG", "LogFileName"},       {"IZM", "UseIzmFile"},
      {"IZM", "IzmFileName"}};
  for (const auto& [section, key] : keys)
    QVERIFY2(ws.Key("dev.dat", section, key) != "<missing>", key);
  QCOMPARE(ws.Key("dev.dat", "COM_SETTINGS", "Number"), std::string("1"));
  QCOMPARE(ws.Find<QTabWidget>("TabbedNotebook1")->currentIndex(), 0);
  // Only the default port may be reported, when this machine has none.
  for (const auto& shown : ws.dialogs.shown)
    QVERIFY(shown.text.rfind("Невозможно открыть последовательный порт", 0) == 0);
}

void WindowTest::ControlsHaveTheirNamesKindsItemsAndHints() {
  QuietWorkstation ws;
  ws.Start();
  // The step lists take typed numbers; every list read by its index takes
  // only its items.
  for (const char* name : {"ComboBox21", "ComboBox22", "ComboBox23", "ComboBox24"})
    QVERIFY2(ws.Find<QComboBox>(name)->isEditable(), name);
  for (const char* name :
       {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox4", "ComboBox5", "ComboBox6", "ComboBox7",
        "ComboBox8", "ComboBox9", "ComboBox10", "ComboBox11", "ComboBox12", "ComboBox15",
        "ComboBox16", "ComboBox19", "ComboBox20", "ComboBox17"})
    QVERIFY2(!ws.Find<QComboBox>(name)->isEditable(), name);

  const std::pair<const char*, int> counts[] = {
      {"ComboBox17", 4},  {"ComboBox1", 25}, {"ComboBox7", 25}, {"ComboBox2", 3},
      {"ComboBox21", 5},  {"ComboBox5", 4},  {"ComboBox4", 10}, {"ComboBox15", 231},
      {"ComboBox16", 56}, {"ComboBox19", 3}, {"ComboBox20", 2}};
  for (const auto& [name, count] : counts) QCOMPARE(ws.Find<QComboBox>(name)->count(), count);
  QCOMPARE(ws.Find<QComboBox>("ComboBox7")->itemText(16), Q("ТМК  ТП TMK(T) медь/константан"));
  QCOMPARE(ws.Find<QComboBox>("ComboBox15")->itemText(230), Q("240"));

  // The simple list of prefixes steps through "000".."255" with the arrows.
  auto* prefix = ws.Find<zrm::gui::SimpleList>("ComboBox27");
  QCOMPARE(prefix->Count(), 256);
  prefix->SetCurrentIndex(254);
  QTest::keyClick(prefix, Qt::Key_Down);
  QCOMPARE(prefix->text(), Q("255"));
  QTest::keyClick(prefix, Qt::Key_Down);
  QCOMPARE(prefix->text(), Q("255"));
  prefix->setText("12");
  QCOMPARE(prefix->CurrentIndex(), -1);

  QVERIFY(ws.Find<QLineEdit>("Edit53")->isReadOnly());
  QCOMPARE(ws.Find<QTableWidget>("StringGrid1")->editTriggers(), QAbstractItemView::NoEditTriggers);
  QCOMPARE(ws.Find<QTableWidget>("StringGrid2")->editTriggers(), QAbstractItemView::NoEditTriggers);

  const std::pair<const char*, const char*> hints[] = {
      {"ComboBox17", "Задаем номер порта компьютора"},
      {"Button1", "Прочитать все настройки ."},
      {"Button3", "Записать все настройки."},
      {"RichEdit1",
       "Текстовое описание файла настроек прибора.  Перед записью нового файла сюда можно "
       "внести свои комментарии."},
      {"Edit2", "Минимум диапазона.Для унифицированных входов его можно изменить."},
      {"Edit13", "Максимум диапазона.Для унифицированных входов его можно изменить."},
      {"CheckBox6", "Включение извлечения корня при расчете значений унифицированных сигналов."},
      {"ComboBox9", "Задаем тип уставки"},
      {"ComboBox24", "Задаем шаг изменения гистерезиса"},
      {"ComboBox12", "Задаем число одинаковых наблюдений перед срабатыванием реле"},
      {"StringGrid1", "Стявя значек в ячейке включаем реле от данного события."},
      {"ComboBox15", "Через это время прибор будет выдавать управляющее воздействие на задвижку."},
      {"ComboBox16",
       "При максимальном рассогласовании управляющий импульс будет длится столько секунд."},
      {"ComboBox19", "Задаем тип функционирования прибора"},
      {"ComboBox20", "Для поиска ошибки можем задать расширенную индикацию"},
      {"Edit53", "Здесь задается заводской номер прибора"},
      {"Button42",
       "Из прибора читается конфигурация и готовится сводное описание настроек.  Его можно "
       "распечатать."}};
  for (const auto& [name, hint] : hints) QCOMPARE(ws.Find<QWidget>(name)->toolTip(), Q(hint));
  QVERIFY(ws.Find<QWidget>("ComboBox27")->toolTip().isEmpty());

  auto* notebook = ws.Find<QTabWidget>("TabbedNotebook1");
  const char* pages[] = {"Настройки каналов", "Настройки реле", "Общие", "Текущие значения",
                         "Конфигурация"};
  QCOMPARE(notebook->count(), 5);
  for (int i = 0; i < 5; ++i) QCOMPARE(notebook->tabText(i), Q(pages[i]));

  auto* grid = ws.Find<QTableWidget>("StringGrid1");
  QCOMPARE(grid->item(1, 0)->text(), Q("    1"));
  QCOMPARE(ws.Find<QTableWidget>("StringGrid2")->item(0, 10)->text(), Q("Импульс"));
  for (const char* name : {"Panel72", "Panel73", "Panel74", "Panel3", "Panel7", "Panel24",
                           "Panel25", "Panel11", "Panel19", "Panel75", "Panel78"})
    QVERIFY2(ws.Find<QWidget>(name), name);
  QCOMPARE(ws.Find<QMenu>("N1")->title(), Q("Файл"));

  // Every caption shows whole: grid cells in their columns (the set point
  // types heading the relay grid too), the sensor types beside the list's arrow.
  ws.Find<QComboBox>("ComboBox2")->setCurrentIndex(1);
  ws.Find<QComboBox>("ComboBox3")->setCurrentIndex(2);
  notebook->setCurrentIndex(1);
  QCOMPARE(grid->item(0, 1)->text(), Q("Понижение"));
  QCOMPARE(grid->item(0, 2)->text(), Q("Повышение"));
  QCOMPARE(ws.TheSession().form.relay_grid[0][1], std::string("Понижен"));
  for (const char* name : {"StringGrid1", "StringGrid2"}) {
    auto* table = ws.Find<QTableWidget>(name);
    for (int row = 0; row < table->rowCount(); ++row)
      for (int column = 0; column < table->columnCount(); ++column) {
        const QString text = table->item(row, column)->text();
        QVERIFY2(table->fontMetrics().horizontalAdvance(text) < table->columnWidth(column),
                 qPrintable(text));
      }
  }
  auto* sensor = ws.Find<QComboBox>("ComboBox1");
  for (int i = 0; i < sensor->count(); ++i)
    QVERIFY2(sensor->fontMetrics().horizontalAdvance(sensor->itemText(i)) + 20 < sensor->width(),
             qPrintable(sensor->itemText(i)));
}

void WindowTest::WindowGrowsKeepsItsSizeAndProgressPanelIsHiddenAndEmpty() {
  QuietWorkstation ws;
  auto& window = ws.Start();
  const QSize least = window.minimumSize();
  QCOMPARE(window.size(), least);
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(3);
  QTest::qWait(50);
  const QSize chart = ws.Find<QWidget>("TrendChart")->size();
  window.resize(least + QSize(300, 200));
  QTRY_VERIFY(ws.Find<QWidget>("TrendChart")->width() >= chart.width() + 250);
  QVERIFY2(ws.Find<QWidget>("TrendChart")->height() >= chart.height() + 150,
           qPrintable(QString::number(ws.Find<QWidget>("TrendChart")->height())));
  ws.Close();
  QCOMPARE(ws.Key("zrm48setup.ini", "WINDOW", "Width"), std::to_string(least.width() + 300));
  QCOMPARE(ws.Key("dev.dat", "WINDOW", "Width"), std::string("<missing>"));
  // The next start opens at that size; a size below the least is not taken.
  QCOMPARE(ws.Start().size(), least + QSize(300, 200));
  ws.Close();
  ws.SetKey("zrm48setup.ini", "WINDOW", "Height", "10");
  QCOMPARE(ws.Start().height(), least.height());
  QVERIFY(!ws.Find<QWidget>("Panel76")->isVisible());
  for (const char* name : {"Label108", "Label109", "Label110", "Label111", "Label112", "Label113"})
    QVERIFY(ws.Find<QLabel>(name)->text().isEmpty());
}

void WindowTest::CaptionAtStart() {
  QuietWorkstation ws;
  QCOMPARE(ws.Start().windowTitle(), Q("Настройка ЗРМ 48xx пользовательская версия 1.0.19.1 "));
}

void WindowTest::RelayGridClicksToggleMarksOnlyInEventCells() {
  QuietWorkstation ws;
  ws.Start();
  auto* grid = ws.Find<QTableWidget>("StringGrid1");
  grid->show();
  auto click = [&](int row, int column) {
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(row, column)).center());
  };
  const QString before = grid->item(2, 7)->text();
  click(2, 7);
  QCOMPARE(grid->item(2, 7)->text(), before.isEmpty() ? Q(" +") : QString());
  // Marks from the settings are "*", clicked ones "+": the legend says both mean the same.
  const QString legend = ws.Find<QLabel>("RelayMarksLegend")->text();
  QVERIFY2(legend.contains(Q("«*»")) && legend.contains(Q("«+»")), qPrintable(legend));
  click(2, 7);
  QCOMPARE(grid->item(2, 7)->text(), before);
  click(0, 3);
  click(1, 0);
  QCOMPARE(grid->item(1, 0)->text(), Q("    1"));

  // A mark reaches the record at the next collection: relay 2, "Откр." is bit 0x10.
  click(2, 8);
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(2);
  QCOMPARE(ws.TheSession().settings.relay.rel1_msk0 & 0x10, 0x10);
}

void WindowTest::SensorTypeChoiceShowsItsRangeAtOnce() {
  QuietWorkstation ws;
  ws.Start();
  auto* sensor = ws.Find<QComboBox>("ComboBox1");
  sensor->setCurrentIndex(9);
  emit sensor->activated(9);
  const auto& range = ws.TheSession().settings.sensor_ranges[9];
  QCOMPARE(ws.Find<QLineEdit>("Edit1")->text().toStdString(), zrm::Format84(range.max));
  QCOMPARE(ws.Find<QLineEdit>("Edit2")->text().toStdString(), zrm::Format84(range.min));

  // Text typed into a list that names no item changes nothing: channel 2's
  // set point I stays on, in the list and in the record.
  auto* type = ws.Find<QComboBox>("ComboBox8");
  type->setCurrentIndex(2);
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(1);
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(0);
  type->setFocus();
  QTest::keyClicks(type, "151");
  QTest::keyClick(type, Qt::Key_Tab);
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(1);
  QCOMPARE(type->currentIndex(), 2);
  QCOMPARE(ws.TheSession().settings.channel[1].th_type1, 2);
  QTest::keyClicks(sensor, "xyz");
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(0);
  QCOMPARE(ws.TheSession().settings.channel[0].dat, 9);

  // A list of numbers takes typed digits as one number: the item equal to
  // it, or none ("7" is no interval: 30 stays), closed or open.
  auto* interval = ws.Find<QComboBox>("ComboBox15");
  interval->setCurrentIndex(interval->findText("30"));
  QTest::keyClicks(interval, "7");
  QCOMPARE(interval->currentText(), Q("30"));
  QTest::qWait(QApplication::keyboardInputInterval() + 50);
  QTest::keyClicks(interval, "120");
  QCOMPARE(interval->currentText(), Q("120"));
  QTest::qWait(QApplication::keyboardInputInterval() + 50);
  QAbstractItemView* open = interval->view();
  open->setCurrentIndex(open->model()->index(interval->currentIndex(), 0));
  QTest::keyClicks(open, "7");
  QCOMPARE(open->currentIndex().data().toString(), Q("120"));
  QTest::qWait(QApplication::keyboardInputInterval() + 50);
  QTest::keyClicks(open, "45");
  QCOMPARE(open->currentIndex().data().toString(), Q("45"));
  QCOMPARE(interval->currentText(), Q("120"));
}

void WindowTest::TypedNonNumbersStayMarkedAndTheCommaIsAPoint() {
  QuietWorkstation ws;
  ws.Start();
  auto* th1 = ws.Find<QLineEdit>("Edit5");
  auto* step = ws.Find<QComboBox>("ComboBox22");
  const float th1_before = ws.TheSession().settings.channel[0].th1;
  th1->clear();
  QTest::keyClicks(th1, "xyz");
  step->lineEdit()->clear();
  QTest::keyClicks(step->lineEdit(), "0,5");
  auto* his1 = ws.Find<QLineEdit>("Edit6");
  his1->clear();
  QTest::keyClicks(his1, "124,5");
  QCOMPARE(his1->text(), Q("124.5"));
  QCOMPARE(step->currentText(), Q("0.5"));
  QVERIFY(zrm::gui::NumberFieldMarked(th1));
  QVERIFY(th1->toolTip().startsWith(Q("Здесь не число")));

  // Switching pages collects: the typed text stays, the record keeps its value.
  ws.Find<QTabWidget>("TabbedNotebook1")->setCurrentIndex(1);
  QCOMPARE(th1->text(), Q("xyz"));
  QVERIFY(zrm::gui::NumberFieldMarked(th1));
  QCOMPARE(ws.TheSession().settings.channel[0].th1, th1_before);
  QCOMPARE(ws.TheSession().settings.channel[0].his1, 124.5f);
  QCOMPARE(ws.TheSession().settings.channel[0].spd_his, 0.5f);
  QVERIFY(!zrm::gui::NumberFieldMarked(his1));

  th1->setText("7");
  QVERIFY(!zrm::gui::NumberFieldMarked(th1));
  QCOMPARE(th1->toolTip(), Q("Величина уставки 1."));
}

void WindowTest::ClosingSavesTheEditedValuesAndThePort() {
  QuietWorkstation ws;
  auto& window = ws.Start();
  ws.Find<QLineEdit>("Edit5")->setText("42");
  ws.Find<QPlainTextEdit>("RichEdit1")->setPlainText("line one\nline two");
  // "Выход", the last item of "Файл", closes as the window's button does.
  const QList<QAction*> file_items = ws.Find<QMenu>("N1")->actions();
  QCOMPARE(file_items.back()->objectName(), Q("ExitItem"));
  QCOMPARE(file_items.back()->text(), Q("Выход"));
  file_items.back()->trigger();
  QVERIFY(!window.isVisible());
  ws.Close();
  QCOMPARE(ws.Key("recent.prf", "CH1", "th1"), std::string("42.0000"));
  QCOMPARE(ws.Key("recent.prf", "Definition", "txt0"), std::string("line one"));
  QCOMPARE(ws.Key("recent.prf", "Definition", "txt1"), std::string("line two"));
  QCOMPARE(ws.Key("dev.dat", "COM_SETTINGS", "Number"), std::string("1"));

  // The next start shows what was saved.
  ws.Start();
  QCOMPARE(ws.Find<QLineEdit>("Edit5")->text(), Q(" 42.0000"));
}

void WindowTest::OpenAndSaveThroughTheMenu() {
  QuietWorkstation ws;
  auto& window = ws.Start();
  ws.Find<QLineEdit>("Edit7")->setText("33.5");
  ws.dialogs.save_names = {QString::fromStdString(ws.PathOf("a.prf")),
                           QString::fromStdString(ws.PathOf("b")),
                           QString::fromStdString(ws.PathOf("c.PRF"))};
  auto* save = ws.Window().findChild<QAction*>("N3");
  save->trigger();
  save->trigger();
  save->trigger();
  namespace fs = std::filesystem;
  QVERIFY(fs::exists(ws.PathOf("a.prf")));
  QVERIFY(!fs::exists(ws.PathOf("a.prf.prf")));
  QVERIFY(fs::exists(ws.PathOf("b.prf")));
  QVERIFY(fs::exists(ws.PathOf("c.PRF")));
  QVERIFY(!fs::exists(ws.PathOf("c.PRF.prf")));
  QCOMPARE(ws.Key("a.prf", "CH1", "th2"), std::string("33.5000"));
  QCOMPARE(window.windowTitle(), Q("Настройка ЗРМ 48xx пользовательская версия 1.0.19.1 "));
  // Each save offers the instrument's name, as the CSV and the PDF do.
  QCOMPARE(ws.dialogs.proposed_save_names.size(), std::size_t{3});
  const QString number = ws.Find<QLineEdit>("Edit53")->text().trimmed();
  QVERIFY2(QRegularExpression("^ZRM48\\w\\w-\\d{3}-" + number + "-\\d{8}-\\d{4}\\.prf$")
               .match(ws.dialogs.proposed_save_names[0])
               .hasMatch(),
           qPrintable(ws.dialogs.proposed_save_names[0]));

  // Opening brings the saved values back and names the file in the caption;
  // the serial number, not carried by profiles, stays.
  ws.Find<QLineEdit>("Edit7")->setText("1");
  const QString serial = ws.Find<QLineEdit>("Edit53")->text();
  const QString path = QString::fromStdString(ws.PathOf("a.prf"));
  ws.dialogs.open_names = {path};
  ws.Window().findChild<QAction*>("N2")->trigger();
  QCOMPARE(ws.Find<QLineEdit>("Edit7")->text(), Q(" 33.5000"));
  QCOMPARE(ws.Find<QLineEdit>("Edit53")->text(), serial);
  QCOMPARE(window.windowTitle(), Q("Настройка ЗРМ 48xx 1.0.19.1 ") + path);
  // A menu item's hint in the status bar leaves the outcome in view.
  QCOMPARE(ws.Outcome(), Q("Настройки прочитаны из файла ") + path);
  QStatusTipEvent hint(Q("подсказка пункта меню"));
  QApplication::sendEvent(&window, &hint);
  QCOMPARE(window.statusBar()->currentMessage(), Q("подсказка пункта меню"));
  QCOMPARE(ws.Outcome(), Q("Настройки прочитаны из файла ") + path);
  QVERIFY(ws.Find<QLabel>("StatusOutcome")->isVisible());

  // "Правка": the editor as it was before the open comes back, and goes again.
  auto* undo = window.findChild<QAction*>("UndoItem");
  auto* redo = window.findChild<QAction*>("RedoItem");
  QCOMPARE(undo->shortcut(), QKeySequence(Q("Ctrl+Z")));
  QCOMPARE(redo->shortcut(), QKeySequence(Q("Ctrl+Shift+Z")));
  undo->trigger();
  QCOMPARE(ws.Find<QLineEdit>("Edit7")->text(), Q("1"));
  QCOMPARE(ws.Outcome(), Q("Отменено: чтение из файла ") + path);
  QVERIFY(redo->isEnabled());
  redo->trigger();
  QCOMPARE(ws.Find<QLineEdit>("Edit7")->text(), Q(" 33.5000"));
  QVERIFY(!redo->isEnabled());

  // A name that does not exist yet is created with the new-profile content.
  const QString fresh = QString::fromStdString(ws.PathOf("fresh.prf"));
  ws.dialogs.open_names = {fresh};
  ws.Window().findChild<QAction*>("N2")->trigger();
  QVERIFY(fs::exists(fresh.toStdString()));
  QCOMPARE(ws.Find<QLineEdit>("Edit7")->text(), Q(" 60.0000"));
  QCOMPARE(window.windowTitle(), Q("Настройка ЗРМ 48xx 1.0.19.1 ") + fresh);

  QCOMPARE(ws.Window().findChild<QAction*>("N2")->shortcut(), QKeySequence(QKeySequence::Open));
  QCOMPARE(ws.Window().findChild<QAction*>("N3")->shortcut(), QKeySequence(QKeySequence::Save));
}

void WindowTest::SaveNameGetsTheExtensionOnlyWhenMissing() {
  QCOMPARE(zrm::ProfileSaveName("a.prf"), std::string("a.prf"));
  QCOMPARE(zrm::ProfileSaveName("a.Prf"), std::string("a.Prf"));
  QCOMPARE(zrm::ProfileSaveName("a"), std::string("a.prf"));
  QCOMPARE(zrm::ProfileSaveName("a.prf.txt"), std::string("a.prf.txt.prf"));
  QCOMPARE(zrm::ProfileSaveName("prf"), std::string("prf.prf"));
  QCOMPARE(zrm::ProfileSaveName(".prf"), std::string(".prf"));
}

void WindowTest::OpenDialogReturnsExactlyTheChosenFile() {
  Workstation ws;
  zrm::test::WriteBytes(ws.PathOf("backup"), "[CH1]\r\nth1=12.0000\r\n");
  auto chosen = [&ws](QFileDialog::AcceptMode mode, const char* name) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    zrm::gui::SetUpProfileDialog(dialog, mode);
    dialog.setDirectory(QString::fromStdString(ws.PathOf("")));
    dialog.selectFile(Q(name));
    static_cast<QDialog&>(dialog).accept();  // as the "Open" button does
    return QFileInfo(dialog.selectedFiles().value(0)).fileName();
  };
  QCOMPARE(chosen(QFileDialog::AcceptOpen, "backup"), Q("backup"));
  QCOMPARE(chosen(QFileDialog::AcceptSave, "copy"), Q("copy.prf"));
}

void WindowTest::FileDialogsListInRussianWhateverTheLocale() {
  using zrm::gui::FileSizeText;
  const std::pair<qint64, const char*> sizes[] = {
      {0, "0 байт"},       {1023, "1023 байт"},         {1024, "1.0 КБ"},
      {12345, "12 КБ"},    {10 * 1024 - 1, "10.0 КБ"},  {10 * 1024, "10 КБ"},
      {1572864, "1.5 МБ"}, {qint64{3} << 40, "3.0 ТБ"}, {qint64{5000} << 40, "5000 ТБ"}};
  for (const auto& [bytes, text] : sizes) QCOMPARE(FileSizeText(bytes), Q(text));

  // The real save dialog of "Сохранить", in a working folder with a
  // profile and a folder: whatever the locale, its list says it in Russian.
  QTemporaryDir dir;
  const QString kept = QDir::currentPath();
  QVERIFY(QDir::setCurrent(dir.path()));
  zrm::test::WriteBytes(dir.filePath("a.prf").toStdString(), std::string(12345, 'x'));
  QVERIFY(QDir(dir.path()).mkdir("sub"));
  QStringList seen;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    QAbstractProxyModel* list = dialog->proxyModel();
    auto* files = list ? qobject_cast<QFileSystemModel*>(list->sourceModel()) : nullptr;
    if (files) {
      auto cell = [&](const char* name, int column) {
        const QModelIndex index = files->index(dir.filePath(name), column);
        return list->mapFromSource(index).data().toString();
      };
      // The folder is read in the background.
      for (int waited = 0; cell("a.prf", 1).isEmpty() && waited < 5000; waited += 10)
        QTest::qWait(10);
      seen << dialog->objectName() << dialog->selectedFiles().value(0)
           << list->headerData(3, Qt::Horizontal).toString() << cell("a.prf", 1) << cell("a.prf", 2)
           << cell("sub", 1) << cell("sub", 2) << cell("a.prf", 3);
    }
    dialog->reject();
  });
  zrm::gui::QtDialogs dialogs;
  const QString chosen = dialogs.SaveProfileName(nullptr, "ZRM4813-047-12345-20261208-1201.prf");
  QVERIFY(QDir::setCurrent(kept));
  QCOMPARE(chosen, QString());
  QCOMPARE(seen.size(), 8);
  QCOMPARE(seen.mid(0, 7),
           QStringList({"SaveDialog1", dir.filePath("ZRM4813-047-12345-20261208-1201.prf"),
                        Q("Изменён"), Q("12 КБ"), Q("Файл prf"), QString(), Q("Папка")}));
  const QString modified =
      QFileInfo(dir.filePath("a.prf")).lastModified().toString("dd.MM.yyyy hh:mm");
  QCOMPARE(seen[7], modified);
}

void WindowTest::CancelledDialogsTouchNothing() {
  QuietWorkstation ws;
  auto& window = ws.Start();
  ws.Find<QLineEdit>("Edit5")->setText("77");
  const float before = ws.TheSession().settings.channel[0].th1;
  ws.Window().findChild<QAction*>("N2")->trigger();
  ws.Window().findChild<QAction*>("N3")->trigger();
  QCOMPARE(ws.TheSession().settings.channel[0].th1, before);
  QCOMPARE(ws.Find<QLineEdit>("Edit5")->text(), Q("77"));
  QCOMPARE(window.windowTitle(), Q("Настройка ЗРМ 48xx пользовательская версия 1.0.19.1 "));
}

void WindowTest::EachFieldEditIsAnUndoStepNamedInTheStatusBar() {
  QuietWorkstation ws;
  auto& window = ws.Start();
  QTest::qWait(300);  // the last state loaded again
  auto* undo = window.findChild<QAction*>("UndoItem");
  auto* redo = window.findChild<QAction*>("RedoItem");
  auto* th1 = ws.Find<QLineEdit>("Edit5");
  const QString th1_before = th1->text();

  // A field left after typing is one step; undo names it, redo does it again.
  th1->setText("77");
  emit th1->editingFinished();
  undo->trigger();
  QCOMPARE(th1->text(), th1_before);
  QCOMPARE(ws.Outcome(), Q("Отменено: изменение поля «Величина I» канала 1"));
  redo->trigger();
  QCOMPARE(th1->text(), Q("77"));
  QCOMPARE(ws.Outcome(), Q("Повторено: изменение поля «Величина I» канала 1"));

  // Typing and undoing without leaving the field undoes the typing, Ctrl+Z
  // in the field as well: the status bar says it in either case.
  auto* his2 = ws.Find<QLineEdit>("Edit20");
  const QString his2_before = his2->text();
  his2->setText("0.7");
  undo->trigger();
  QCOMPARE(his2->text(), his2_before);
  QCOMPARE(ws.Outcome(), Q("Отменено: изменение поля «Гистерезис II» канала 2"));
  QCOMPARE(th1->text(), Q("77"));
  window.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&window));
  auto* shift = ws.Find<QLineEdit>("Edit3");
  const QString shift_before = shift->text();
  shift->setFocus();
  QTest::keyClicks(shift, "5");
  ws.Find<QLabel>("StatusOutcome")->clear();
  QTest::keyClick(shift, Qt::Key_Z, Qt::ControlModifier);
  QCOMPARE(shift->text(), shift_before);
  QCOMPARE(ws.Outcome(), Q("Отменено: изменение поля «0» канала 1"));

  // A sensor type and the range it brought go back together; a list and a
  // switch are steps too, each undone in turn, newest first.
  auto* sensor = ws.Find<QComboBox>("ComboBox7");
  const int sensor_before = sensor->currentIndex();
  const QString max_before = ws.Find<QLineEdit>("Edit13")->text();
  sensor->setCurrentIndex(9);
  emit sensor->activated(9);
  QVERIFY(ws.Find<QLineEdit>("Edit13")->text() != max_before);
  auto* interval = ws.Find<QComboBox>("ComboBox15");
  interval->setCurrentIndex(interval->currentIndex() == 3 ? 4 : 3);
  emit interval->activated(interval->currentIndex());
  ws.Find<QCheckBox>("CheckBox4")->click();
  undo->trigger();
  QCOMPARE(ws.Outcome(), Q("Отменено: изменение поля «Корнеизвлечение» канала 1"));
  undo->trigger();
  QCOMPARE(ws.Outcome(), Q("Отменено: изменение поля «Интервал принятия решения»"));
  undo->trigger();
  QCOMPARE(ws.Outcome(), Q("Отменено: изменение поля «Тип датчика» канала 2"));
  QCOMPARE(sensor->currentIndex(), sensor_before);
  QCOMPARE(ws.Find<QLineEdit>("Edit13")->text(), max_before);

  // Leaving a field unchanged, or choosing the port, leaves no step.
  undo->trigger();
  QCOMPARE(th1->text(), th1_before);
  const bool could_undo = undo->isEnabled();
  emit th1->editingFinished();
  QCOMPARE(undo->isEnabled(), could_undo);

  // The words of the edits the table names, and none for what is no edit.
  using zrm::gui::FieldEditWords;
  const zrm::EditorForm form = ws.TheSession().form;
  zrm::EditorForm edited = form;
  edited.port = form.port + 1;
  edited.serial_number = "99999";
  QCOMPARE(FieldEditWords(form, edited), std::string());
  edited.description.push_back("новая строка");
  QCOMPARE(FieldEditWords(form, edited), std::string("изменение поля «Описание настроек»"));
  edited.relay_grid[1][2] = edited.relay_grid[1][2].empty() ? "*" : "";
  QCOMPARE(FieldEditWords(form, edited),
           std::string("изменение поля «Назначение реле на воздействие»"));
  edited.channel[1].spd_his = "5";
  QCOMPARE(FieldEditWords(form, edited),
           std::string("изменение поля «Шаг изменения гистерезиса» канала 2"));
}

void WindowTest::QuitSignalClosesInOrder() {
  QuietWorkstation ws;
  auto& window = ws.Start();
  ws.Find<QLineEdit>("Edit6")->setText("0.5");
  zrm::gui::BlockQuitSignals();
  zrm::gui::QuitSignals quit_signals;
  connect(&quit_signals, &zrm::gui::QuitSignals::QuitRequested, &window,
          &zrm::gui::MainWindow::QuitBySignal);
  raise(SIGTERM);  // pending on this thread, read from the signalfd
  QTRY_VERIFY(!window.isVisible());
  QCOMPARE(ws.Key("recent.prf", "CH1", "his1"), std::string("0.5000"));
}

void WindowTest::MissingPortIsReportedAndTheWindowStillOpens() {
  Workstation ws;
  ws.MapPort(1, ws.PathOf("no-such-device"));
  auto& window = ws.Start();
  QVERIFY(window.isVisible());
  QCOMPARE(ws.dialogs.shown.size(), std::size_t{1});
  QVERIFY(ws.dialogs.shown[0].text.rfind("Невозможно открыть последовательный порт", 0) == 0);
  QCOMPARE(ws.dialogs.shown[0].caption, std::string("Ошибка"));
  QCOMPARE(ws.dialogs.shown[0].icon, zrm::MessageIcon::kError);
  // The box opens over the window, not alone before it.
  QVERIFY(ws.dialogs.shown[0].over_shown_window);
  const QString not_open =
      Q("Порт не открыт: ") + QString::fromStdString(ws.PathOf("no-such-device"));
  QCOMPARE(ws.PortNews(), not_open);

  // A command tries the port again and says why it still cannot, not "ERR 2";
  // the bar keeps the port's news beside the command's failure.
  ws.ClickAndWait("Button1");
  QCOMPARE(ws.dialogs.shown.size(), std::size_t{2});
  QCOMPARE(ws.dialogs.shown[1].text, ws.dialogs.shown[0].text);
  QVERIFY(ws.dialogs.shown[1].text.find("нет такого файла или устройства") != std::string::npos);
  QCOMPARE(ws.Outcome(), Q("Команда не выполнена: Прибор не ответил (ERR 2)"));
  QCOMPARE(ws.PortNews(), not_open);
}

void WindowTest::EscUsedByAMenuAListOrABoxDoesNotCount() {
  QuietWorkstation ws;
  auto& window = ws.Start();
  zrm::gui::GuiOperator& op = window.WindowOperator();
  auto* menu = ws.Find<QMenu>("N1");
  menu->popup(window.mapToGlobal(QPoint(10, 10)));
  QTRY_VERIFY(QApplication::activePopupWidget());
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
  QTRY_VERIFY(!menu->isVisible());
  QVERIFY(!op.EscPressed());

  auto* step = ws.Find<QComboBox>("ComboBox21");
  step->showPopup();
  QTRY_VERIFY(QApplication::activePopupWidget());
  QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
  QTRY_VERIFY(!QApplication::activePopupWidget());
  QVERIFY(!op.EscPressed());

  QDialog box(&window);
  box.setModal(true);
  box.show();
  QTest::keyClick(&box, Qt::Key_Escape);
  QVERIFY(!box.isVisible());
  QVERIFY(!op.EscPressed());

  // ESC in the window itself counts, once.
  QTest::keyClick(&window, Qt::Key_Escape);
  QVERIFY(op.EscPressed());
  QVERIFY(!op.EscPressed());
}

void WindowTest::EnterAnswersAQuestionWithItsDefault() {
  zrm::gui::QtDialogs dialogs;
  using Ask = bool (zrm::gui::QtDialogs::*)(QWidget*, const std::string&, const std::string&,
                                            zrm::MessageIcon);
  const std::pair<Ask, bool> rows[] = {{&zrm::gui::QtDialogs::AskYesNo, true},
                                       {&zrm::gui::QtDialogs::AskYesNoDefaultNo, false}};
  for (const auto& [ask, enter_answers] : rows) {
    QTimer::singleShot(0, [] {
      if (QWidget* box = QApplication::activeModalWidget()) QTest::keyClick(box, Qt::Key_Return);
    });
    QCOMPARE((dialogs.*ask)(nullptr, "?", "Вопрос", zrm::MessageIcon::kQuestion), enter_answers);
  }
}

void WindowTest::EscapedExceptionIsReportedNotFatal() {
  std::vector<std::string> reported;
  auto report = [&](const std::string& what) { reported.push_back(what); };
  QVERIFY(zrm::gui::DeliverGuarded([] { return true; }, report));
  QVERIFY(!zrm::gui::DeliverGuarded([]() -> bool { throw std::runtime_error("disk"); }, report));
  QVERIFY(!zrm::gui::DeliverGuarded([]() -> bool { throw 42; }, report));
  QCOMPARE(reported, (std::vector<std::string>{"disk", ""}));
}

void WindowTest::HistoryListsWritesAsOneRowFiltersAndExportsAsZrm48ctl() {
  // zrm48ctl's dates are days of UTC, the dialog's of the local time: the
  // two select the same events where the two are one.
  const QByteArray zone = qgetenv("TZ");
  qputenv("TZ", "UTC");
  tzset();
  QuietWorkstation ws;
  const zrm::HistoryEvent opening = Opening("w1", December(2, QTime(12, 0)), "changes");
  zrm::HistoryEvent closing = Closing(opening, December(2, QTime(12, 0, 40)));
  closing.changes = {{"Канал 1: Уставка I", "150.0000", "55.5000"},
                     {"Канал 2: Усреднение", "2", "5"}};
  closing.backup = "ZRM4813-047-12345-20261202-120000.prf";
  zrm::HistoryEvent other = Event("r2", December(3, QTime(10, 0)), "read", "047-12346");
  other.result = 2;
  other.message = "Прибор не ответил (ERR 2)";
  // A write over midnight: the row is its end's, and it is no unfinished
  // one on the day it began.
  const zrm::HistoryEvent late = Opening("w3", December(3, QTime(23, 59, 59, 500)), "write");
  zrm::HistoryEvent search = Event("s1", December(1, QTime(11, 0)), "search", "");
  search.address = 0;
  search.message = "прибор не найден";
  Store(ws.Dir(), {Event("r1", December(1, QTime(10, 0)), "read", "047-12345"), search, opening,
                   closing, Opening("w2", December(3, QTime(9, 0)), "write"),  // never closed
                   other, late, Closing(late, December(4, QTime(0, 0, 0, 500)))});
  ws.Start();
  // The instrument read last is the one at hand: 047-12345.
  zrm::GeneralSettings& g = ws.TheSession().settings.general;
  g.proc_ver = 1;
  g.otk_type = 47;
  g.serial_hi = 48;
  g.serial_lo = 57;

  zrm::gui::HistoryDialog* dialog = OpenHistory(ws);
  QCOMPARE(dialog->windowTitle(), Q("История изменений прибора 047-12345"));
  const QString where = "|ivanov (bench-1)|/dev/ttyUSB0, адрес 1|4813 047-";
  QCOMPARE(HistoryCells(*dialog),
           QStringList({LocalTime(4, QTime(0, 0, 0, 500)) + where + Q("12345|Запись|выполнено|"),
                        LocalTime(2, QTime(12, 0, 40)) + where +
                            Q("12345|Запись изменений|выполнено|Канал 1: Уставка I: 150.0000 → "
                              "55.5000\nКанал 2: Усреднение: 2 → 5"),
                        LocalTime(1, QTime(10, 0)) + where + Q("12345|Чтение|выполнено|")}));
  QCOMPARE(dialog->findChild<QLabel*>("HistoryCount")->text(), Q("Событий: 3"));
  const zrm::gui::HistoryModel& rows = dialog->Model();
  QVERIFY(rows.data(rows.index(1, 0), Qt::ToolTipRole)
              .toString()
              .contains(Q("Резервная копия: ZRM4813-047-12345-20261202-120000.prf")));
  // Asked for all and back again while reading: the last choice counts.
  auto* all_instruments = dialog->findChild<QCheckBox*>("HistoryAllInstruments");
  all_instruments->setChecked(true);
  all_instruments->setChecked(false);
  QCOMPARE(HistoryCells(*dialog).size(), 3);

  // Every instrument: the other one's failed read and the write never
  // closed, which no instrument was named for.
  all_instruments->setChecked(true);
  const QStringList all = HistoryCells(*dialog);
  QCOMPARE(all.size(), 6);
  QCOMPARE(all[1],
           LocalTime(3, QTime(10, 0)) + where + Q("12346|Чтение|Прибор не ответил (ERR 2)|"));
  QCOMPARE(all[2], LocalTime(3, QTime(9, 0)) + Q("|ivanov (bench-1)|/dev/ttyUSB0, адрес 1||Запись|"
                                                 "не завершена|"));
  QCOMPARE(all[4], LocalTime(1, QTime(11, 0)) + Q("|ivanov (bench-1)|/dev/ttyUSB0||Поиск|"
                                                  "прибор не найден|"));
  // What did not end well stands out.
  for (int row : {1, 2})
    QCOMPARE(rows.data(rows.index(row, zrm::gui::HistoryModel::kOutcome), Qt::ForegroundRole),
             QVariant(QColor(Qt::darkRed)));
  QVERIFY(
      !rows.data(rows.index(0, zrm::gui::HistoryModel::kOutcome), Qt::ForegroundRole).isValid());

  // The action, then the dates: up to the 3rd the write over midnight is
  // gone, and not left half.
  auto* action = dialog->findChild<QComboBox*>("HistoryAction");
  action->setCurrentIndex(action->findText(Q("Запись изменений")));
  QCOMPARE(HistoryCells(*dialog).size(), 1);
  QCOMPARE(dialog->findChild<QLabel*>("HistoryCount")->text(), Q("Событий: 1 из 6"));
  action->setCurrentIndex(0);
  dialog->findChild<QDateEdit*>("HistoryUntil")->setDate(QDate(2026, 12, 3));
  QVERIFY(dialog->findChild<QCheckBox*>("HistoryUntilOn")->isChecked());
  QCOMPARE(HistoryCells(*dialog), all.mid(1));
  dialog->findChild<QDateEdit*>("HistorySince")->setDate(QDate(2026, 12, 2));
  QCOMPARE(HistoryCells(*dialog), all.mid(1, 3));

  // The export holds what zrm48ctl history prints for the same selection,
  // byte for byte: the events of the 2nd and 3rd, openings included.
  const std::string exported = ws.PathOf("history.csv");
  QString proposed;
  dialog->SetCsvPathChooser([&](QWidget*, const QString& name) {
    proposed = name;
    return QString::fromStdString(exported);
  });
  dialog->findChild<QPushButton*>("HistoryExportButton")->click();
  QVERIFY2(QRegularExpression("^history-\\d{8}-\\d{4}\\.csv$").match(proposed).hasMatch(),
           qPrintable(proposed));
  QCOMPARE(dialog->findChild<QLabel*>("HistoryNote")->text(),
           Q("Файл сохранён: ") + QString::fromStdString(exported));
  QProcess ctl;
  ctl.start(ZRM48CTL_PROGRAM, {"--dir", QString::fromStdString(ws.Dir()), "history", "--csv",
                               "--since", "2026-12-02", "--until", "2026-12-03"});
  QVERIFY(ctl.waitForFinished(20000));
  QCOMPARE(ctl.exitCode(), 0);
  const QByteArray printed = ctl.readAllStandardOutput();
  QCOMPARE(printed.count('\n'), 6);  // the header and five events
  QCOMPARE(QByteArray::fromStdString(zrm::test::ReadBytes(exported)), printed);

  // A file that cannot be written is said once.
  const std::string unwritable = ws.PathOf("no-such-folder/history.csv");
  dialog->SetCsvPathChooser(
      [&](QWidget*, const QString&) { return QString::fromStdString(unwritable); });
  dialog->findChild<QPushButton*>("HistoryExportButton")->click();
  QCOMPARE(ws.dialogs.shown.size(), std::size_t{1});
  QVERIFY2(ws.dialogs.shown[0].text.starts_with("Невозможно записать файл " + unwritable + ": "),
           ws.dialogs.shown[0].text.c_str());
  QCOMPARE(ws.dialogs.shown[0].caption, std::string("Ошибка"));

  // A double click on an event without a backup compares nothing.
  auto* table = dialog->findChild<QTreeView*>("HistoryTable");
  emit table->doubleClicked(dialog->Model().index(0, 0));
  QCOMPARE(dialog->findChild<QLabel*>("HistoryNote")->text(),
           Q("У этого события нет резервной копии."));
  QVERIFY(!ws.Window().Busy());

  // The menu brings the open list forward; another instrument at hand gets
  // its own.
  ws.Window().findChild<QAction*>("HistoryItem")->trigger();
  QCOMPARE(ws.Window().findChildren<zrm::gui::HistoryDialog*>().size(), 1);
  g.serial_lo = 58;
  QCOMPARE(OpenHistory(ws)->windowTitle(), Q("История изменений прибора 047-12346"));
  QTRY_COMPARE(ws.Window().findChildren<zrm::gui::HistoryDialog*>().size(), 1);
  qputenv("TZ", zone);
  tzset();
}

void WindowTest::HistoryThatCannotBeReadIsSaidInTheDialog() {
  QuietWorkstation ws;
  ws.Start();
  // A real history cut short, as a full disk or a copy broken off leaves it.
  {
    std::vector<zrm::HistoryEvent> many;
    for (int i = 0; i < 100; ++i)
      many.push_back(Event(std::to_string(i), December(1, QTime(10, 0)), "read", "047-12345"));
    Store(ws.Dir(), many);
  }
  const std::string path = ws.PathOf("history.sqlite");
  const std::string whole = zrm::test::ReadBytes(path);
  const struct {
    std::string content;
    const char* why;
  } cases[] = {
      {std::string(4096, 'x'),
       "История изменений не открыта: PATH: файл не является базой истории"},
      {whole.substr(0, whole.size() / 2), "История изменений не открыта: PATH: файл повреждён"},
  };
  zrm::gui::HistoryDialog* dialog = nullptr;
  for (const auto& c : cases) {
    zrm::test::WriteBytes(path, c.content);
    if (dialog)
      dialog->findChild<QPushButton*>("HistoryRefreshButton")->click();
    else
      dialog = OpenHistory(ws);
    QCOMPARE(HistoryCells(*dialog), QStringList());
    QCOMPARE(dialog->findChild<QLabel*>("HistoryCount")->text(),
             Q(c.why).replace("PATH", QString::fromStdString(path)));
    QCOMPARE(zrm::test::ReadBytes(path), c.content);  // left exactly as it was
  }
  QVERIFY(ws.dialogs.shown.empty());
  // Nor is it exported: the export says why.
  dialog->SetCsvPathChooser(
      [&](QWidget*, const QString&) { return QString::fromStdString(ws.PathOf("history.csv")); });
  dialog->findChild<QPushButton*>("HistoryExportButton")->click();
  QCOMPARE(ws.dialogs.MessageTexts(),
           std::vector<std::string>{"История изменений не открыта: " + path + ": файл повреждён"});
  QVERIFY(!std::filesystem::exists(ws.PathOf("history.csv")));
}

QTEST_MAIN(WindowTest)
#include "window_test.moc"
