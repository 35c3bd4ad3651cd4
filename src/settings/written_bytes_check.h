#pragma once
// The check that closes the parameters of every write: the one-byte device
// parameters (relay logic, relay masks, regulator, device type and error
// display) go out without a read-back of their own, so before 47 each one
// written is read back once and compared with the byte sent. An instrument
// that clamps a value, or a frame damaged in a way the CRC passes, would
// otherwise leave a relay or regulator byte other than the profile's behind
// a write that says it is done.

#include <cstdint>
#include <vector>

#include "link/parameter_access.h"
#include "settings/device_settings.h"
#include "settings/transfer_progress.h"
#include "settings/written_parameters.h"

namespace zrm {

// The panel's group line while the block runs.
inline constexpr std::string_view kCheckingWrittenText = "Проверка записанного";

// The parameter whose read-back failed or differed, the byte sent and the
// byte the instrument holds (the byte sent when its read failed).
struct ByteMismatch {
  WrittenParameter parameter;
  std::uint32_t sent = 0;
  std::uint32_t held = 0;
};

// Reads back, in the order written, every device byte of `written` and
// compares it with the byte a write of `target` sends (ByteOnWire). Channel
// parameters are skipped: their writes were read back already. Stops at the
// first failure, with `mismatch` naming the parameter: the read's own result,
// or kReadBackMismatch when the instrument holds another byte.
ExchangeResult CheckWrittenBytes(ParameterAccess& link, const DeviceSettings& target,
                                 const std::vector<WrittenParameter>& written,
                                 TransferProgress& panel, ByteMismatch& mismatch);

}  // namespace zrm
