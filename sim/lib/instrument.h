#pragma once
// The instrument's logic without any I/O: takes one received frame, decides
// whether and how to answer, and keeps the parameter memory, the status
// block, the restart silence and the scripted faults.

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "lib/fault.h"
#include "lib/parameter_memory.h"
#include "lib/received_frame.h"
#include "lib/status_model.h"

namespace zrm::sim {

struct InstrumentSetup {
  unsigned net_address = 1;
  int float_decimals = -1;  // >= 0: floats stored rounded to that many decimals
  std::vector<Fault> faults;
  std::uint64_t seed = 1;
  ParameterMemory memory;
};

// What to do about one frame.
struct Response {
  std::string reply;                   // bytes to send; empty: stay silent
  std::chrono::milliseconds delay{0};  // extra wait from a delay fault
  bool restart = false;                // go silent once the reply is out
  bool vanish = false;                 // close the line, answer nothing
};

class Instrument {
 public:
  Instrument(InstrumentSetup setup, Clock::time_point origin);

  // Decodes `frame` (fills its checksum verdict and fields) and answers it.
  Response Serve(ReceivedFrame& frame, Clock::time_point now);

  // Silence after a restart: frames until `until` get no answer.
  void BeginSilence(Clock::time_point until);
  bool Silent(Clock::time_point now) const { return now < silent_until_; }
  unsigned RestartCount() const { return restarts_; }

  unsigned NetAddress() const { return setup_.net_address; }
  ParameterMemory& Memory() { return setup_.memory; }
  StatusModel& Status() { return status_; }
  std::vector<Fault>& Faults() { return setup_.faults; }
  void SetFloatDecimals(int decimals) { setup_.float_decimals = decimals; }

 private:
  std::string Execute(const RequestFields& fields, bool wrong_value, bool& restart,
                      Clock::time_point now);
  std::string Read(const ParameterKey& key, Clock::time_point now);
  std::string Write(const ParameterKey& key, std::uint32_t value, bool wrong_value, bool& restart);

  InstrumentSetup setup_;
  StatusModel status_;
  Clock::time_point silent_until_{};
  unsigned restarts_ = 0;
};

}  // namespace zrm::sim
