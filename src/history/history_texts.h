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

// The plant's database (PostgreSQL).
inline constexpr std::string_view kBadDatabaseUrl = "адрес базы истории не разбирается: ";
inline constexpr std::string_view kNotDatabaseUrl =
    "нужен адрес вида postgresql://пользователь@сервер:порт/база";
inline constexpr std::string_view kBadPort = "порт не число 1..65535: ";
// "база истории postgresql://…: why", after the local file's reason.
inline constexpr std::string_view kDatabase = "база истории ";
inline constexpr std::string_view kNoTables =
    "в базе нет таблиц истории, а у роли нет права их создать: их создаёт владелец базы";
inline constexpr std::string_view kNotOurTables =
    "таблицы meta и events в базе не из истории изменений";
inline constexpr std::string_view kNewerDatabase = "база из более новой версии программы";
// The database cannot be reached; the events wait in the local file.
inline constexpr std::string_view kDatabaseUnreachable = "База истории недоступна: ";
inline constexpr std::string_view kEventsWait = "; события ждут отправки в ";
// The local file cannot be written; the events go to the database alone.
inline constexpr std::string_view kOnlyInDatabase = "; события записываются только в базу истории ";

}  // namespace zrm::history_texts
