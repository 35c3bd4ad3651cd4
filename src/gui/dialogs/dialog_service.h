#pragma once
// The modal dialogs the window opens: message boxes, Yes/No questions and
// the profile file dialogs, the report's print preview. The program uses
// Qt's dialogs; tests script the
// answers so that no real modal box ever blocks them.

#include <QString>
#include <string>

#include "platform/operator.h"
#include "report/configuration_page.h"

class QWidget;

namespace zrm::gui {

class DialogService {
 public:
  virtual ~DialogService() = default;

  virtual void ShowMessage(QWidget* parent, const std::string& text, const std::string& caption,
                           MessageIcon icon) = 0;
  // True for Yes.
  virtual bool AskYesNo(QWidget* parent, const std::string& text, const std::string& caption,
                        MessageIcon icon) = 0;
  // The same with "Нет" as the default button, for a question whose Yes
  // cannot be taken back: Enter answers No. Dialogs that press no keys may
  // take it as any question.
  virtual bool AskYesNoDefaultNo(QWidget* parent, const std::string& text,
                                 const std::string& caption, MessageIcon icon) {
    return AskYesNo(parent, text, caption, icon);
  }
  // The chosen file's full name; empty when the user cancelled. Saving
  // offers the name `proposed` in the working folder.
  virtual QString OpenProfileName(QWidget* parent) = 0;
  virtual QString SaveProfileName(QWidget* parent, const QString& proposed) = 0;
  // The print preview of the configuration page, offering
  // `proposed_pdf_name` for a PDF; returns when it is closed, with the PDF's
  // path when the page was saved as one (else empty). A preview that cannot
  // be opened is passed over without a message.
  virtual QString PreviewReport(QWidget* parent, const zrm::ConfigurationPage& page,
                                const QString& proposed_pdf_name) = 0;
  // Closes the box or question that is open (a question answered No), so a
  // closing window is not held up by a dialog nobody will answer.
  virtual void DismissOpen() = 0;
};

}  // namespace zrm::gui
