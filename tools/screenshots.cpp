// zrm48shots OUTDIR [--read]: starts the window in the current folder as the
// program does, optionally reads the instrument first (Button1, saving the
// progress panel as OUTDIR/progress.png on the way), then saves each notebook
// page as OUTDIR/page<N>.png and exits. A box about an unfinished write that
// the read found is saved as OUTDIR/unfinished.png. Message boxes are
// written to stderr instead of being shown, so nothing waits for a click.

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <filesystem>
#include <iostream>

#include "app/session.h"
#include "gui/window/main_window.h"
#include "gui/window/qt_russian_texts.h"
#include "tools/stderr_dialogs.h"

namespace {

constexpr int kTrendHistoryMs = 40000;

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const zrm::gui::QtRussianTexts qt_russian(app);
  if (argc < 2) {
    std::cerr << "usage: zrm48shots OUTDIR [--read]\n";
    return 2;
  }
  const QString out_dir = QString::fromLocal8Bit(argv[1]);
  const bool read_first = argc > 2 && std::string(argv[2]) == "--read";
  QDir().mkpath(out_dir);

  zrm::Session session(std::filesystem::current_path().string());
  zrm::gui::StderrDialogs dialogs(false);
  zrm::gui::MainWindow window(session, dialogs);
  window.show();
  zrm::gui::Settle(400);  // past the reload of the last state
  if (read_first) {
    // The progress panel is grabbed once while the read runs.
    window.findChild<QPushButton*>("Button1")->click();
    const QWidget* progress = window.findChild<QWidget*>("Panel76");
    bool progress_saved = false;
    while (window.Busy()) {
      zrm::gui::Settle(50);
      if (!progress_saved && progress->isVisible())
        progress_saved = window.grab().save(out_dir + "/progress.png");
    }
  }
  // An unfinished write of this instrument found by the read: its box.
  zrm::gui::Settle(300);
  for (QWidget* top : QApplication::topLevelWidgets())
    if (top->objectName() == "UnfinishedWriteBox" && top->isVisible()) {
      top->grab().save(out_dir + "/unfinished.png");
      window.grab().save(out_dir + "/unfinished-window.png");
    }
  auto* notebook = window.findChild<QTabWidget*>("TabbedNotebook1");
  for (int page = 0; page < notebook->count(); ++page) {
    notebook->setCurrentIndex(page);
    // The current values page polls while shown; its chart needs a while of
    // history to show the channels' swing.
    zrm::gui::Settle(page == zrm::kCurrentValuesPage ? kTrendHistoryMs : 150);
    const QString file = out_dir + QString("/page%1.png").arg(page);
    if (!window.grab().save(file)) {
      std::cerr << "cannot write " << file.toStdString() << '\n';
      return 1;
    }
  }
  notebook->setCurrentIndex(0);
  window.close();
  return 0;
}
