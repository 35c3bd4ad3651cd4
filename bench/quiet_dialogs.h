#pragma once
// The window's dialogs for a benchmark: nothing modal ever opens (a box
// would hold the run until someone clicks), messages are only counted, and
// every question is answered No.

#include <QString>

#include "gui/dialogs/dialog_service.h"

namespace zrm::bench {

class QuietDialogs : public gui::DialogService {
 public:
  void ShowMessage(QWidget*, const std::string&, const std::string&, MessageIcon) override {
    ++messages_;
  }
  bool AskYesNo(QWidget*, const std::string&, const std::string&, MessageIcon) override {
    return false;
  }
  QString OpenProfileName(QWidget*) override { return {}; }
  QString SaveProfileName(QWidget*, const QString&) override { return {}; }
  QString PreviewReport(QWidget*, const ConfigurationPage&, const QString&) override {
    return {};
  }
  void DismissOpen() override {}

  // Message boxes the window would have shown so far.
  int Messages() const { return messages_; }

 private:
  int messages_ = 0;
};

}  // namespace zrm::bench
