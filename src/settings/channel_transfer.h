#pragma once
// The channel read on a panel that the caller has set up: the whole-image
// read gives it the title, the channel's group line and the ESC hint.

#include "link/parameter_access.h"
#include "settings/device_settings.h"
#include "settings/parameter_map.h"
#include "settings/transfer_progress.h"

namespace zrm {

// Reads channel index k (0 or 1) step by step with ESC checks; see
// ReadChannel in device_transfer.h.
ExchangeResult ReadChannel(ParameterAccess& link, DeviceSettings& s, TransferProgress& panel, int k);

// Reads the one parameter `p` of channel index k into `ch`, without a panel.
ExchangeResult ReadChannelParameter(ParameterAccess& link, ChannelSettings& ch,
                                    const ChannelParameter& p, int k);

}  // namespace zrm
