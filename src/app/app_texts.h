#pragma once
// The application shell's own texts, exactly as the user sees them.

namespace zrm::app_texts {

inline constexpr const char* kErrorCaption = "Ошибка";

// Warnings about the link configuration read at start.
inline constexpr const char* kLinkCheckCaption =
    "Проверьте параметры установления связи с прибором";
inline constexpr const char* kPortNumberTooBig = "Слишком большой номер COM порта.";
inline constexpr const char* kLargeTimeOut =
    "Задан большой тайм аут. Работать будет можно, но неудобно.";

// A file that cannot be written; the path follows, the system's reason goes
// on a second line.
inline constexpr const char* kUnableToWrite = "Unable to write to ";

// The instrument search: its progress panel and how it ended.
inline constexpr const char* kSearchTitle = "Поиск прибора";
inline constexpr const char* kSearchSpeed = "Скорость: ";
inline constexpr const char* kSearchAddress = "Адрес: ";
inline constexpr const char* kSearchFound = "Найдено приборов: ";
inline constexpr const char* kSearchEscHint = "ESC - остановить поиск";
inline constexpr const char* kSearchStopped = "Поиск остановлен пользователем.";
inline constexpr const char* kSearchVanished =
    "Устройство пропало во время поиска (отключен адаптер?). Найденное до этого сохранено.";
inline constexpr const char* kSearchSpeedRefused = "Порт не принимает скорость: ";
inline constexpr const char* kSearchNoPort = "Порт не открыт: ";
inline constexpr const char* kSearchNothingFound = "Прибор не найден.";
inline constexpr const char* kSearchOtherSpeed = "Что-то отвечает на другой скорости";
// The speed searched, where the answer could not be read, follows the address.
inline constexpr const char* kSearchUnreadableAt = " (на скорости ";
inline constexpr const char* kSearchUnreadableEnd = " ответ не читается)";

}  // namespace zrm::app_texts

// Comparison with the instrument, backups and the write of changes. Lists
// of differences or parameters follow the texts that end in a line break.
namespace zrm::app_texts {

inline constexpr const char* kCompareCaption = "Сравнение с прибором";
// A profile (a backup the history names) that cannot be compared: its path,
// ": " and why follow.
inline constexpr const char* kProfileNotCompared = "Сравнение с прибором не начато: ";
inline constexpr const char* kNotWholeProfile = "это не полный файл настроек прибора";
inline constexpr const char* kChangesCaption = "Запись изменений";
inline constexpr const char* kBackupCaption = "Резервная копия";
inline constexpr const char* kOtherInstrumentQuestion =
    "К порту подключён другой прибор, не тот, чьи настройки в редакторе:\n";
inline constexpr const char* kContinueAnyway = "Всё равно продолжить?";
inline constexpr const char* kConfirmChanges =
    "В прибор будут записаны изменения (сейчас в приборе → будет записано из редактора):\n";
inline constexpr const char* kWriteThem = "Записать их?";
inline constexpr const char* kNothingToWrite =
    "Настройки прибора совпадают с редактором: записывать нечего.";
// Followed by the path, ": " and the system's reason.
inline constexpr const char* kBackupNotSaved = "Резервная копия не сохранена, запись не начата.\n";
inline constexpr const char* kWriteStoppedAfter = "Запись остановлена. Записано:\n";
inline constexpr const char* kWriteStoppedNothing = "Запись остановлена, ничего не записано.";
inline constexpr const char* kNothingWholly = "ни один параметр до конца\n";
inline constexpr const char* kNeitherOldNorNew =
    "В приборе сейчас ни прежнее, ни новое значение:\n";
inline constexpr const char* kWriteChangesAgain =
    "Повторная запись изменений из того же профиля допишет остальное.\n";
inline constexpr const char* kBackupIsIn = "Прежние настройки прибора сохранены в ";
// The description lines of a backup profile.
inline constexpr const char* kBackupDescription = "Резервная копия прибора ZRM";
inline constexpr const char* kBackupReadAt = "Прочитана перед записью ";
// A device byte that did not read back as written, after its name:
// "Регулятор: Интервал …: отправлено 31, в приборе 32".
inline constexpr const char* kByteSent = ": отправлено ";
inline constexpr const char* kByteHeld = ", в приборе ";

}  // namespace zrm::app_texts

