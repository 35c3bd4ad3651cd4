// zrm48comparison_scenes OUTDIR: the window in the current folder against an
// emulated instrument run in-process: the instrument is read, two fields
// are edited, and the scenes of the menu "Прибор" are saved as
// OUTDIR/<scene>.png: the comparison with its differences, and the
// question that confirms "Записать изменения" (answered Yes; the other
// questions of the checks are answered Yes unseen), and the history of
// changes those commands left (two writes and one the instrument did not
// answer), with the comparison of the instrument with the backup the first
// write took.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <iostream>

#include "app/session.h"
#include "gui/dialogs/comparison_dialog.h"
#include "gui/dialogs/history_dialog.h"
#include "gui/window/main_window.h"
#include "gui/dialogs/qt_dialogs.h"
#include "gui/window/qt_russian_texts.h"
#include "tools/scene_support.h"
#include "tools/stderr_dialogs.h"
#include "lib/simulator.h"

using zrm::gui::WaitForJob;

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const zrm::gui::QtRussianTexts qt_russian(app);
  const QString out = zrm::gui::SceneOutputFolder(argc, argv, "zrm48comparison_scenes");
  if (out.isEmpty()) return 2;
  zrm::sim::Simulator sim;
  if (!zrm::gui::ServeOnPortOne(sim)) return 1;
  zrm::Session session(std::filesystem::current_path().string());
  zrm::gui::QtDialogs dialogs;
  zrm::gui::MainWindow window(session, dialogs);
  window.show();
  zrm::gui::Settle(600);

  // Every question is answered Yes; the confirmation of the changes is
  // saved first.
  QTimer answer;
  QObject::connect(&answer, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) return;
    if (box->text().contains(QString::fromUtf8("изменения")))
      box->grab().save(out + "/confirm-changes.png");
    for (QAbstractButton* button : box->buttons())
      if (box->buttonRole(button) == QMessageBox::YesRole || box->buttons().size() == 1)
        button->click();
  });
  answer.start(300);

  window.findChild<QPushButton*>("Button1")->click();
  WaitForJob(window);
  window.findChild<QLineEdit*>("Edit5")->setText("55.5");
  window.findChild<QComboBox*>("ComboBox10")->setCurrentIndex(4);

  window.findChild<QAction*>("CompareItem")->trigger();
  WaitForJob(window);
  auto* comparison = window.findChild<zrm::gui::ComparisonDialog*>("ComparisonDialog");
  if (!comparison) {
    std::cerr << "no comparison shown\n";
    return 1;
  }
  comparison->grab().save(out + "/comparison.png");
  comparison->close();

  window.findChild<QAction*>("WriteChangesItem")->trigger();
  WaitForJob(window);
  window.grab().save(out + "/changes-written.png");

  // The set point once more, then once again while the instrument stops
  // answering, and the history those commands left.
  window.findChild<QLineEdit*>("Edit5")->setText("60");
  window.findChild<QAction*>("WriteChangesItem")->trigger();
  WaitForJob(window);
  window.findChild<QLineEdit*>("Edit5")->setText("65");
  const std::size_t next = sim.RequestsReceived() + 66;  // past the read, into the write
  for (std::size_t request = next; request < next + 8; ++request) {
    zrm::sim::Fault silence;
    silence.when.request_number = request;
    sim.AddFault(silence);
  }
  window.findChild<QAction*>("WriteChangesItem")->trigger();
  WaitForJob(window);
  sim.ClearFaults();  // it answers again
  window.findChild<QAction*>("HistoryItem")->trigger();
  auto* history = window.findChild<zrm::gui::HistoryDialog*>("HistoryDialog");
  while (history && history->Loading()) zrm::gui::Settle(50);
  zrm::gui::Settle(300);
  if (!history || history->Model().rowCount() == 0) {
    std::cerr << "no history shown\n";
    return 1;
  }
  history->grab().save(out + "/history.png");
  // The first write's backup: the instrument as it was before it.
  auto* table = history->findChild<QAbstractItemView*>("HistoryTable");
  const int first_write = history->Model().rowCount() - 3;
  const QModelIndex row = history->Model().index(first_write, 0);
  table->scrollTo(row);
  emit table->doubleClicked(row);
  WaitForJob(window);
  for (auto* shown : window.findChildren<zrm::gui::ComparisonDialog*>("ComparisonDialog"))
    if (shown->windowTitle().contains(QString::fromUtf8("резервной")))
      shown->grab().save(out + "/backup-comparison.png");
  window.close();
  return 0;
}
