#pragma once
// Forked children for the tests that need a process of their own: one that
// is killed at a random moment, or one that runs with a file size limit or
// as an ordinary user.

#include <functional>
#include <string>
#include <sys/types.h>

namespace zrm::test {

struct ChildOutcome {
  bool exited = false;   // ended normally (not killed by a signal)
  int exit_code = -1;
  std::string output;    // what the child's body returned
};

// Runs `body` in a forked child and waits for it; the child's return text
// travels back through a pipe.
ChildOutcome RunInChild(const std::function<std::string()>& body);

// Starts `body` in a forked child that runs until it is killed; returns its
// process id once the child has begun to run `body`.
pid_t StartChild(const std::function<void()>& body);

// Sends SIGKILL to `child` and reaps it.
void KillChild(pid_t child);

// Gives up root's power to write anywhere: the process continues as the
// user "nobody". Does nothing for an ordinary user.
void DropRootPrivileges();

}  // namespace zrm::test
