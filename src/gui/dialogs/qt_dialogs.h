#pragma once
// The dialogs of the program: QMessageBox and QFileDialog.

#include <QFileDialog>

#include "gui/dialogs/dialog_service.h"

namespace zrm::gui {

// Everything of the file dialogs, the filters and (for saving only) the
// default ".prf" suffix of the profile dialogs "Открыть" (AcceptOpen) and
// "Сохранить" (AcceptSave).
void SetUpProfileDialog(QFileDialog& dialog, QFileDialog::AcceptMode mode);

class QtDialogs : public DialogService {
 public:
  void ShowMessage(QWidget* parent, const std::string& text, const std::string& caption,
                   MessageIcon icon) override;
  bool AskYesNo(QWidget* parent, const std::string& text, const std::string& caption,
                MessageIcon icon) override;
  bool AskYesNoDefaultNo(QWidget* parent, const std::string& text, const std::string& caption,
                         MessageIcon icon) override;
  QString OpenProfileName(QWidget* parent) override;
  QString SaveProfileName(QWidget* parent, const QString& proposed) override;
  QString PreviewReport(QWidget* parent, const zrm::ConfigurationPage& page,
                        const QString& proposed_pdf_name) override;
  void DismissOpen() override;
};

}  // namespace zrm::gui
