#pragma once
// The history's texts, as the user reads them.

#include <string_view>

namespace zrm::history_texts {

inline constexpr std::string_view kNotOpened = "История изменений не открыта: ";
inline constexpr std::string_view kNotWritten = "Событие не записано в историю изменений: ";
inline constexpr std::string_view kNotRead = "История изменений не прочитана: ";
inline constexpr std::string_view kNotSqlite = "файл не является базой истории";
inline constexpr std::string_view kDamaged = "файл повреждён";
inline constexpr std::string_view kNewerSchema = "файл из более новой версии программы";

}  // namespace zrm::history_texts
