#include <bit>
#include <cstdio>
#include <string>

#include "app/session.h"
#include "cli/command_session.h"
#include "cli/cli_commands.h"
#include "platform/number_text.h"

namespace zrm {

namespace {

// The status block lies at space 1, address 2; ReadStatusBlock knows no other
// place. A space other than 1 or 2 is refused as every operation refuses it.
ExchangeResult GetStatusBlock(ParameterAccess& link, MemorySpace space, std::FILE* out) {
  if (space != 1 && space != 2) return result::kAddressTooBig;
  StatusBlock block{};
  const ExchangeResult r = link.ReadStatusBlock(block);
  if (r != result::kOk) return r;
  for (std::uint8_t byte : block) std::fprintf(out, "%02X", byte);
  std::fputs("\n", out);
  return r;
}

ExchangeResult Get(ParameterAccess& link, const CliOptions& options, std::FILE* out) {
  switch (options.kind) {
    case RawKind::kByte: {
      std::uint8_t value = 0;
      const ExchangeResult r = link.ReadByte(options.space, options.address, value);
      if (r == result::kOk) std::fprintf(out, "%u\n", value);
      return r;
    }
    case RawKind::kDword: {
      std::uint32_t value = 0;
      const ExchangeResult r = link.ReadDword(options.space, options.address, value);
      if (r == result::kOk)
        std::fprintf(out, "%08X %s\n", static_cast<unsigned>(value),
                     FormatGeneral(std::bit_cast<float>(value), 6).c_str());
      return r;
    }
    case RawKind::kStatusBlock: return GetStatusBlock(link, options.space, out);
  }
  return result::kOk;
}

ExchangeResult Set(ParameterAccess& link, const CliOptions& options) {
  const MemorySpace space = options.space;
  const ParameterAddress address = options.address;
  if (options.kind == RawKind::kByte)
    return options.checked ? link.WriteByteChecked(space, address, options.byte_value)
                           : link.WriteByte(space, address, options.byte_value);
  return options.checked
             ? link.WriteFloatChecked(space, address, options.float_value)
             : link.WriteDword(space, address, std::bit_cast<std::uint32_t>(options.float_value));
}

}  // namespace

int RunGet(const CliOptions& options, CliOperator& op, std::FILE* out) {
  Session session(options.dir);
  if (!StartCommandSession(session, op, options)) return kDeviceNotOpenedExit;
  const ExchangeResult r = Get(session.InstrumentLink(), options, out);
  std::fflush(out);
  ShowExchangeError(op, r);
  return static_cast<int>(r);
}

int RunSet(const CliOptions& options, CliOperator& op, std::FILE*) {
  Session session(options.dir);
  if (!StartCommandSession(session, op, options)) return kDeviceNotOpenedExit;
  const ExchangeResult r = Set(session.InstrumentLink(), options);
  ShowExchangeError(op, r);
  return static_cast<int>(r);
}

}  // namespace zrm
