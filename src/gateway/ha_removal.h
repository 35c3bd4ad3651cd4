#pragma once
// What a gateway announced before and no longer serves. Every instrument it
// found has its retained info topic, which names the line and the address
// it answered at; one whose place the configuration no longer polls was
// taken out of it, and its topics are cleared.

#include <optional>
#include <string>
#include <string_view>

#include "gateway/gateway_config.h"

namespace zrm {

// The id of the instrument whose retained info `payload` on `topic` names a
// line and address `config` does not poll; empty for one still configured,
// and for a topic or payload that is not the info of an instrument under
// `config.prefix` as this gateway writes it.
std::optional<std::string> UnconfiguredInstrument(const GatewayConfig& config,
                                                  std::string_view topic, std::string_view payload);

}  // namespace zrm
