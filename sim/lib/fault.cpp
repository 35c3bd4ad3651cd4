#include "lib/fault.h"

#include <optional>

#include <charconv>
#include <cstdint>

namespace zrm::sim {
namespace {

struct KindName {
  const char* name;
  FaultKind kind;
  bool needs_argument;
  bool takes_argument;
  unsigned default_argument;
};

constexpr KindName kKinds[] = {
    {"noreply", FaultKind::kNoReply, false, false, 0},
    {"cut", FaultKind::kCutReply, false, true, 0},
    {"garbage", FaultKind::kGarbageBefore, false, true, 8},
    {"long", FaultKind::kLongReply, false, false, 0},
    {"code", FaultKind::kErrorCode, true, true, 0},
    {"delay", FaultKind::kDelay, true, true, 0},
    {"wrong", FaultKind::kWrongValue, false, false, 0},
    {"nul", FaultKind::kNulBytes, false, true, 1},
    {"vanish", FaultKind::kVanish, false, false, 0},
};

bool Unsigned(std::string_view text, int base, unsigned long long limit, unsigned long long& value) {
  if (text.empty()) return false;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  return ec == std::errc() && end == text.data() + text.size() && value <= limit;
}

bool ParseWhen(std::string_view text, FaultWhen& when, std::string& error) {
  unsigned long long number = 0;
  if (!text.empty() && text.back() == '%') {
    double percent = 0;
    const std::string_view digits = text.substr(0, text.size() - 1);
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), percent);
    if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() ||
        !(percent >= 0.0 && percent <= 100.0)) {
      error = "share must be 0..100%: " + std::string(text);
      return false;
    }
    when.by = FaultWhen::By::kShare;
    when.share = percent / 100.0;
    return true;
  }
  const std::size_t colon = text.find(':');
  if (colon == std::string_view::npos) {
    if (!Unsigned(text, 10, 0xFFFFFFFFull, number) || number == 0) {
      error = "request number must be 1 or more: " + std::string(text);
      return false;
    }
    when.by = FaultWhen::By::kRequestNumber;
    when.request_number = number;
    return true;
  }
  std::string_view rest = text.substr(colon + 1);
  const std::size_t second = rest.find(':');
  const std::string_view address = rest.substr(0, second);
  const std::string_view width = second == std::string_view::npos ? "" : rest.substr(second + 1);
  unsigned long long space = 0;
  if (!Unsigned(text.substr(0, colon), 10, 2, space) || space == 0 ||
      !Unsigned(address, 10, 8191, number)) {
    error = "parameter must be SPACE:ADDRESS[:byte|dword|status]: " + std::string(text);
    return false;
  }
  when.by = FaultWhen::By::kParameter;
  when.space = static_cast<int>(space);
  when.address = static_cast<unsigned>(number);
  if (width == "byte") {
    when.width = Width::kByte;
  } else if (width == "dword") {
    when.width = Width::kDword;
  } else if (width == "status") {
    when.width = Width::kBlock;
  } else if (second != std::string_view::npos) {
    error = "width must be byte, dword or status: " + std::string(text);
    return false;
  }
  return true;
}

}  // namespace

bool ParseFault(std::string_view text, Fault& fault, std::string& error) {
  std::optional<unsigned> address;
  if (const std::size_t slash = text.rfind('/'); slash != std::string_view::npos) {
    unsigned long long number = 0;
    if (!Unsigned(text.substr(slash + 1), 10, 255, number) || number == 0) {
      error = "the instrument's address must be 1..255: " + std::string(text);
      return false;
    }
    address = static_cast<unsigned>(number);
    text = text.substr(0, slash);
  }
  const std::size_t at = text.find('@');
  if (at == std::string_view::npos) {
    error = "fault needs @WHEN: " + std::string(text);
    return false;
  }
  const std::string_view head = text.substr(0, at);
  const std::size_t equals = head.find('=');
  const std::string_view name = head.substr(0, equals);
  const KindName* kind = nullptr;
  for (const KindName& k : kKinds) {
    if (name == k.name) kind = &k;
  }
  if (kind == nullptr) {
    error = "unknown fault: " + std::string(name);
    return false;
  }
  Fault parsed;
  parsed.kind = kind->kind;
  parsed.argument = kind->default_argument;
  if (equals != std::string_view::npos) {
    const bool hex = kind->kind == FaultKind::kErrorCode;
    unsigned long long value = 0;
    if (!kind->takes_argument || !Unsigned(head.substr(equals + 1), hex ? 16 : 10,
                                           hex ? 0xFFFFull : 0xFFFFFFFFull, value)) {
      error = "bad argument of fault: " + std::string(head);
      return false;
    }
    parsed.argument = static_cast<unsigned>(value);
  } else if (kind->needs_argument) {
    error = "fault needs =ARG: " + std::string(head);
    return false;
  }
  if (!ParseWhen(text.substr(at + 1), parsed.when, error)) return false;
  parsed.address = address;
  fault = parsed;
  return true;
}

}  // namespace zrm::sim
