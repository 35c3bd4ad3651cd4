#pragma once
// "Резервные копии…": the backups of the connected instrument in the
// working folder, newest first. "Восстановить" hands the chosen file to the
// window, which opens it and writes it whole after the usual checks. Not
// modal, like the comparison.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

class QListWidget;

namespace zrm::gui {

class BackupsDialog : public QDialog {
  Q_OBJECT

 public:
  // `paths` newest first; `restore` gets the chosen path.
  BackupsDialog(const QString& instrument, const std::vector<std::string>& paths,
                std::function<void(const QString&)> restore, QWidget* parent);

 private:
  QListWidget* list_;
};

}  // namespace zrm::gui
