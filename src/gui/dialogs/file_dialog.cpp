#include "gui/dialogs/file_dialog.h"

#include <QDir>

#include "gui/dialogs/russian_file_list.h"
#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

void SetUpFileDialog(QFileDialog& dialog, const FileQuestion& question) {
  dialog.setObjectName(question.object_name);
  // The desktop's own dialog would show the desktop's language and ignore
  // the Russian list.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setProxyModel(new RussianFileList(&dialog));
  if (!question.title.isEmpty()) dialog.setWindowTitle(question.title);
  dialog.setAcceptMode(question.mode);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilters(question.filters);
  dialog.setDefaultSuffix(question.default_suffix);
  dialog.setDirectory(QDir::current());
  if (!question.proposed.isEmpty()) dialog.selectFile(question.proposed);
}

QString AskFileName(QWidget* parent, const FileQuestion& question) {
  QFileDialog dialog(parent);
  SetUpFileDialog(dialog, question);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

QString AskCsvSaveName(QWidget* parent, const char* object_name, const QString& title,
                       const QString& proposed) {
  FileQuestion question;
  question.object_name = object_name;
  question.title = title;
  question.mode = QFileDialog::AcceptSave;
  question.filters = {ToQ(text::kCsvFilter)};
  question.default_suffix = "csv";
  question.proposed = proposed;
  return AskFileName(parent, question);
}

}  // namespace zrm::gui
