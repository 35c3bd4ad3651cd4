// zrm48scenes OUTDIR: the window in the current folder against an emulated
// instrument run in-process, walked through the scenes a technician meets,
// each saved as OUTDIR/<scene>.png: a field holding no number, the status
// bar after a read and after a write, the relay grid, and the enlarged
// window's current values while the instrument does not answer (dimmed
// values), after it answers again (a gap in the chart) and with the polling
// paused. Message boxes go to stderr.

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>

#include "app/session.h"
#include "gui/window/main_window.h"
#include "gui/window/qt_russian_texts.h"
#include "tools/scene_support.h"
#include "tools/stderr_dialogs.h"
#include "lib/simulator.h"

using zrm::gui::WaitForJob;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const zrm::gui::QtRussianTexts qt_russian(app);
  const QString out = zrm::gui::SceneOutputFolder(argc, argv, "zrm48scenes");
  if (out.isEmpty()) return 2;
  zrm::sim::SimulatorOptions options;
  options.line_timing = true;
  zrm::sim::Simulator sim(options);
  if (!zrm::gui::ServeOnPortOne(sim)) return 1;

  zrm::Session session(std::filesystem::current_path().string());
  zrm::gui::StderrDialogs dialogs(true);
  zrm::gui::MainWindow window(session, dialogs);
  window.show();
  zrm::gui::Settle(600);
  auto shot = [&](const char* name) { window.grab().save(out + "/" + name + ".png"); };
  auto* notebook = window.findChild<QTabWidget*>("TabbedNotebook1");

  auto* th1 = window.findChild<QLineEdit*>("Edit5");
  th1->setText("xyz");
  th1->setFocus();
  zrm::gui::Settle(200);
  shot("invalid-field");
  th1->setText("50");

  window.findChild<QPushButton*>("Button1")->click();
  WaitForJob(window);
  shot("status-after-read");
  window.findChild<QPushButton*>("Button3")->click();
  WaitForJob(window);
  shot("status-after-write");

  notebook->setCurrentIndex(1);
  zrm::gui::Settle(300);
  shot("relay-grid");

  window.resize(window.size() + QSize(360, 260));
  notebook->setCurrentIndex(zrm::kCurrentValuesPage);
  zrm::gui::Settle(12000);
  // Three polls (two attempts each) go unanswered, then it answers again.
  const std::size_t next = sim.RequestsReceived() + 1;
  for (std::size_t request = next; request < next + 6; ++request) {
    zrm::sim::Fault silence;
    silence.when.request_number = request;
    sim.AddFault(silence);
  }
  zrm::gui::Settle(3500);
  shot("outage-dimmed-enlarged");
  zrm::gui::Settle(14000);
  shot("chart-gap-enlarged");
  window.findChild<QPushButton*>("ReadingButton")->click();
  zrm::gui::Settle(1500);
  shot("poll-paused");
  notebook->setCurrentIndex(0);
  window.close();
  return 0;
}
