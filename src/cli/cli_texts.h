#pragma once
// The command line's own texts. Messages of the core reach stderr in the
// core's words; these are the few the command line adds around them.

namespace zrm::cli_texts {

// The answer printed under a question of the checks.
inline constexpr const char* kAnswerPrefix = "Ответ: ";
inline constexpr const char* kYes = "Да";
inline constexpr const char* kNo = "Нет";

// Joins the caption of a message box and its text on stderr.
inline constexpr const char* kCaptionSeparator = ": ";

// Joins the group line and the step line of a progress line.
inline constexpr const char* kProgressSeparator = " — ";

// A profile named on the command line that cannot be read; the system's
// reason follows.
inline constexpr const char* kNoProfile = "Профиль не найден: ";

// A file named as a profile that holds none of a profile's keys.
inline constexpr const char* kNotAProfile = "Файл не является профилем настроек: ";

}  // namespace zrm::cli_texts
