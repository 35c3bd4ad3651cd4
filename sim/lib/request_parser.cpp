#include "lib/request_parser.h"

#include <string>
#include <vector>

#include "lib/crc16.h"
#include "lib/reply_forms.h"

namespace zrm::sim {
namespace {

constexpr char kCommandRead[] = "37";
constexpr char kCommandWrite[] = "38";
constexpr std::size_t kPreambleLength = 4;

// Decimal digits only (no sign, no blanks), fitting `limit`.
std::optional<std::uint32_t> Decimal(std::string_view text, std::uint32_t limit) {
  if (text.empty() || text.size() > 10) return std::nullopt;
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<unsigned>(c - '0');
  }
  if (value > limit) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

bool IsUpperHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

bool AllUpperHex(std::string_view text) {
  for (char c : text) {
    if (!IsUpperHexDigit(c)) return false;
  }
  return !text.empty();
}

// Upper-case hexadecimal digits only, at most eight.
std::optional<std::uint32_t> UpperHex(std::string_view text) {
  if (text.size() > 8 || !AllUpperHex(text)) return std::nullopt;
  std::uint32_t value = 0;
  for (char c : text) {
    const unsigned digit = c <= '9' ? static_cast<unsigned>(c - '0') : static_cast<unsigned>(c - 'A' + 10);
    value = (value << 4) | digit;
  }
  return value;
}

std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == ';') {
      fields.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  }
  return fields;
}

bool PreambleBefore(std::string_view raw, std::size_t colon) {
  if (colon < kPreambleLength) return false;
  for (std::size_t i = colon - kPreambleLength; i < colon; ++i) {
    if (static_cast<unsigned char>(raw[i]) != 0xFF) return false;
  }
  return true;
}

// Triplet: byte 0 is zero; byte 1 holds width (bits 7..6), space flag (bit 5)
// and address bits 12..8; byte 2 address bits 7..0. Width code 1 is unused.
std::optional<ParameterKey> Triplet(std::string_view text) {
  if (text.size() != 6) return std::nullopt;
  const auto value = UpperHex(text);
  if (!value || (*value >> 16) != 0) return std::nullopt;
  const unsigned flags = (*value >> 8) & 0xFFu;
  const unsigned width_code = flags >> 6;
  if (width_code == 1) return std::nullopt;
  ParameterKey key;
  key.width = static_cast<Width>(width_code);
  key.space = (flags & 0x20u) != 0 ? 1 : 2;
  key.address = ((flags & 0x1Fu) << 8) | (*value & 0xFFu);
  return key;
}

// Checks command, triplet and data of a request whose checksum is good;
// fills the fields it could decode.
std::optional<std::uint16_t> CheckForm(const std::vector<std::string_view>& parts,
                                       RequestFields& fields) {
  // parts: address, command, triplet[, data], then the empty text after the last ";"
  if (parts.size() != 4 && parts.size() != 5) return code::kUnparseable;
  const std::string_view command = parts[1];
  if (command != kCommandRead && command != kCommandWrite) return code::kUnparseable;
  fields.command = command == kCommandRead ? 37u : 38u;
  const auto key = Triplet(parts[2]);
  if (!key) return code::kUnparseable;
  fields.parameter = *key;
  const bool write = *fields.command == 38;
  const bool has_data = parts.size() == 5;
  if (has_data) fields.data = std::string(parts[3]);
  if (write != has_data) return code::kUnparseable;
  if (write) {
    const std::size_t digits = 2u * WidthBytes(key->width);
    if (fields.data.size() != digits || !AllUpperHex(fields.data)) return code::kUnparseable;
  }
  return std::nullopt;
}

}  // namespace

ParsedFrame ParseFrame(std::string_view raw, unsigned own_address) {
  ParsedFrame parsed;
  if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
  const std::size_t colon = raw.rfind(':');
  if (colon == std::string_view::npos) return parsed;  // no request in it: line noise
  const std::string_view text = raw.substr(colon + 1);
  const std::size_t first_semicolon = text.find(';');
  if (first_semicolon == std::string_view::npos) return parsed;
  parsed.fields.net_address = Decimal(text.substr(0, first_semicolon), 0xFFFFFFFFu);
  if (!parsed.fields.net_address || *parsed.fields.net_address != own_address) return parsed;
  parsed.addressed_here = true;

  const std::size_t last_semicolon = text.rfind(';');
  const std::string_view covered = text.substr(0, last_semicolon + 1);
  parsed.fields.checksum = Decimal(text.substr(last_semicolon + 1), 0xFFFFu);
  if (!parsed.fields.checksum) {
    parsed.refusal = code::kUnparseable;
    return parsed;
  }
  const bool checksum_good = *parsed.fields.checksum == Crc16Modbus(covered);
  parsed.checksum = checksum_good ? ChecksumVerdict::kGood : ChecksumVerdict::kBad;
  if (!checksum_good) {
    parsed.refusal = code::kChecksum;
    return parsed;
  }
  if (!PreambleBefore(raw, colon)) {
    parsed.refusal = code::kUnparseable;
    return parsed;
  }
  parsed.refusal = CheckForm(SplitFields(covered), parsed.fields);
  return parsed;
}

}  // namespace zrm::sim
