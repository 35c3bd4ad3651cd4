#pragma once
// A fresh pseudo-terminal pair. The instrument (the simulator, or a test
// playing one) talks on the master side; the client opens the slave by its
// path. The slave's settings are left as the kernel makes them (cooked)
// until the client configures it.

#include <chrono>
#include <string>

namespace zrm::sim {

class PseudoTerminal {
 public:
  PseudoTerminal() = default;
  ~PseudoTerminal() { Close(); }
  PseudoTerminal(const PseudoTerminal&) = delete;
  PseudoTerminal& operator=(const PseudoTerminal&) = delete;

  // False with a message in `error` when no pseudo-terminal could be had.
  bool Open(std::string& error);

  // Closes both sides: a client holding the slave sees a hang-up.
  void Close();

  // Writes bytes to the slave's input, waiting while the line is full.
  void Send(const std::string& bytes);

  // Reads what the slave side wrote until `until` is among the bytes read or
  // `within` runs out; returns the bytes read.
  std::string Receive(char until, std::chrono::milliseconds within);

  bool IsOpen() const { return master_ >= 0; }
  int Master() const { return master_; }
  // The slave as this side holds it: its settings are the client's.
  int Slave() const { return slave_; }
  const std::string& SlavePath() const { return slave_path_; }

 private:
  int master_ = -1;
  // Held open so that the master never reads a hang-up while no client has
  // the slave open (between a client's close and its next open).
  int slave_ = -1;
  std::string slave_path_;
};

}  // namespace zrm::sim
