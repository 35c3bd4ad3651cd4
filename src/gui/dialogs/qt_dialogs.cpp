#include "gui/dialogs/qt_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>

#include "gui/dialogs/file_dialog.h"
#include "gui/texts/qt_text.h"
#include "gui/dialogs/report_preview.h"
#include "gui/dialogs/whole_title.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

namespace {

constexpr const char* kProfileSuffix = "prf";

QMessageBox::Icon BoxIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError: return QMessageBox::Critical;
    case MessageIcon::kWarning: return QMessageBox::Warning;
    case MessageIcon::kInformation: return QMessageBox::Information;
    case MessageIcon::kQuestion: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

// The profile dialog "Открыть" (AcceptOpen) or "Сохранить" (AcceptSave),
// offering `proposed`.
FileQuestion ProfileQuestion(QFileDialog::AcceptMode mode, const QString& proposed = {}) {
  FileQuestion question;
  question.object_name = mode == QFileDialog::AcceptSave ? "SaveDialog1" : "OpenDialog1";
  question.mode = mode;
  question.filters = {ToQ(text::kProfileFilter), ToQ(text::kAllFilesFilter)};
  // A name saved without an extension gets ".prf", so the overwrite question
  // names the file really written. Opening takes the name exactly as chosen:
  // an existing "backup" must not turn into a "backup.prf" that is not there.
  if (mode == QFileDialog::AcceptSave) question.default_suffix = kProfileSuffix;
  question.proposed = proposed;
  return question;
}

// A long caption shows whole in the box's title bar. QMessageBox sizes
// itself from its layout, so the width goes in as a spacer.
void FitCaption(QMessageBox& box) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid) return;
  grid->addItem(
      new QSpacerItem(WholeTitleWidth(box), 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
      grid->rowCount(), 0, 1, grid->columnCount());
}

// A Yes/No question whose Enter answers `default_button`; ESC answers No.
bool Ask(QWidget* parent, const std::string& text, const std::string& caption, MessageIcon icon,
         QMessageBox::StandardButton default_button) {
  QMessageBox box(BoxIcon(icon), ToQ(caption), ToQ(text), QMessageBox::Yes | QMessageBox::No,
                  parent);
  box.setDefaultButton(default_button);
  box.setEscapeButton(QMessageBox::No);
  FitCaption(box);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace

void SetUpProfileDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode) {
  SetUpFileDialog(dialog, ProfileQuestion(mode));
}

void QtDialogs::ShowMessage(QWidget* parent, const std::string& text, const std::string& caption,
                            MessageIcon icon) {
  QMessageBox box(BoxIcon(icon), ToQ(caption), ToQ(text), QMessageBox::Ok, parent);
  FitCaption(box);
  box.exec();
}

bool QtDialogs::AskYesNo(QWidget* parent, const std::string& text, const std::string& caption,
                         MessageIcon icon) {
  return Ask(parent, text, caption, icon, QMessageBox::Yes);
}

bool QtDialogs::AskYesNoDefaultNo(QWidget* parent, const std::string& text,
                                  const std::string& caption, MessageIcon icon) {
  return Ask(parent, text, caption, icon, QMessageBox::No);
}

QString QtDialogs::OpenProfileName(QWidget* parent) {
  // Any name is accepted: opening a profile that does not exist creates it.
  return AskFileName(parent, ProfileQuestion(QFileDialog::AcceptOpen));
}

QString QtDialogs::SaveProfileName(QWidget* parent, const QString& proposed) {
  return AskFileName(parent, ProfileQuestion(QFileDialog::AcceptSave, proposed));
}

QString QtDialogs::PreviewReport(QWidget* parent, const zrm::ConfigurationPage& page,
                                 const QString& proposed_pdf_name) {
  ReportPreview preview(page, *this, AskPdfFileName, proposed_pdf_name, parent);
  preview.Exec();
  return preview.SavedPdf();
}

void QtDialogs::DismissOpen() {
  if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
}

}  // namespace zrm::gui
