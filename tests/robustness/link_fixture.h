#pragma once
// The real serial port and link against the emulated instrument behind a
// fixed device path, for the fault soak and the vanishing-device tests.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "link/link.h"
#include "platform/serial_port.h"
#include "robustness/instrument_at_path.h"
#include "support/scratch_dir.h"

namespace zrm::test {

class LinkAgainstInstrument : public ::testing::Test {
 protected:
  // Starts the instrument with `options` at a fixed path, opens the port
  // there and makes the link with `attempts` and the shortest time-out.
  void Connect(sim::SimulatorOptions options, std::uint32_t attempts) {
    instrument_ = std::make_unique<InstrumentAtPath>(dir_.File("ttyZRM"));
    std::string error;
    ASSERT_TRUE(instrument_->Start(std::move(options), error)) << error;
    ASSERT_TRUE(port_.Open(instrument_->Path(), 9600, error)) << error;
    link_ = std::make_unique<Link>(port_, LinkParams{1, attempts, 1000}, nullptr);
  }

  // Brings the vanished instrument back at the same path.
  void BringBack() {
    std::string error;
    ASSERT_TRUE(instrument_->ComeBack(error)) << error;
  }

  ScratchDir dir_;
  std::unique_ptr<InstrumentAtPath> instrument_;
  SerialPort port_;
  std::unique_ptr<Link> link_;
};

}  // namespace zrm::test
