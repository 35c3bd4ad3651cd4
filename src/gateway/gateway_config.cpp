#include "gateway/gateway_config.h"

#include <arpa/inet.h>

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <set>

#include "bus/address_list.h"
#include "gateway/bus_parameter_names.h"
#include "gateway/gateway_texts.h"
#include "history/database_url.h"
#include "history/history_texts.h"
#include "platform/network_address.h"
#include "platform/number_text.h"

namespace zrm {
namespace {

namespace t = gateway_texts;

constexpr std::int32_t kSpeeds[] = {4800, 9600, 19200, 38400, 57600};

std::string Upper(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// The keys of one section, looked up without regard to case as INI files
// are; every key must be one the section knows, and appear once.
class SectionKeys {
 public:
  SectionKeys(const IniSection& section, std::initializer_list<std::string_view> known)
      : section_(section), known_(known) {}

  bool Check(ConfigError& error) const {
    std::set<std::string> seen;
    for (const IniEntry& e : section_.entries) {
      const std::string key = Upper(e.key);
      if (std::none_of(known_.begin(), known_.end(),
                       [&](std::string_view k) { return Upper(k) == key; })) {
        error = {e.line, t::kUnknownKey + e.key};
        return false;
      }
      if (!seen.insert(key).second) {
        error = {e.line, t::kKeyTwice + e.key};
        return false;
      }
    }
    return true;
  }

  const IniEntry* Find(std::string_view key) const {
    for (const IniEntry& e : section_.entries)
      if (Upper(e.key) == Upper(key)) return &e;
    return nullptr;
  }

  // Sets `out` from a whole number in [low, high] when the key is there.
  template <typename Integer>
  bool Number(std::string_view key, Integer& out, std::uint64_t low, std::uint64_t high,
              ConfigError& error) const {
    const IniEntry* e = Find(key);
    if (e == nullptr) return true;
    std::uint64_t value = 0;
    const char* end = e->value.data() + e->value.size();
    const auto [ptr, ec] = std::from_chars(e->value.data(), end, value);
    if (e->value.empty() || ec != std::errc() || ptr != end) {
      error = {e->line, t::kNotANumber + e->value};
      return false;
    }
    if (value < low || value > high) {
      error = {e->line, t::kOutOfRange + std::to_string(low) + ".." + std::to_string(high) + ": " +
                            e->value};
      return false;
    }
    out = static_cast<Integer>(value);
    return true;
  }

  bool Switch(std::string_view key, bool& out, ConfigError& error) const {
    const IniEntry* e = Find(key);
    if (e == nullptr) return true;
    if (e->value != "0" && e->value != "1") {
      error = {e->line, t::kNotSwitch + e->value};
      return false;
    }
    out = e->value == "1";
    return true;
  }

  void Text(std::string_view key, std::string& out) const {
    if (const IniEntry* e = Find(key)) out = e->value;
  }

  int Line() const { return section_.line; }

 private:
  const IniSection& section_;
  std::vector<std::string_view> known_;
};

bool PrefixSound(const std::string& prefix) {
  return !prefix.empty() && prefix.find_first_of("+#") == std::string::npos &&
         prefix.front() != '/' && prefix.back() != '/';
}

bool ReadGateway(const SectionKeys& keys, GatewayConfig& config, ConfigError& error) {
  if (!keys.Check(error)) return false;
  keys.Text("Prefix", config.prefix);
  if (!PrefixSound(config.prefix)) {
    const IniEntry* e = keys.Find("Prefix");
    error = {e != nullptr ? e->line : keys.Line(), t::kBadPrefix};
    return false;
  }
  BusTiming& timing = config.timing;
  timing.short_waits = true;  // TimeOutMs as configured, not the window's 1000 ms floor
  return keys.Number("PollMs", timing.poll_ms, 0, 3'600'000, error) &&
         keys.Number("OfflineAfter", timing.offline_after, 1, 1000, error) &&
         keys.Number("TimeOutMs", timing.timeout_ms, 10, 60'000, error) &&
         keys.Number("Attempts", timing.attempts, 2, 5, error);
}

bool ReadMqtt(const SectionKeys& keys, MqttConfig& mqtt, ConfigError& error) {
  if (!keys.Check(error)) return false;
  keys.Text("Host", mqtt.host);
  keys.Text("User", mqtt.user);
  keys.Text("Password", mqtt.password);
  keys.Text("CAFile", mqtt.ca_file);
  keys.Text("CertFile", mqtt.cert_file);
  keys.Text("KeyFile", mqtt.key_file);
  if (mqtt.host.empty()) {
    error = {keys.Find("Host")->line, std::string(t::kEmptyValue) + "Host"};
    return false;
  }
  return keys.Number("Port", mqtt.port, 1, 65535, error) &&
         keys.Switch("Discovery", mqtt.discovery, error) &&
         keys.Switch("Retain", mqtt.retain, error);
}

// A host name of letters, digits, dots and hyphens.
bool IsHostName(std::string_view name) {
  return !name.empty() && name.front() != '-' && name.front() != '.' &&
         name.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789.-") ==
             std::string_view::npos;
}

// The host of a listener: an IPv4 address, a host name, or an IPv6 address
// in brackets ("[::1]"), stored without them. False for anything else.
bool ListenHost(const std::string& written, std::string& host) {
  unsigned char address[16];
  if (written.size() > 2 && written.front() == '[' && written.back() == ']') {
    host = written.substr(1, written.size() - 2);
    return inet_pton(AF_INET6, host.c_str(), address) == 1;
  }
  host = written;
  return inet_pton(AF_INET, host.c_str(), address) == 1 || IsHostName(host);
}

// Listen=HOST:PORT into `modbus`, when the key is there.
bool ReadListen(const SectionKeys& keys, std::optional<ModbusConfig>& listen, ConfigError& error) {
  const IniEntry* e = keys.Find("Listen");
  if (e == nullptr) return true;
  ModbusConfig& modbus = listen.emplace();
  const std::size_t colon = e->value.rfind(':');
  std::uint32_t port = 0;
  const char* end = e->value.data() + e->value.size();
  if (colon == std::string::npos || colon == 0 ||
      std::from_chars(e->value.data() + colon + 1, end, port).ptr != end || port == 0 ||
      port > 65535 || colon + 1 == e->value.size()) {
    error = {e->line, t::kBadListen + e->value};
    return false;
  }
  if (!ListenHost(e->value.substr(0, colon), modbus.host)) {
    error = {e->line, t::kBadListen + e->value};
    return false;
  }
  modbus.port = static_cast<std::uint16_t>(port);
  return true;
}

bool ReadModbus(const SectionKeys& keys, ModbusConfig& modbus, ConfigError& error) {
  if (!keys.Check(error)) return false;
  std::optional<ModbusConfig> listen;
  if (!ReadListen(keys, listen, error)) return false;
  if (listen) modbus = *listen;
  return true;
}

bool ReadHistory(const SectionKeys& keys, std::string& database, ConfigError& error) {
  if (!keys.Check(error)) return false;
  const IniEntry* e = keys.Find("Database");
  if (e == nullptr || e->value.empty()) return true;
  std::string why;
  if (!CheckDatabaseUrl(e->value, why)) {
    error = {e->line, std::string(history_texts::kBadDatabaseUrl) + why};
    return false;
  }
  database = e->value;
  return true;
}

bool ReadWrite(const SectionKeys& keys, WriteConfig& write, ConfigError& error) {
  if (!keys.Check(error) || !keys.Switch("Allow", write.allow, error)) return false;
  const IniEntry* e = keys.Find("Parameters");
  if (e == nullptr) return true;
  std::string_view list = e->value;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view name = TrimBlanks(list.substr(0, comma));
    list.remove_prefix(comma == std::string_view::npos ? list.size() : comma + 1);
    const std::optional<BusParameter> p = BusParameterByName(name);
    if (!p) {
      error = {e->line, t::kUnknownParameter + std::string(name)};
      return false;
    }
    if (std::find(write.parameters.begin(), write.parameters.end(), *p) == write.parameters.end())
      write.parameters.push_back(*p);
  }
  return true;
}

bool ReadLine(const SectionKeys& keys, GatewayLine& line, ConfigError& error) {
  if (!keys.Check(error)) return false;
  keys.Text("Device", line.bus.device);
  if (line.bus.device.empty()) {
    error = {keys.Line(), t::kNoDevice};
    return false;
  }
  const bool network = IsNetworkPath(line.bus.device);
  if (network ? !ParseNetworkAddress(line.bus.device) : line.bus.device.front() != '/') {
    error = {keys.Find("Device")->line, t::kBadDevice + line.bus.device};
    return false;
  }
  if (!keys.Number("Speed", line.bus.speed, 1, 1'000'000, error) ||
      !keys.Number("UnitOffset", line.unit_offset, 0, 255, error) ||
      !ReadListen(keys, line.listen, error) ||
      !keys.Switch("RS485", line.bus.modes.rs485, error))
    return false;
  // A device server sets its ports' RS-485 mode itself.
  if (network && line.bus.modes.rs485) {
    error = {keys.Find("RS485")->line, t::kRs485OnNetwork};
    return false;
  }
  if (std::find(std::begin(kSpeeds), std::end(kSpeeds), line.bus.speed) == std::end(kSpeeds)) {
    error = {keys.Find("Speed")->line, t::kSpeedUnknown + std::to_string(line.bus.speed)};
    return false;
  }
  const IniEntry* addresses = keys.Find("Addresses");
  if (addresses == nullptr) {
    error = {keys.Line(), t::kNoAddresses};
    return false;
  }
  std::string why;
  if (!ParseAddressList(addresses->value, line.bus.addresses, why)) {
    error = {addresses->line, why};
    return false;
  }
  // ";" separates its instruments here rather than starting a comment.
  const IniEntry* units = keys.Find("Units");
  if (units != nullptr && !ParseValueUnits(units->uncut, line.bus.addresses, line.units, why)) {
    error = {units->line, why};
    return false;
  }
  return true;
}

// The line number of "LINE<n>", 0 for any other name.
unsigned LineNumber(const std::string& upper_name) {
  if (!upper_name.starts_with("LINE") || upper_name.size() == 4 || upper_name[4] == '0') return 0;
  unsigned n = 0;
  const char* end = upper_name.data() + upper_name.size();
  if (std::from_chars(upper_name.data() + 4, end, n).ptr != end) return 0;
  return n;
}

// A device as the system finds it: a path with its links followed and
// written plainly ("//" and "." gone), so that one port named twice is
// seen; a network line as written.
std::string ResolvedDevice(const std::string& device) {
  if (IsNetworkPath(device)) return device;
  std::error_code error;
  const std::filesystem::path resolved = std::filesystem::weakly_canonical(device, error);
  return error ? std::filesystem::path(device).lexically_normal().string() : resolved.string();
}

// "127.0.0.1:1502", a listener as the checks name it.
std::string ListenerText(const ModbusConfig& m) { return m.host + ":" + std::to_string(m.port); }

// Devices are each one line's; a line's own listener is no other's; Modbus
// unit ids are each one instrument's on the listener that serves them (not
// checked for lines no listener serves).
bool CheckUnique(const GatewayConfig& config,
                 const std::map<unsigned, std::pair<GatewayLine, int>>& lines, ConfigError& error) {
  std::map<std::string, unsigned> devices;
  std::map<std::string, std::string> listeners;  // a line's own listener: its line
  if (config.modbus) listeners.emplace(ListenerText(*config.modbus), "MODBUS");
  std::map<std::pair<std::string, std::uint32_t>, std::string> units;
  for (const auto& [n, entry] : lines) {
    const auto& [line, at] = entry;
    if (const auto [it, fresh] = devices.emplace(ResolvedDevice(line.bus.device), n); !fresh) {
      error = {at, t::kDeviceTwice + std::string("LINE") + std::to_string(it->second)};
      return false;
    }
    if (line.listen) {
      if (const auto [it, fresh] = listeners.emplace(ListenerText(*line.listen), line.name);
          !fresh) {
        error = {at, t::kListenerTwice + it->second};
        return false;
      }
    }
    const std::optional<ModbusConfig> listener = ListenerOf(config, line);
    for (std::uint32_t address : line.bus.addresses) {
      const std::uint32_t unit = line.unit_offset + address;
      const std::string who = "LINE" + std::to_string(n) + t::kAtAddress + std::to_string(address);
      if (unit > 255) {
        error = {at, t::kUnitTooBig + std::to_string(unit) + " (" + who + ")"};
        return false;
      }
      if (!listener) continue;
      if (const auto [it, fresh] = units.emplace(std::pair{ListenerText(*listener), unit}, who);
          !fresh) {
        error = {at, t::kUnitTwice + it->second + " (" + std::to_string(unit) + ")"};
        return false;
      }
    }
  }
  return true;
}

}  // namespace

bool ParseGatewayConfig(std::string_view text, GatewayConfig& config, ConfigError& error) {
  std::vector<IniSection> sections;
  if (!ReadIni(text, sections, error)) return false;
  GatewayConfig read;
  std::set<std::string> seen;
  std::map<unsigned, std::pair<GatewayLine, int>> lines;
  for (const IniSection& section : sections) {
    const std::string name = Upper(section.name);
    if (!seen.insert(name).second) {
      error = {section.line, t::kSectionTwice + section.name};
      return false;
    }
    bool ok = true;
    if (name == "GATEWAY") {
      ok = ReadGateway(
          SectionKeys(section, {"Prefix", "PollMs", "OfflineAfter", "TimeOutMs", "Attempts"}), read,
          error);
    } else if (name == "MQTT") {
      ok = ReadMqtt(SectionKeys(section, {"Host", "Port", "User", "Password", "CAFile", "CertFile",
                                          "KeyFile", "Discovery", "Retain"}),
                    read.mqtt.emplace(), error);
    } else if (name == "MODBUS") {
      ok = ReadModbus(SectionKeys(section, {"Listen"}), read.modbus.emplace(), error);
    } else if (name == "HISTORY") {
      ok = ReadHistory(SectionKeys(section, {"Database"}), read.history_database, error);
    } else if (name == "WRITE") {
      ok = ReadWrite(SectionKeys(section, {"Allow", "Parameters"}), read.write, error);
    } else if (const unsigned n = LineNumber(name); n != 0) {
      auto& [line, at] = lines[n];
      at = section.line;
      line.name = section.name;
      ok = ReadLine(
          SectionKeys(section, {"Device", "Speed", "Addresses", "UnitOffset", "Listen", "Units",
                                "RS485"}),
          line,
          error);
    } else {
      error = {section.line, t::kUnknownSection + section.name};
      return false;
    }
    if (!ok) return false;
  }
  if (lines.empty()) {
    error = {0, t::kNoLines};
    return false;
  }
  if (!CheckUnique(read, lines, error)) return false;
  for (auto& [n, entry] : lines) read.lines.push_back(std::move(entry.first));
  config = std::move(read);
  return true;
}

std::optional<ModbusConfig> ListenerOf(const GatewayConfig& config, const GatewayLine& line) {
  return line.listen ? line.listen : config.modbus;
}

bool WriteAllowed(const WriteConfig& write, BusParameter parameter) {
  return write.allow && std::find(write.parameters.begin(), write.parameters.end(), parameter) !=
                            write.parameters.end();
}

}  // namespace zrm
