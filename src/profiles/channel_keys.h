#pragma once
// The 42 keys of a channel section "CH1" / "CH2" and the fields they carry.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "settings/device_settings.h"

namespace zrm {

using ChannelField = std::variant<std::int32_t ChannelSettings::*, float ChannelSettings::*,
                                  std::string ChannelSettings::*>;

struct ChannelKey {
  std::string_view name;
  ChannelField field;
  std::string_view absent;  // text a load takes when the key is missing
  std::string_view fresh;   // text a newly created profile holds
};

inline constexpr std::size_t kChannelKeyCount = 42;

// The keys in the order of a newly created profile.
const std::array<ChannelKey, kChannelKeyCount>& ChannelKeys();

// The same keys in the order a save writes them.
const std::array<std::string_view, kChannelKeyCount>& ChannelSaveOrder();

// The key of that name; every name of ChannelSaveOrder() has one.
const ChannelKey& FindChannelKey(std::string_view name);

// "CH1" or "CH2" for channel number 1 or 2.
std::string ChannelSection(int channel);

// A key's absent or fresh text for a channel: the channel name "Канал %u"
// stands for "Канал " and the channel number.
std::string ChannelKeyText(std::string_view text, int channel);

}  // namespace zrm
