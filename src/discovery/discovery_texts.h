#pragma once
// The discovery's own texts, exactly as the user sees them.

namespace zrm::discovery_texts {

inline constexpr const char* kAccessible = "доступ есть";
// Followed by the command that gives access.
inline constexpr const char* kNoAccess = "нет доступа, выполните: ";
inline constexpr const char* kLogInAgain = " и войдите в систему заново";
inline constexpr const char* kBuiltinPort = "встроенный порт";
inline constexpr const char* kUsbAdapter = "USB-адаптер";

}  // namespace zrm::discovery_texts
