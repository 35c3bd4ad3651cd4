#pragma once
// The dialogs of the screenshot tools: message boxes and questions are
// written to stderr instead of shown, so nothing waits for a click; each
// question gets the tool's fixed answer. Plus a wait that keeps the event
// loop running.

#include <QEventLoop>
#include <QTimer>
#include <iostream>

#include "gui/dialogs/dialog_service.h"

namespace zrm::gui {

class StderrDialogs : public DialogService {
 public:
  explicit StderrDialogs(bool answer) : answer_(answer) {}
  void ShowMessage(QWidget*, const std::string& text, const std::string& caption,
                   MessageIcon) override {
    std::cerr << caption << ": " << text << '\n';
  }
  bool AskYesNo(QWidget*, const std::string& text, const std::string& caption,
                MessageIcon) override {
    std::cerr << caption << ": " << text << (answer_ ? " -> Yes\n" : " -> No\n");
    return answer_;
  }
  QString OpenProfileName(QWidget*) override { return {}; }
  QString SaveProfileName(QWidget*, const QString&) override { return {}; }
  QString PreviewReport(QWidget*, const zrm::ConfigurationPage&, const QString&) override {
    return QString();
  }
  void DismissOpen() override {}

 private:
  bool answer_;
};

// Lets the event loop run for `ms` milliseconds.
inline void Settle(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

}  // namespace zrm::gui
