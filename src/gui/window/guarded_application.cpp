#include "gui/window/guarded_application.h"

#include <QMessageBox>
#include <QThread>
#include <exception>

#include "gui/texts/qt_text.h"
#include "gui/texts/window_texts.h"

namespace zrm::gui {

bool DeliverGuarded(const std::function<bool()>& deliver,
                    const std::function<void(const std::string& what)>& report) {
  try {
    return deliver();
  } catch (const std::exception& e) {
    report(e.what());
  } catch (...) {
    report({});
  }
  return false;
}

bool GuardedApplication::notify(QObject* receiver, QEvent* event) {
  return DeliverGuarded([&] { return QApplication::notify(receiver, event); },
                        [this](const std::string& what) { ShowEscaped(what); });
}

void GuardedApplication::ShowEscaped(const std::string& what) {
  if (QThread::currentThread() != thread()) {
    QMetaObject::invokeMethod(this, [this, what] { ShowEscaped(what); }, Qt::QueuedConnection);
    return;
  }
  if (showing_) return;  // a box is open already: one is enough
  showing_ = true;
  QString text = ToQ(text::kUnexpectedError);
  if (!what.empty()) text += "\n" + QString::fromLocal8Bit(what.c_str());
  QMessageBox::critical(activeWindow(), ToQ(text::kErrorCaption), text);
  showing_ = false;
}

}  // namespace zrm::gui
