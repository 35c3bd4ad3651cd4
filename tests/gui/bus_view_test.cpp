// The window "Приборы на линии": its rows made from snapshots (values,
// lamps, grey offline rows, the time since the last answer, a vanished
// line), the measurement log of each instrument.

#include <QTemporaryDir>
#include <QTest>
#include <bit>
#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

#include "gui/bus_view_log.h"
#include "gui/bus_view_model.h"

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

}  // namespace

class BusViewTest : public QObject {
  Q_OBJECT

 private slots:
  void RowsShowWhatTheInstrumentsSent();
  void ValuesAreShownAsThePageShowsThem();
  void OfflineRowsGreyWithTheirLastValuesAndReturn();
  void AVanishedLineTakesEveryRowOfflineAtOnce();
  void TimeSinceTheLastAnswer();
  void EachInstrumentHasAMeasurementLogOfItsOwn();
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

QTEST_MAIN(BusViewTest)
#include "bus_view_test.moc"
