// The menu "Правка" without a window: when its items may be used, what an
// undo brings back (never the port the link uses) and what the status bar is
// told.

#include "gui/window/undo_menu.h"

#include <QMenuBar>
#include <QSignalSpy>
#include <QTest>

namespace {

// The editor's controls: one field, which the test types into.
struct FieldsView : zrm::gui::EditorView {
  explicit FieldsView(zrm::EditorForm& f) : form(f) {}
  void CollectEditor() override { form.channel[0].th1 = typed; }
  void ShowEditor() override { typed = form.channel[0].th1; }
  zrm::EditorForm& form;
  std::string typed;
};

}  // namespace

class UndoMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void ItemsFollowTheStepsAndTheCommandsLock();
  void UndoTakesTheEditUnderWayBackButNotThePort();
};

void UndoMenuTest::ItemsFollowTheStepsAndTheCommandsLock() {
  QMenuBar bar;
  zrm::EditorForm form;
  zrm::DeviceSettings settings;
  FieldsView view(form);
  zrm::gui::UndoMenu menu(bar, form, settings, view, nullptr);
  auto* undo = bar.findChild<QAction*>("UndoItem");
  auto* redo = bar.findChild<QAction*>("RedoItem");
  const auto items = [&] { return QList<bool>{undo->isEnabled(), redo->isEnabled()}; };

  QCOMPARE(items(), QList<bool>({false, false}));
  menu.Record(menu.Current(), "nothing changed");
  QCOMPARE(items(), QList<bool>({false, false}));  // no step without a change
  const zrm::EditorState before = menu.Current();
  form.channel[0].th1 = "5";
  menu.Record(before, "read");
  QCOMPARE(items(), QList<bool>({true, false}));
  menu.SetCommandsEnabled(false);
  QCOMPARE(items(), QList<bool>({false, false}));
  form.channel[0].th1 = "6";
  menu.Record(before, "read");  // a step left while locked stays locked
  QCOMPARE(items(), QList<bool>({false, false}));
  menu.SetCommandsEnabled(true);
  undo->trigger();
  QCOMPARE(items(), QList<bool>({true, true}));
}

void UndoMenuTest::UndoTakesTheEditUnderWayBackButNotThePort() {
  QMenuBar bar;
  zrm::EditorForm form;
  zrm::DeviceSettings settings;
  FieldsView view(form);
  zrm::gui::UndoMenu menu(bar, form, settings, view, nullptr);
  QSignalSpy outcomes(&menu, &zrm::gui::UndoMenu::Outcome);
  auto* undo = bar.findChild<QAction*>("UndoItem");
  form.port = 0;
  form.port_label = "1";
  view.typed = "7";
  menu.TakeEditStep();
  // The port changes (no step); then an edit is under way when Отменить is
  // chosen: that edit is the first step taken back.
  form.port = 2;
  form.port_label = "3";
  view.typed = "8";
  undo->trigger();
  QCOMPARE(view.typed, std::string("7"));
  // The step before the port change: the field goes back, the port stays.
  undo->trigger();
  QCOMPARE(view.typed, std::string());
  QCOMPARE(form.port, 2);
  QCOMPARE(form.port_label, std::string("3"));
  QCOMPARE(outcomes.size(), 2);
  QVERIFY(outcomes[1][0].toString().startsWith(QString::fromUtf8("Отменено: изменение поля")));
  bar.findChild<QAction*>("RedoItem")->trigger();
  QCOMPARE(view.typed, std::string("7"));
  QVERIFY(outcomes[2][0].toString().startsWith(QString::fromUtf8("Повторено: ")));
}

QTEST_MAIN(UndoMenuTest)
#include "undo_menu_test.moc"
