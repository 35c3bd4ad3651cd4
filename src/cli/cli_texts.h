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

// `read` into a name that cannot hold a profile; the reason follows.
inline constexpr const char* kCannotSaveProfile = "Профиль нельзя сохранить в ";

// A file named as a profile that holds none of a profile's keys.
inline constexpr const char* kNotAProfile = "Файл не является профилем настроек: ";
// `report --pdf -` that cannot send the PDF to stdout; the reason follows.
inline constexpr const char* kCannotSendPdf = "Невозможно вывести PDF в стандартный вывод: ";

// A --device that is the terminal the program itself runs on (after the
// path); frames are never sent there.
inline constexpr const char* kDeviceIsOwnTerminal =
    ": это терминал, на котором работает сама программа, а не порт прибора";

// The search's instruments that cannot be kept for watch; the file and the
// system's reason follow.
inline constexpr const char* kCannotKeepSearch = "Невозможно сохранить результат поиска в файл ";

// watch: the table's column heads (the lamps of a channel are set point 1,
// set point 2 and the break "О"), availability words and CSV header.
inline constexpr const char* kAddressHead = "Адр";
inline constexpr const char* kTypeHead = "Тип";
inline constexpr const char* kSerialHead = "Номер";
inline constexpr const char* kFirmwareHead = "Версия";
inline constexpr const char* kChannel1Head = "Канал 1";
inline constexpr const char* kChannel2Head = "Канал 2";
inline constexpr const char* kLamps1Head = "К1";
inline constexpr const char* kLamps2Head = "К2";
inline constexpr const char* kRelaysHead = "Реле";
inline constexpr const char* kSinceHead = "Ответ";
inline constexpr const char* kAvailabilityHead = "Связь";
inline constexpr const char* kSeconds = " с";
inline constexpr const char* kOnline = "на связи";
inline constexpr const char* kOffline = "нет связи";
inline constexpr const char* kNotYet = "опрос…";
inline constexpr const char* kStaleMark = "*";

// The batch: its plan, its results file, its display and its summary.
inline constexpr const char* kNoPlan = "План не найден: ";
inline constexpr const char* kCannotWriteResults = "Невозможно записать файл результатов ";
inline constexpr const char* kPlanLine = "строка ";
inline constexpr const char* kPlanEmpty = "в плане нет ни одной строки";
inline constexpr const char* kPlanNoColumn = "в заголовке нет столбца ";
inline constexpr const char* kColumnTwice = "в заголовке дважды столбец ";
// A plan with unsound rows: each is listed, then this, and nothing runs.
inline constexpr const char* kPlanNotRun = "план не выполнялся: исправьте строки выше";
// A --results that exists and is no regular file (a pipe, a device, a folder).
inline constexpr const char* kResultsNotRegular = ": это не обычный файл";
// A row's result that could not be appended: the batch stops; the rows not
// in the file follow on stderr, one results line each.
inline constexpr const char* kResultsLost =
    "Пакет остановлен: невозможно записать строку в файл результатов ";
inline constexpr const char* kResultsNotRecorded = "Строки, не записанные в файл результатов:";
// --resume over a results file whose header cannot say which plan a row
// belongs to (a file of an earlier version lacks the plan columns).
inline constexpr const char* kResumeNothing = ": --resume не пропустит ни одной строки";
// A file name another row of the same batch has written: the row's file is
// named after its line and address as well.
inline constexpr const char* kNameTaken = "; файл ";
inline constexpr const char* kNameTakenSavedAs = " уже записан в этом пакете, сохранено как ";
inline constexpr const char* kPlanNoDevice = "не указан порт (device)";
inline constexpr const char* kPlanBadAddress = "адрес должен быть от 1 до 255, а не ";
inline constexpr const char* kPlanBadAction =
    "действие должно быть read, write, changes, verify или report, а не ";
inline constexpr const char* kPlanOwnTerminal =
    "порт (device) — терминал, на котором работает сама программа";
inline constexpr const char* kPlanNoProfile = "для этого действия нужен профиль (profile)";
inline constexpr const char* kBatchAddress = ", адрес ";
inline constexpr const char* kBatchFailed = ", ошибок: ";
inline constexpr const char* kBatchRowDone = "Выполнено";
inline constexpr const char* kBatchWritten = "Записано параметров: ";
inline constexpr const char* kBatchSummary = "Пакет: строк ";
inline constexpr const char* kBatchSucceeded = ", выполнено ";
inline constexpr const char* kBatchFailedRows = ", с ошибкой ";
inline constexpr const char* kBatchNotRun = ", не выполнено ";

// history.
inline constexpr const char* kNoHistoryEvents = "В истории изменений нет таких событий.";
inline constexpr const char* kHistoryChainsHold = "Цепочки истории изменений целы, событий: ";
inline constexpr const char* kHistoryEdited = "Событие изменено после записи: ";
inline constexpr const char* kHistoryGap = "Перед событием недостаёт события или порядок нарушен: ";
inline constexpr const char* kHistoryBadDate = "a DATE is written YYYY-MM-DD: ";

}  // namespace zrm::cli_texts
