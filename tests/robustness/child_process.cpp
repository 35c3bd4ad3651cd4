#include "robustness/child_process.h"

#include <signal.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>

namespace zrm::test {

namespace {

// The uid and gid of "nobody" on Debian.
constexpr uid_t kNobody = 65534;

void WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<std::size_t>(n);
  }
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return text;
    text.append(buffer, static_cast<std::size_t>(n));
  }
}

}  // namespace

ChildOutcome RunInChild(const std::function<std::string()>& body) {
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    WriteAll(fds[1], body());
    // _exit: the child must not run the parent's exit handlers or flush its
    // buffers a second time.
    _exit(0);
  }
  close(fds[1]);
  ChildOutcome outcome;
  outcome.output = ReadAll(fds[0]);
  close(fds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  outcome.exited = WIFEXITED(status);
  outcome.exit_code = outcome.exited ? WEXITSTATUS(status) : -1;
  return outcome;
}

pid_t StartChild(const std::function<void()>& body) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t child = fork();
  if (child == 0) {
    close(fds[0]);
    WriteAll(fds[1], "r");
    close(fds[1]);
    body();
    _exit(0);
  }
  // Returns once the child runs its body: on a loaded machine the fork alone
  // may take longer than the moments a caller means to hit.
  close(fds[1]);
  ReadAll(fds[0]);
  close(fds[0]);
  return child;
}

void KillChild(pid_t child) {
  kill(child, SIGKILL);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
}

void DropRootPrivileges() {
  if (geteuid() != 0) return;
  if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0) std::abort();
}

}  // namespace zrm::test
