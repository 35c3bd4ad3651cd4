#pragma once
// The application shell's own texts, exactly as the user sees them.

namespace zrm::app_texts {

inline constexpr const char* kErrorCaption = "Ошибка";

// Warnings about the link configuration read at start.
inline constexpr const char* kLinkCheckCaption = "Проверьте параметры установления связи с прибором";
inline constexpr const char* kPortNumberTooBig = "Слишком большой номер COM порта.";
inline constexpr const char* kLargeTimeOut =
    "Задан большой тайм аут. Работать будет можно, но неудобно.";

// A file that cannot be written; the path follows, the system's reason goes
// on a second line.
inline constexpr const char* kUnableToWrite = "Unable to write to ";

}  // namespace zrm::app_texts
