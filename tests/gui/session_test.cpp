// The workstation session without a window: the order of the start-up, the
// reload of the last state, the shutdown, and the port change.

#include "app/session.h"

#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <filesystem>

#include "lib/simulator.h"
#include "platform/private_profile.h"
#include "support/child_program.h"
#include "support/recording_operator.h"

namespace {

// Records the window's start-up steps, and what the folder held at each.
struct RecordingView : zrm::StartUpView {
  explicit RecordingView(const zrm::Session& s) : session(s) {}
  void ShowEditor() override { steps.push_back("editor th1=" + session.form.channel[0].th1); }
  void ShowStartCaption() override {
    namespace fs = std::filesystem;
    steps.push_back(std::string("caption") +
                    (fs::exists(session.RecentProfilePath()) ? " recent" : "") +
                    (fs::exists(session.Dir() + "/ZRM4816.prf") ? " defaults" : ""));
  }
  void ShowFirstPage() override { steps.push_back("first page"); }
  const zrm::Session& session;
  std::vector<std::string> steps;
};

std::string Key(const std::string& path, const char* section, const char* key) {
  return zrm::PrivateProfile::Load(path).GetString(section, key, "<missing>");
}

void SetKey(const std::string& path, const char* section, const char* key, const char* value) {
  auto profile = zrm::PrivateProfile::Load(path);
  profile.SetString(section, key, value);
  std::string error;
  QVERIFY(profile.Save(error));
}

}  // namespace

class SessionTest : public QObject {
  Q_OBJECT

 private slots:
  void StartUpRunsItsStepsInOrder();
  void StartUpSetsTodayAsManufacturingDate();
  void ReloadLastStateMarksAllFourGroupAreas();
  void ShutDownStoresPortAndCollectedEditor();
  void ChangePortCollectsFirstAndReopens();
  void StartUpTellsAHistoryDatabaseThatDoesNotParse();
  void AHistoryDatabaseOutOfReachIsToldInABoxOnce();
};

void SessionTest::StartUpRunsItsStepsInOrder() {
  QTemporaryDir dir;
  zrm::Session session(dir.path().toStdString());
  RecordingView view(session);
  zrm::test::RecordingOperator op;
  session.StartUp(op, view);
  const std::vector<std::string> expected = {"editor th1= 50.0000", "caption recent defaults",
                                             "first page", "editor th1= 50.0000"};
  QCOMPARE(view.steps, expected);
  QCOMPARE(session.PortNumber(), 1);
  QCOMPARE(session.form.port_label, std::string("1"));
  QCOMPARE(session.form.description.size(), std::size_t{4});
}

void SessionTest::StartUpSetsTodayAsManufacturingDate() {
  QTemporaryDir dir;
  zrm::Session session(dir.path().toStdString());
  RecordingView view(session);
  zrm::test::RecordingOperator op;
  session.StartUp(op, view);
  const std::time_t now = std::time(nullptr);
  std::tm today{};
  localtime_r(&now, &today);
  QCOMPARE(session.settings.general.date_day, today.tm_mday);
  QCOMPARE(session.settings.general.date_month, today.tm_mon + 1);
  QCOMPARE(session.settings.general.date_year, today.tm_year + 1900);
}

void SessionTest::ReloadLastStateMarksAllFourGroupAreas() {
  QTemporaryDir dir;
  zrm::Session session(dir.path().toStdString());
  RecordingView view(session);
  zrm::test::RecordingOperator op;
  session.StartUp(op, view);
  const std::string recent = session.RecentProfilePath();
  SetKey(recent, "RELE", "select", "0");
  SetKey(recent, "CH2", "select", "0");
  session.ReloadLastState(op);
  QVERIFY(session.form.channel1_area_white);
  QVERIFY(!session.form.channel2_area_white);
  QVERIFY(!session.form.relay_area_white);
  QVERIFY(session.form.general_area_white);
  SetKey(recent, "RELE", "select", "1");
  session.ReloadLastState(op);
  QVERIFY(session.form.relay_area_white);
}

