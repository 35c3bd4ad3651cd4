#pragma once
// The workstation's link configuration, read from dev.dat at start.

#include <cstdint>
#include <string>

#include "platform/serial_modes.h"

namespace zrm {

struct LinkConfig {
  std::int32_t port_number = 1;     // 1..4 selects COM1..COM4
  std::int32_t speed = 9600;        // bits per second
  std::uint32_t attempts = 2;       // brought into 2..5
  std::uint32_t timeout_ms = 1000;  // reply time-out
  std::uint32_t net_address = 1;    // instrument address in every request
  std::int32_t use_log_file = 1;    // exactly 1 switches the exchange log on
  std::string log_file_name = "COM.txt";
  std::int32_t use_izm_file = 1;  // exactly 1 switches the measurement log on
  std::string izm_file_name = "IZM.txt";
  // Device paths for port numbers 1..4 ([PORTS] COM1..COM4 in dev.dat).
  std::string port_paths[4] = {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"};
  // The RS-485 mode of port numbers 1..4 ([PORTS] COM1_RS485..COM4_RS485).
  bool port_rs485[4] = {false, false, false, false};

  bool ExchangeLogOn() const { return use_log_file == 1; }
  bool MeasurementLogOn() const { return use_izm_file == 1; }
  // Device path of the current port number; empty when it is outside 1..4.
  std::string PortPath() const;
  // The modes of the current port number; none when it is outside 1..4.
  PortModes PortModesInUse() const;
};

// A file name of the configuration (a log), taken relative to the working
// folder `dir` unless it is absolute.
std::string PathInFolder(const std::string& dir, const std::string& name);

}  // namespace zrm
