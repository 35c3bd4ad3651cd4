#include "link/request_frame.h"

#include <charconv>

#include "link/crc16.h"

namespace zrm {

namespace {

constexpr std::size_t kPreambleSize = 4;

void AppendDecimal(std::string& out, std::uint32_t value) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void AppendHexByte(std::string& out, std::uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  out += kDigits[value >> 4];
  out += kDigits[value & 0x0F];
}

// ":address;command;triplet;" — the part every request shares.
std::string RequestHead(std::uint32_t net_address, const char* command,
                        const AddressTriplet& triplet) {
  std::string text = ":";
  AppendDecimal(text, net_address);
  text += ';';
  text += command;
  text += ';';
  for (std::uint8_t byte : triplet) AppendHexByte(text, byte);
  text += ';';
  return text;
}

// Preamble, text, and the checksum of the text without its leading ":".
RequestFrame Frame(const std::string& text) {
  RequestFrame frame(kPreambleSize, '\xFF');
  frame += text;
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(frame.data());
  AppendDecimal(frame, Crc16(bytes, kPreambleSize + 1, kPreambleSize + text.size() - 1));
  frame += '\r';
  return frame;
}

}  // namespace

RequestFrame BuildReadRequest(std::uint32_t net_address, const AddressTriplet& triplet) {
  return Frame(RequestHead(net_address, "37", triplet));
}

RequestFrame BuildWriteByteRequest(std::uint32_t net_address, const AddressTriplet& triplet,
                                   std::uint32_t value) {
  std::string text = RequestHead(net_address, "38", triplet);
  AppendHexByte(text, static_cast<std::uint8_t>(value > 0xFF ? 0xFF : value));
  text += ';';
  return Frame(text);
}

RequestFrame BuildWriteDwordRequest(std::uint32_t net_address, const AddressTriplet& triplet,
                                    std::uint32_t value) {
  std::string text = RequestHead(net_address, "38", triplet);
  for (int shift = 24; shift >= 0; shift -= 8)
    AppendHexByte(text, static_cast<std::uint8_t>(value >> shift));
  text += ';';
  return Frame(text);
}

}  // namespace zrm
