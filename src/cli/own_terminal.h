#pragma once
// The terminal the program itself talks to the operator on is never an
// instrument's port: frames sent there would land among the messages on the
// screen, the operator's keys would be read as replies, and the raw mode a
// port is given would spoil the terminal.

#include <string>

namespace zrm {

// True when `path` is the controlling terminal (/dev/tty) or the same
// terminal as the program's stdin, stdout or stderr (such as /dev/stderr,
// or the /dev/pts/N the program runs in).
bool IsOwnTerminal(const std::string& path);

}  // namespace zrm
