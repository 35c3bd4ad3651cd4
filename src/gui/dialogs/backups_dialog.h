#pragma once
// "Резервные копии…": the backups of the connected instrument in the
// working folder, newest first. "Восстановить" hands the chosen file to the
// window, which asks first, then opens it and writes it whole after the
// usual checks. Enter closes the dialog: a whole write never starts by a
// stray key. Not modal, like the comparison.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QListWidget;

namespace zrm::gui {

// When the backup at `path` was taken, "08.12.2026 05:29:00", read from the
// time stamp its name ends in; the file's time when the name has none.
QString BackupTimeText(const QString& path);

class BackupsDialog : public QDialog {
  Q_OBJECT

 public:
  // `paths` newest first; `restore` gets the chosen path and returns false
  // when the user declined, and the dialog then stays open.
  BackupsDialog(const QString& instrument, const std::vector<std::string>& paths,
                std::function<bool(const QString&)> restore, QWidget* parent);

 private:
  QListWidget* list_;
};

}  // namespace zrm::gui
