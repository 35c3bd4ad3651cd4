#pragma once
// Every file dialog of the window goes through here: the profile's open
// and save, the trend's and the history's CSV and the report's PDF. Each is Qt's own dialog
// (not the desktop's), so its list speaks Russian whatever the desktop's
// language, opens in the working folder and proposes a name there.

#include <QFileDialog>
#include <QString>
#include <QStringList>

namespace zrm::gui {

struct FileQuestion {
  const char* object_name = "";
  QString title;  // empty: Qt's own for the mode
  QFileDialog::AcceptMode mode = QFileDialog::AcceptOpen;
  QStringList filters;
  QString default_suffix;  // added to a bare name when saving; empty: none
  QString proposed;        // the name offered in the working folder; may be empty
};

// Sets `dialog` up for `question`: Qt's own dialog with the Russian file
// list, any file name, the filters, the suffix, the working folder (the
// process's current folder) and the proposed name.
void SetUpFileDialog(QFileDialog& dialog, const FileQuestion& question);

// Asks `question` over `parent`; the chosen file's full name, empty when
// the user cancelled.
QString AskFileName(QWidget* parent, const FileQuestion& question);

// Asks, under `title`, for a CSV file to save, offering `proposed` in the
// working folder; the dialog's object name is `object_name`. The chosen
// file's full name, empty when the user cancelled.
QString AskCsvSaveName(QWidget* parent, const char* object_name, const QString& title,
                       const QString& proposed);

}  // namespace zrm::gui
