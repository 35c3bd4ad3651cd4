#include "gui/window/quit_signals.h"

#include <signal.h>
#include <sys/signalfd.h>
#include <unistd.h>

namespace zrm::gui {

namespace {

sigset_t QuitSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}

}  // namespace

void BlockQuitSignals() {
  const sigset_t set = QuitSignalSet();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

QuitSignals::QuitSignals(QObject* parent) : QObject(parent) {
  const sigset_t set = QuitSignalSet();
  fd_ = signalfd(-1, &set, SFD_NONBLOCK | SFD_CLOEXEC);
  if (fd_ < 0) {
    // Without a signalfd the signals get their default action back.
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    return;
  }
  notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &QuitSignals::ReadSignal);
}

QuitSignals::~QuitSignals() {
  if (fd_ >= 0) close(fd_);
}

void QuitSignals::ReadSignal() {
  signalfd_siginfo info;
  while (read(fd_, &info, sizeof info) == static_cast<ssize_t>(sizeof info)) emit QuitRequested();
}

}  // namespace zrm::gui
