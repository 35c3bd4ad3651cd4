#pragma once
// The platform layer's own texts, exactly as the user sees them.

namespace zrm::platform_texts {

// Reasons an open of a serial device fails, after "path: ".
inline constexpr const char* kDeviceBusy = "устройство занято другой программой";
inline constexpr const char* kNotSerialDevice = "это не последовательный порт";
inline constexpr const char* kUnsupportedSpeed = "скорость не поддерживается: ";
// Permission hint; the group that owns the device follows in quotes.
inline constexpr const char* kJoinGroupHint =
    "Пользователь должен входить в группу, которой принадлежит устройство: ";

}  // namespace zrm::platform_texts
