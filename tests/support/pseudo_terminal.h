#pragma once
// A pseudo-terminal pair for tests that drive the real SerialPort: the test
// plays the instrument on the master side, the code under test opens the
// slave device path.

#include <chrono>
#include <string>

namespace zrm::test {

class PseudoTerminal {
 public:
  // Opens a master and unlocks its slave; throws std::runtime_error (which
  // fails the calling test) when the system has no pseudo-terminals.
  PseudoTerminal();
  ~PseudoTerminal();
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // Device path of the slave side, e.g. "/dev/pts/3".
  const std::string& SlavePath() const { return slave_path_; }

  // Writes bytes to the slave's input.
  void Send(const std::string& bytes);

  // Reads what the slave side wrote until `until` is among the bytes read or
  // the time runs out; returns the bytes read.
  std::string Receive(char until, std::chrono::milliseconds within);

  // Closes the master: to the slave side the device has vanished.
  void Hangup();

  int MasterFd() const { return master_; }

 private:
  int master_ = -1;
  std::string slave_path_;
};

}  // namespace zrm::test
