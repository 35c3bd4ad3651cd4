#pragma once
// A workstation for window tests: a fresh working folder, dev.dat entries
// mapping port numbers to devices (the simulator, a silent line, nothing),
// and the window started there with scripted dialogs.

#include <QTemporaryDir>
#include <QWidget>
#include <memory>
#include <string>

#include "app/session.h"
#include "gui/window/main_window.h"
#include "support/scripted_dialogs.h"

namespace zrm::test {

class Workstation {
 public:
  Workstation();
  ~Workstation();

  const std::string& Dir() const { return dir_; }
  std::string PathOf(const std::string& name) const { return dir_ + "/" + name; }

  // Before Start: port `number` (1..4) opens `device`.
  void MapPort(int number, const std::string& device);

  // A key of a profile-format file in the folder (dev.dat, *.prf).
  void SetKey(const std::string& file, const std::string& section, const std::string& key,
              const std::string& value);
  std::string Key(const std::string& file, const std::string& section,
                  const std::string& key) const;

  // Starts the window in the folder (runs its start-up), shows it and lets
  // the start-up's boxes open over it.
  gui::MainWindow& Start();
  // Closes the window as the user does and waits until it has shut down.
  void Close();

  gui::MainWindow& Window() { return *window_; }
  Session& TheSession() { return *session_; }

  template <typename T>
  T* Find(const char* name) {
    T* found = window_->findChild<T*>(name);
    if (!found) qFatal("no widget %s", name);
    return found;
  }

  // What the status bar says the last command or file operation did.
  QString Outcome();
  // What the status bar says of the port in use, in its own part.
  QString PortNews();

  // Clicks a button and waits until the device job it started has ended.
  void ClickAndWait(const char* button);
  // Waits until no device job runs and what follows its end (its boxes,
  // the dialogs queued after it) has run.
  void WaitForJob(int timeout_ms = 30000);

  ScriptedDialogs dialogs;

 private:
  QTemporaryDir temp_;
  std::string dir_;
  std::unique_ptr<Session> session_;
  std::unique_ptr<gui::MainWindow> window_;
};

// A serial line that opens and never answers: the master side of a
// pseudo-terminal nobody serves.
class SilentLine {
 public:
  SilentLine();
  ~SilentLine();
  const std::string& Path() const { return path_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  std::string path_;
};

}  // namespace zrm::test