void SessionTest::ShutDownStoresPortAndCollectedEditor() {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  SetKey(folder + "/dev.dat", "COM_SETTINGS", "Number", "4");
  SetKey(folder + "/dev.dat", "PORTS", "COM4", (folder + "/absent").c_str());
  zrm::Session session(folder);
  RecordingView view(session);
  zrm::test::RecordingOperator op;
  session.StartUp(op, view);
  session.form.channel[1].his1 = "0.125";
  session.form.description = {"first", "second", "third", "fourth", "fifth"};
  session.ShutDown(op);
  QCOMPARE(Key(folder + "/dev.dat", "COM_SETTINGS", "Number"), std::string("4"));
  QCOMPARE(Key(session.RecentProfilePath(), "CH2", "his1"), std::string("0.1250"));
  QCOMPARE(Key(session.RecentProfilePath(), "Definition", "txt3"), std::string("fourth"));
}

void SessionTest::ChangePortCollectsFirstAndReopens() {
  zrm::sim::Simulator sim;
  QVERIFY(sim.Start());
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  SetKey(folder + "/dev.dat", "PORTS", "COM1", (folder + "/absent").c_str());
  SetKey(folder + "/dev.dat", "PORTS", "COM2", sim.SlavePath().c_str());
  zrm::Session session(folder);
  RecordingView view(session);
  zrm::test::RecordingOperator op;
  session.StartUp(op, view);
  QCOMPARE(op.Messages().size(), std::size_t{1});  // port 1 cannot be opened

  zrm::EditorForm form = session.form;
  zrm::DeviceSettings settings = session.settings;
  form.channel[0].th2 = "70";
  session.ChangePort(1, form, settings, op);
  QCOMPARE(session.PortNumber(), 2);
  QCOMPARE(form.port_label, std::string("2"));
  QCOMPARE(form.port, 1);
  QCOMPARE(form.channel[0].th2, std::string(" 70.0000"));
  QCOMPARE(settings.channel[0].th2, 70.0f);

  QCOMPARE(session.Read(form, settings, op), zrm::ExchangeResult{0});
  QVERIFY(sim.RequestsReceived() > 0u);
  QCOMPARE(op.Messages().size(), std::size_t{1});
}

void SessionTest::StartUpTellsAHistoryDatabaseThatDoesNotParse() {
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  SetKey(folder + "/zrm48setup.ini", "HISTORY", "Database", "postgresql://db:0/plant");
  zrm::Session session(folder);
  RecordingView view(session);
  zrm::test::RecordingOperator op;
  session.StartUp(op, view);
  const std::vector<std::string> told = {
      "message|История изменений|История изменений не открыта: " + folder +
      "/zrm48setup.ini, строка 2: адрес базы истории не разбирается: порт не число 1..65535: "
      "0|warning"};
  QCOMPARE(op.Messages(), told);
}

void SessionTest::AHistoryDatabaseOutOfReachIsToldInABoxOnce() {
  zrm::sim::Simulator sim;
  QVERIFY(sim.Start());
  QTemporaryDir dir;
  const std::string folder = dir.path().toStdString();
  SetKey(folder + "/dev.dat", "PORTS", "COM1", sim.SlavePath().c_str());
  const std::string gone =
      "postgresql://owner@127.0.0.1:" + std::to_string(zrm::test::FreePort()) + "/plant";
  SetKey(folder + "/zrm48setup.ini", "HISTORY", "Database", gone.c_str());
  zrm::Session session(folder);
  RecordingView view(session);
  zrm::test::RecordingOperator op;
  session.StartUp(op, view);
  zrm::EditorForm form = session.form;
  zrm::DeviceSettings settings = session.settings;
  for (int i = 0; i < 2; ++i) QCOMPARE(session.Read(form, settings, op), zrm::ExchangeResult{0});
  const std::vector<std::string> messages = op.Messages();
  QCOMPARE(messages.size(), std::size_t{1});
  const std::string expected = "message|История изменений|База истории недоступна: " + gone + ": ";
  QCOMPARE(messages[0].substr(0, expected.size()), expected);
  QVERIFY(messages[0].ends_with("; события ждут отправки в " + folder + "/history.sqlite|warning"));
}

QTEST_MAIN(SessionTest)
#include "session_test.moc"