// The write journal: a write that began and has not ended with success.
namespace zrm::app_texts {

inline constexpr const char* kJournalCaption = "Журнал записи";
inline constexpr const char* kHistoryCaption = "История изменений";
// Follows the history's own message (the file and why).
inline constexpr const char* kHistoryBlocksWrite =
    "\nЗапись в прибор не начата: без записи в историю изменений прибор не меняется.";
inline constexpr const char* kHistoryWriteBegun = "запись начата";
// The result of a write's opening event, in a listing.
inline constexpr const char* kHistoryUnderWay = "идёт";
// The window's list of the history: the actions, an outcome, a place.
inline constexpr const char* kHistoryRead = "Чтение";
inline constexpr const char* kHistoryCompare = "Сравнение";
inline constexpr const char* kHistoryBackup = "Резервная копия";
inline constexpr const char* kHistorySearch = "Поиск";
inline constexpr const char* kHistoryWrite = "Запись";
inline constexpr const char* kHistoryWriteWithBackup = "Запись с резервной копией";
inline constexpr const char* kHistoryChanges = "Запись изменений";
inline constexpr const char* kHistoryResume = "Дописывание прерванной записи";
inline constexpr const char* kHistoryRollback = "Возврат как было";
inline constexpr const char* kHistoryPlantWrite = "Запись из сети";
inline constexpr const char* kHistoryPlantRepair = "Возврат после записи из сети";
inline constexpr const char* kHistoryDone = "выполнено";
inline constexpr const char* kHistoryUnfinished = "не завершена";
// A failure without a message: its result code follows.
inline constexpr const char* kHistoryFailedCode = "код результата ";
inline constexpr const char* kHistoryAddress = ", адрес ";
inline constexpr const char* kHistoryFoundAt = "найден на скорости ";
inline constexpr const char* kHistoryNoneFound = "прибор не найден";
// "…/zrm48setup.ini, строка 3: адрес базы истории не разбирается: …"
inline constexpr const char* kAtLine = ", строка ";
// "Запись в прибор 047-12345, начатая 08.12.2026 в 12:01, не завершена."
inline constexpr const char* kUnfinishedWriteStart = "Запись в прибор ";
inline constexpr const char* kUnfinishedWriteBegun = ", начатая ";
inline constexpr const char* kUnfinishedWriteAt = " в ";
inline constexpr const char* kUnfinishedWriteEnd = ", не завершена.";
// Followed by the path, ": " and the system's reason.
inline constexpr const char* kJournalNotSaved = "Журнал записи не сохранён, запись не начата.\n";
// Followed by the path, ": " and what is wrong with it.
inline constexpr const char* kJournalUnreadable =
    "Запись журнала не прочитана и оставлена как есть: ";
inline constexpr const char* kJournalDamaged = "файл повреждён";
inline constexpr const char* kJournalNewer = "файл из более новой версии программы";
inline constexpr const char* kJournalNoSettings = "нет файла записываемых настроек ";
inline constexpr const char* kJournalSettingsDamaged = "повреждён файл записываемых настроек ";
// A write that would replace an entry that cannot be read.
inline constexpr const char* kJournalBlocksWrite =
    "\nЗапись в прибор не начата: сначала разберитесь с этим файлом.";
// Another program holds the instrument's journal lock; followed by the
// entry's path.
inline constexpr const char* kWriteRunningElsewhere =
    "В этот прибор уже идёт запись из другой программы, новая запись не начата.\n"
    "Запись журнала: ";
// Completing or rolling back a write when there is none, or no backup.
inline constexpr const char* kNothingUnfinished = "Незавершённой записи в прибор ";
inline constexpr const char* kNothingUnfinishedEnd = " нет.";
inline constexpr const char* kNoBackupToReturn =
    "\nВернуть как было нельзя: резервной копии перед ней нет";
// The description lines of the settings a journal entry keeps.
inline constexpr const char* kJournalDescription = "Записывается в прибор ZRM";
inline constexpr const char* kJournalStartedAt = "Запись начата ";

}  // namespace zrm::app_texts
