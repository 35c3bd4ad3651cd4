#pragma once
// The application object of the window: an exception that escapes an event
// handler is shown in an error box and the program goes on, instead of
// ending without a word (Qt does not let exceptions through its event loop).
// The window stays, and closing it still saves recent.prf.

#include <QApplication>
#include <functional>
#include <string>

namespace zrm::gui {

// Runs `deliver`; an exception it throws goes to `report` with its text
// (empty when it carries none) and the result is false.
bool DeliverGuarded(const std::function<bool()>& deliver,
                    const std::function<void(const std::string& what)>& report);

class GuardedApplication : public QApplication {
 public:
  GuardedApplication(int& argc, char** argv) : QApplication(argc, argv) {}
  bool notify(QObject* receiver, QEvent* event) override;

 private:
  // Shows the box on the window's thread, one at a time.
  void ShowEscaped(const std::string& what);
  bool showing_ = false;
};

}  // namespace zrm::gui
