// zrm48comparison_scenes OUTDIR: the window in the current folder against an
// emulated instrument run in-process: the instrument is read, two fields
// are edited, and the scenes of the menu "Прибор" are saved as
// OUTDIR/<scene>.png: the comparison with its differences, and the
// question that confirms "Записать изменения" (answered Yes; the other
// questions of the checks are answered Yes unseen).

#include <QAbstractButton>
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
  window.close();
  return 0;
}
