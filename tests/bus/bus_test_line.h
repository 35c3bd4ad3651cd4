#pragma once
// A simulated RS-485 line of instruments at addresses 1..4 behind the real
// serial port, for the bus poller's tests.

#include <gtest/gtest.h>

#include <string>

#include "bus/bus_config.h"
#include "lib/simulator.h"
#include "platform/serial_port.h"

namespace zrm::test {

// The first instrument (address 1) is the one the simulator's faults and
// pins act on; the others keep answering.
inline sim::SimulatorOptions FourInstruments() {
  sim::SimulatorOptions options;
  options.address = 1;
  options.more_addresses = {2, 3, 4};
  return options;
}

// The shortest timing: two attempts, the link's shortest wait.
inline BusTiming QuickTiming(std::uint32_t offline_after) {
  BusTiming timing;
  timing.offline_after = offline_after;
  timing.attempts = 2;
  timing.timeout_ms = 0;
  return timing;
}

// The write requests the simulator received so far.
inline std::size_t WriteFrameCount(const sim::Simulator& simulator) {
  std::size_t writes = 0;
  for (const sim::ReceivedFrame& f : simulator.Frames()) writes += f.fields.command == 38u;
  return writes;
}

// A fault that silences the first instrument (address 1) until cleared.
inline sim::Fault SilenceOfTheFirst() {
  sim::Fault fault;
  fault.kind = sim::FaultKind::kNoReply;
  fault.when.by = sim::FaultWhen::By::kShare;
  fault.when.share = 1.0;
  return fault;
}

}  // namespace zrm::test
