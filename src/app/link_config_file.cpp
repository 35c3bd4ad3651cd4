#include "app/link_config_file.h"

#include <array>
#include <charconv>
#include <limits>
#include <optional>
#include <system_error>

#include "app/app_texts.h"
#include "platform/number_text.h"
#include "platform/private_profile.h"

namespace zrm {

namespace {

constexpr const char* kFileName = "dev.dat";

struct DefaultKey {
  const char* section;
  const char* key;
  const char* value;
};

// The keys a new dev.dat receives, in this order.
constexpr std::array<DefaultKey, 10> kDefaultKeys = {{
    {"COM_SETTINGS", "Number", "1"},
    {"COM_SETTINGS", "Settings", "9600,N,8,2"},
    {"DEVICE", "EnableNetAdrr", "1"},
    {"DEVICE", "NetAdrr", "1"},
    {"SETTINGS", "NOfReadings", "2"},
    {"SETTINGS", "TimeOut", "1"},
    {"LOG", "UseLogFile", "1"},
    {"LOG", "LogFileName", "COM.txt"},
    {"IZM", "UseIzmFile", "1"},
    {"IZM", "IzmFileName", "IZM.txt"},
}};

constexpr std::array<const char*, 4> kPortKeys = {"COM1", "COM2", "COM3", "COM4"};
constexpr std::array<const char*, 4> kRs485Keys = {"COM1_RS485", "COM2_RS485", "COM3_RS485",
                                                   "COM4_RS485"};

// Speeds found in the Settings text, tested in this order; the last one found
// wins, and 4800 stands when none is.
constexpr std::array<std::pair<const char*, std::int32_t>, 4> kSpeedTexts = {
    {{"9600", 9600}, {"19200", 19200}, {"38400", 38400}, {"57600", 57600}}};
constexpr std::int32_t kSlowestSpeed = 4800;

constexpr std::uint32_t kLargestPortNumber = 4;
constexpr std::uint32_t kComfortableTimeOutMs = 4000;

std::string FilePath(const std::string& dir) {
  if (dir.empty()) return kFileName;
  return dir.back() == '/' ? dir + kFileName : dir + "/" + kFileName;
}

// An integer as dev.dat holds it: decimal with an optional sign, or hex after
// "0x"/"0X"; nothing else may stand in the value. Magnitudes beyond 32 bits
// are refused.
std::optional<std::int64_t> ParseInteger(std::string_view text) {
  text = TrimBlanks(text);
  int base = 10;
  bool negative = false;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (!text.empty() && (text[0] == '-' || text[0] == '+')) {
    negative = text[0] == '-';
    text.remove_prefix(1);
  }
  std::uint32_t magnitude = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return negative ? -std::int64_t{magnitude} : std::int64_t{magnitude};
}

std::string Decimal(std::int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  return std::string(digits, result.ptr);
}

// Reads an integer key into a field of type T and writes the value used back.
// A value that is not a number or does not fit T gives `fallback`.
template <typename T>
T ReadInteger(PrivateProfile& profile, const char* section, const char* key, T fallback) {
  const auto parsed = ParseInteger(profile.GetString(section, key, ""));
  T value = fallback;
  if (parsed && *parsed >= std::numeric_limits<T>::min() &&
      *parsed <= std::numeric_limits<T>::max())
    value = static_cast<T>(*parsed);
  profile.SetString(section, key, Decimal(value));
  return value;
}

// Reads a text key and writes it back.
std::string ReadText(PrivateProfile& profile, const char* section, const char* key,
                     const char* fallback) {
  std::string value = profile.GetString(section, key, fallback);
  profile.SetString(section, key, value);
  return value;
}

std::int32_t SpeedFromSettings(const std::string& settings) {
  std::int32_t speed = kSlowestSpeed;
  for (const auto& [text, value] : kSpeedTexts)
    if (settings.find(text) != std::string::npos) speed = value;
  return speed;
}

std::uint32_t SecondsToMs(std::uint32_t seconds) {
  const std::uint64_t ms = std::uint64_t{seconds} * 1000;
  return ms > UINT32_MAX ? UINT32_MAX : static_cast<std::uint32_t>(ms);
}

// Device paths and RS-485 modes for port numbers 1..4 from [PORTS], where
// given; a mode is on for exactly 1, as a log is.
void ReadPortPaths(const PrivateProfile& profile, LinkConfig& config) {
  for (std::size_t i = 0; i < kPortKeys.size(); ++i) {
    const std::string path = profile.GetString("PORTS", kPortKeys[i], "");
    if (!path.empty()) config.port_paths[i] = path;
    config.port_rs485[i] = ParseInteger(profile.GetString("PORTS", kRs485Keys[i], "")) == 1;
  }
}

// Writes the profile when it changed; tells the user when that fails.
bool SaveOrTell(PrivateProfile& profile, Operator& op) {
  if (!profile.Modified()) return true;
  std::string error;
  if (profile.Save(error)) return true;
  op.ShowMessage(app_texts::kUnableToWrite + profile.Path() + "\n" + error,
                 app_texts::kErrorCaption, MessageIcon::kError);
  return false;
}

LinkConfig ReadKeys(PrivateProfile& profile) {
  LinkConfig config;
  config.attempts = ReadInteger<std::uint32_t>(profile, "SETTINGS", "NOfReadings", 2);
  config.port_number = ReadInteger<std::int32_t>(profile, "COM_SETTINGS", "Number", 1);
  config.speed = SpeedFromSettings(ReadText(profile, "COM_SETTINGS", "Settings", "9600,N,8,2"));
  config.net_address = ReadInteger<std::uint32_t>(profile, "DEVICE", "NetAdrr", 1);
  config.timeout_ms = SecondsToMs(ReadInteger<std::uint32_t>(profile, "SETTINGS", "TimeOut", 1));
  config.use_log_file = ReadInteger<std::int32_t>(profile, "LOG", "UseLogFile", 1);
  config.use_izm_file = ReadInteger<std::int32_t>(profile, "IZM", "UseIzmFile", 1);
  config.log_file_name = ReadText(profile, "LOG", "LogFileName", "COM.txt");
  config.izm_file_name = ReadText(profile, "IZM", "IzmFileName", "IZM.txt");
  ReadPortPaths(profile, config);
  return config;
}

void WarnAboutLinkValues(const LinkConfig& config, Operator& op) {
  if (static_cast<std::uint32_t>(config.port_number) > kLargestPortNumber)
    op.ShowMessage(app_texts::kPortNumberTooBig, app_texts::kLinkCheckCaption,
                   MessageIcon::kWarning);
  if (config.timeout_ms > kComfortableTimeOutMs)
    op.ShowMessage(app_texts::kLargeTimeOut, app_texts::kLinkCheckCaption,
                   MessageIcon::kInformation);
}

}  // namespace

LinkConfig LoadLinkConfig(const std::string& dir, Operator& op) {
  PrivateProfile profile = PrivateProfile::Load(FilePath(dir));
  if (!profile.ExistedOnDisk())
    for (const DefaultKey& entry : kDefaultKeys)
      profile.SetString(entry.section, entry.key, entry.value);
  const LinkConfig config = ReadKeys(profile);
  SaveOrTell(profile, op);
  WarnAboutLinkValues(config, op);
  return config;
}

bool StorePortNumber(const std::string& dir, std::int32_t number, Operator& op) {
  PrivateProfile profile = PrivateProfile::Load(FilePath(dir));
  profile.SetString("COM_SETTINGS", "Number", Decimal(number));
  return SaveOrTell(profile, op);
}

bool StoreSpeedAndAddress(const std::string& dir, std::int32_t speed, std::uint32_t address,
                          Operator& op) {
  PrivateProfile profile = PrivateProfile::Load(FilePath(dir));
  const std::string settings = profile.GetString("COM_SETTINGS", "Settings", "9600,N,8,2");
  const std::size_t comma = settings.find(',');
  const std::string framing = comma == std::string::npos ? ",N,8,2" : settings.substr(comma);
  profile.SetString("COM_SETTINGS", "Settings", Decimal(speed) + framing);
  profile.SetString("DEVICE", "NetAdrr", Decimal(address));
  return SaveOrTell(profile, op);
}

bool StoreNetAddress(const std::string& dir, std::uint32_t address, Operator& op) {
  PrivateProfile profile = PrivateProfile::Load(FilePath(dir));
  profile.SetString("DEVICE", "NetAdrr", Decimal(address));
  return SaveOrTell(profile, op);
}

bool StorePortPaths(const std::string& dir, const std::string (&paths)[4], Operator& op) {
  PrivateProfile profile = PrivateProfile::Load(FilePath(dir));
  for (std::size_t i = 0; i < kPortKeys.size(); ++i)
    if (!paths[i].empty()) profile.SetString("PORTS", kPortKeys[i], paths[i]);
  return SaveOrTell(profile, op);
}

}  // namespace zrm
