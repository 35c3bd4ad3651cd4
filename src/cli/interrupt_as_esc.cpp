#include "cli/interrupt_as_esc.h"

#include <signal.h>

#include <ctime>

namespace zrm {

namespace {

sigset_t InterruptSet() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  return set;
}

}  // namespace

void TreatInterruptAsEsc() {
  const sigset_t set = InterruptSet();
  sigprocmask(SIG_BLOCK, &set, nullptr);
}

bool TakeInterrupt() {
  const sigset_t set = InterruptSet();
  const timespec no_wait{};
  return sigtimedwait(&set, nullptr, &no_wait) == SIGINT;
}

bool InterruptPending() {
  sigset_t pending;
  sigemptyset(&pending);
  return sigpending(&pending) == 0 && sigismember(&pending, SIGINT) == 1;
}

}  // namespace zrm
