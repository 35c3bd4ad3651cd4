#pragma once
// What zrm48d runs: the lines and their instruments, the poll timing, the
// broker, the Modbus listener and the write permission, read from its INI
// file. A configuration is taken whole or refused at its first fault.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bus/bus_config.h"
#include "bus/bus_events.h"
#include "gateway/gateway_ini.h"
#include "gateway/value_units.h"

namespace zrm {

struct ModbusConfig {
  std::string host = "127.0.0.1";
  std::uint16_t port = 1502;

  bool operator==(const ModbusConfig&) const = default;
};

struct GatewayLine {
  BusLineConfig bus;
  std::uint32_t unit_offset = 0;  // Modbus unit id = unit_offset + address
  std::string name;               // its section's name as written ("LINE2"), for messages
  // The line's own Modbus listener (Listen= in its section), as a serial
  // device server gives each line a port; empty: the [MODBUS] one.
  std::optional<ModbusConfig> listen = std::nullopt;
  // Units= per address: the units of values whose inputs are not temperatures.
  std::map<std::uint32_t, ChannelUnits> units = {};
};

struct MqttConfig {
  std::string host = "127.0.0.1";
  std::uint16_t port = 1883;
  std::string user;
  std::string password;
  std::string ca_file;  // set: TLS
  std::string cert_file;
  std::string key_file;
  bool discovery = false;  // Home Assistant discovery messages
  bool retain = false;     // state messages retained too
};

struct WriteConfig {
  bool allow = false;
  std::vector<BusParameter> parameters;  // the only ones writable when allowed
};

struct GatewayConfig {
  std::string prefix = "zrm48";
  BusTiming timing;
  std::optional<MqttConfig> mqtt;      // empty: no MQTT
  std::optional<ModbusConfig> modbus;  // empty: no Modbus
  std::vector<GatewayLine> lines;      // LINE1, LINE2, ... in number order
  WriteConfig write;
  // [HISTORY] Database: the plant's PostgreSQL database the history is sent
  // on to; empty: the working folder's history.sqlite only.
  std::string history_database;
};

// Reads the configuration from INI text. False with `error` (its line and
// what is wrong) on unknown sections or keys, a key or section twice, a
// value out of its range, a bad address list, a device used twice, a Modbus
// unit id used twice on one listener, a listener named twice, a parameter
// outside the eight, a line's Units that ParseValueUnits refuses and a file
// without lines.
bool ParseGatewayConfig(std::string_view text, GatewayConfig& config, ConfigError& error);

// The Modbus listener that serves `line`: its own, else [MODBUS]; empty when
// no listener serves it.
std::optional<ModbusConfig> ListenerOf(const GatewayConfig& config, const GatewayLine& line);

// True when writes are on and `parameter` is one of the listed.
bool WriteAllowed(const WriteConfig& write, BusParameter parameter);

}  // namespace zrm
