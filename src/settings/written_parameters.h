#pragma once
// The parameters a write of the settings sends, one by one, and whether the
// instrument already holds what a write would send. The comparison with the
// instrument and the write of changes both walk this list, so they always
// agree on what differs.

#include <vector>

#include "settings/device_settings.h"
#include "settings/parameter_map.h"

namespace zrm {

// One parameter of a write: a channel parameter of channel index 0 or 1, or
// a one-byte device parameter (a row of the relay logic, regulator or
// general map).
struct WrittenParameter {
  int channel = 0;
  ChannelField field = ChannelField::kDat;
  const DeviceByteParameter* device_byte = nullptr;  // set for a device byte

  bool operator==(const WrittenParameter&) const = default;
};

// The parameters a whole write of `s` sends, in the order it sends them:
// the selected channels, the relay logic when selected, the regulator, and
// the device type and error display when the general group is selected.
// The closing writes (47 and the restart) are no parameters of the record.
std::vector<WrittenParameter> ParametersWrittenFor(const DeviceSettings& s);

// The byte a write sends for a record value: values above 255 (and negative
// ones) go out as 255, as the link sends them.
std::uint32_t ByteOnWire(std::int32_t value);

// True when a write of `target` would send another value for `p` than
// `instrument` holds. Floats compare by their bit pattern, bytes as sent.
bool ParameterDiffers(const WrittenParameter& p, const DeviceSettings& instrument,
                      const DeviceSettings& target);

// The parameters of a whole write of `target` whose values differ from the
// instrument's, in the write's order.
std::vector<WrittenParameter> ChangedParameters(const DeviceSettings& instrument,
                                                const DeviceSettings& target);

}  // namespace zrm
