#pragma once
// The instrument link: builds request frames, writes them to the line, waits
// for the reply, logs the exchange, checks and decodes the reply, retries.
// One Link owns the exchange context; exchanges never nest.

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "link/exchange_log.h"
#include "link/link_config.h"
#include "link/parameter_access.h"
#include "link/request_frame.h"
#include "platform/line.h"

namespace zrm {

// Link parameters fixed at start from LinkConfig.
struct LinkParams {
  std::uint32_t net_address = 1;
  std::uint32_t attempts = 2;       // 2..5
  std::uint32_t timeout_ms = 1000;  // the wait never ends sooner than 1000 ms
};

// The link parameters of the workstation configuration.
LinkParams LinkParamsOf(const LinkConfig& config);

class Link : public ParameterAccess {
 public:
  // `line` must outlive the Link; `log` may be null (no exchange log). The
  // attempt count is brought into 2..5.
  Link(Line& line, LinkParams params, ExchangeLog* log);

  ExchangeResult ReadByte(MemorySpace space, ParameterAddress address,
                          std::uint8_t& value) override;
  ExchangeResult ReadDword(MemorySpace space, ParameterAddress address,
                           std::uint32_t& value) override;
  ExchangeResult WriteByte(MemorySpace space, ParameterAddress address,
                           std::uint32_t value) override;
  ExchangeResult WriteDword(MemorySpace space, ParameterAddress address,
                            std::uint32_t value) override;
  ExchangeResult WriteByteChecked(MemorySpace space, ParameterAddress address,
                                  std::uint32_t value) override;
  ExchangeResult WriteFloatChecked(MemorySpace space, ParameterAddress address,
                                   float value) override;
  ExchangeResult ReadStatusBlock(StatusBlock& block) override;

  const LinkParams& Params() const { return params_; }

  // Local time of day at which the last wait began (for the measurement log).
  const TimeOfDay& LastWaitStart() const { return last_wait_start_; }

 private:
  // Decides whether a complete reply line answers the request; 0 when it does.
  using ReplyCheck = std::function<ExchangeResult(std::string_view reply)>;

  // Reads `data.size()` bytes from a parameter.
  ExchangeResult Read(MemorySpace space, ParameterAddress address, WidthCode width,
                      std::span<std::uint8_t> data);

  // Sends `frame` up to the attempt count of times until `check` accepts a
  // reply; refuses a memory space other than 1 or 2 with 5 before anything is
  // sent.
  ExchangeResult Exchange(MemorySpace space, const RequestFrame& frame, const ReplyCheck& check);

  // One attempt: discard stale input, write, wait, log, check.
  ExchangeResult Attempt(const RequestFrame& frame, const ReplyCheck& check);

  Line& line_;
  LinkParams params_;
  ExchangeLog* log_;
  TimeOfDay last_wait_start_{};
};

}  // namespace zrm
