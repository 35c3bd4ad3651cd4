#pragma once
// Dialogs for window tests: every box and question is recorded instead of
// shown, questions are answered from a script, and the file dialogs return
// names queued by the test; the print preview records its page. No modal
// box ever blocks a test.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "gui/dialogs/dialog_service.h"

namespace zrm::test {

class ScriptedDialogs : public gui::DialogService {
 public:
  struct Shown {
    std::string text;
    std::string caption;
    MessageIcon icon;
    bool question;
    bool over_shown_window;  // the window it opened over was on the screen
    bool no_by_default;      // a question whose Enter answers No
  };

  void ShowMessage(QWidget* parent, const std::string& text, const std::string& caption,
                   MessageIcon icon) override;
  bool AskYesNo(QWidget* parent, const std::string& text, const std::string& caption,
                MessageIcon icon) override;
  bool AskYesNoDefaultNo(QWidget* parent, const std::string& text, const std::string& caption,
                         MessageIcon icon) override;
  QString OpenProfileName(QWidget* parent) override;
  QString SaveProfileName(QWidget* parent, const QString& proposed) override;
  QString PreviewReport(QWidget*, const ConfigurationPage& page,
                        const QString& proposed_pdf_name) override {
    previews.push_back(page);
    proposed_pdf_names.push_back(proposed_pdf_name);
    return saved_pdf;
  }
  void DismissOpen() override {}

  // Texts of the message boxes (not questions), in order.
  std::vector<std::string> MessageTexts() const;
  // How many message boxes showed exactly `text`.
  int CountOf(const std::string& text) const;

  std::vector<Shown> shown;
  // Runs while each message box is "open", before it is closed.
  std::function<void(const Shown&)> while_open;
  std::deque<bool> answers;  // answers in order; when empty, default_answer
  bool default_answer = false;
  std::deque<QString> open_names;  // empty string: the user cancels
  std::deque<QString> save_names;
  std::vector<QString> proposed_save_names;  // the name each save dialog offered
  std::vector<ConfigurationPage> previews;   // pages the print preview was opened with
  std::vector<QString> proposed_pdf_names;   // the PDF name each preview offered
  QString saved_pdf;                         // what each preview says it saved

 private:
  bool NextAnswer();
};

}  // namespace zrm::test
