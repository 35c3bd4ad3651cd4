#pragma once
// The window's own Russian texts: captions, button texts, hints (tooltips),
// dialog filters. List items live in editor/item_lists.h, message texts of
// the core in their subsystems.

namespace zrm::gui::text {

// Window captions; the version text (the project's version from CMake) keeps
// its trailing blank.
inline constexpr const char* kVersion = ZRM_VERSION " ";
inline constexpr const char* kStartCaption = "Настройка ЗРМ 48xx пользовательская версия ";
inline constexpr const char* kOpenedCaption = "Настройка ЗРМ 48xx ";

// The per-user working folder (--user-folder) that could not be made.
inline constexpr const char* kCannotEnterFolder = "Невозможно открыть рабочую папку ";

// Menu "Файл" and its dialogs.
inline constexpr const char* kFileMenu = "Файл";
inline constexpr const char* kOpenItem = "Прочитать из файла настройки прибора";
inline constexpr const char* kSaveItem = "Сохранить настройки прибора в файл";
inline constexpr const char* kExitItem = "Выход";
inline constexpr const char* kProfileFilter = "Данные настройки прибора (*.prf)";
inline constexpr const char* kAllFilesFilter = "Все файлы (*)";

// The file dialogs' list of files in Russian whatever the desktop's
// language: the column heads, the kind of an entry and the size units
// (numbers keep the point: "1.5 МБ").
inline constexpr const char* kNameColumn = "Имя";
inline constexpr const char* kSizeColumn = "Размер";
inline constexpr const char* kKindColumn = "Тип";
inline constexpr const char* kModifiedColumn = "Изменён";
inline constexpr const char* kFolderKind = "Папка";
inline constexpr const char* kFileKind = "Файл";
inline constexpr const char* kBytesUnit = " байт";
inline constexpr const char* kSizeUnits[] = {" КБ", " МБ", " ГБ", " ТБ"};
// Day, month, year, hours and minutes of a file's last change.
inline constexpr const char* kModifiedFormat = "dd.MM.yyyy hh:mm";

// Menu "Правка": undo and redo over the editor's states.
inline constexpr const char* kEditMenu = "Правка";
inline constexpr const char* kUndoItem = "Отменить";
inline constexpr const char* kRedoItem = "Вернуть";

// Top strip.
inline constexpr const char* kPortCaption = "Номер порта";
inline constexpr const char* kPortHint = "Задаем номер порта компьютора";
inline constexpr const char* kReadButton = "Прочитать из прибора";
inline constexpr const char* kReadHint = "Прочитать все настройки .";
inline constexpr const char* kWriteButton = "Записать в прибор";
inline constexpr const char* kWriteHint = "Записать все настройки.";
inline constexpr const char* kDescriptionCaption = "Описание настроек";
inline constexpr const char* kDescriptionHint =
    "Текстовое описание файла настроек прибора.  Перед записью нового файла сюда можно внести "
    "свои комментарии.";

// Notebook pages, index 0..4.
inline constexpr const char* kPageChannels = "Настройки каналов";
inline constexpr const char* kPageRelays = "Настройки реле";
inline constexpr const char* kPageGeneral = "Общие";
inline constexpr const char* kPageCurrentValues = "Текущие значения";
inline constexpr const char* kPageConfiguration = "Конфигурация";

// Page "Настройки каналов": captions; the two hysteresis step captions are
// spelled differently on purpose (channel 1 keeps the instrument's typo).
inline constexpr const char* kChannel1 = "Канал 1";
inline constexpr const char* kChannel2 = "Канал 2";
inline constexpr const char* kMinimum = "Минимум";
inline constexpr const char* kMaximum = "Максимум";
inline constexpr const char* kShift = "0";
inline constexpr const char* kAdjust = "Диапазон";
inline constexpr const char* kSensorType = "Тип датчика";
inline constexpr const char* kSquareRoot = "Корнеизвлечение";
inline constexpr const char* kSetpoint1Type = "Уставка I Тип";
inline constexpr const char* kSetpoint1Value = "Величина I";
inline constexpr const char* kHysteresis1 = "Гистерезис I";
inline constexpr const char* kSetpoint2Type = "Уставка II Тип";
inline constexpr const char* kSetpoint2Value = "Величина II";
inline constexpr const char* kHysteresis2 = "Гистерезис II";
inline constexpr const char* kSetpointStep = "Шаг изменения уставки";
inline constexpr const char* kHysteresisStep1 = "Шаг изменеия гистерезиса";
inline constexpr const char* kHysteresisStep2 = "Шаг изменения гистерезиса";
inline constexpr const char* kAveraging = "Усреднение";
inline constexpr const char* kDigits = "Знаков";
inline constexpr const char* kObservations = "Наблюдения";

// Page "Настройки каналов": hints.
inline constexpr const char* kMinimumHint =
    "Минимум диапазона.Для унифицированных входов его можно изменить.";
inline constexpr const char* kMaximumHint =
    "Максимум диапазона.Для унифицированных входов его можно изменить.";
inline constexpr const char* kShiftHint = "Смещение измеренного значения.";
inline constexpr const char* kAdjustHint = "Подстройка величины диапазона.";
inline constexpr const char* kSensorTypeHint = "Задаем тип датчика в канале";
inline constexpr const char* kSquareRootHint =
    "Включение извлечения корня при расчете значений унифицированных сигналов.";
inline constexpr const char* kSetpointTypeHint = "Задаем тип уставки";
inline constexpr const char* kSetpoint1Hint = "Величина уставки 1.";
inline constexpr const char* kHysteresis1Hint = "Величина гистерезиса уставки 1.";
inline constexpr const char* kSetpoint2Hint = "Величина уставки 2.";
inline constexpr const char* kHysteresis2Hint = "Величина гистерезиса уставки 2.";
inline constexpr const char* kSetpointStepHint = "Задаем шаг изменения уставки";
inline constexpr const char* kHysteresisStepHint = "Задаем шаг изменения гистерезиса";
inline constexpr const char* kAveragingHint = "Задаем число усреднений измеренного значения";
inline constexpr const char* kDigitsHint = "Задаем число знаков после запятой";
// A number field whose text is not a number: the first line of its tooltip.
inline constexpr const char* kNotANumberHint =
    "Здесь не число: значение не будет принято. Введите число, например 124.5";
inline constexpr const char* kObservationsHint =
    "Задаем число одинаковых наблюдений перед срабатыванием реле";

// Page "Настройки реле" ("импулься" is the instrument's own spelling).
inline constexpr const char* kRelayTitle = "Назначение реле на воздействие";
inline constexpr const char* kRegulatorTitle = "Параметры регулятора";
inline constexpr const char* kDecisionInterval = "Интервал принятия решения";
inline constexpr const char* kMaximumPulse = "Максимальная длительность импулься";
inline constexpr const char* kRegulator = "Регулятор";
inline constexpr const char* kRelayGridHint =
    "Стявя значек в ячейке включаем реле от данного события.";
// Under the grid: the grid marks cells from the settings with "*" and cells
// clicked with "+".
inline constexpr const char* kRelayMarksLegend =
    "«*» — из прочитанных настроек, «+» — поставлено щелчком; оба знака означают одно: реле "
    "включается от этого события.";
inline constexpr const char* kDecisionIntervalHint =
    "Через это время прибор будет выдавать управляющее воздействие на задвижку.";
inline constexpr const char* kMaximumPulseHint =
    "При максимальном рассогласовании управляющий импульс будет длится столько секунд.";

// Page "Общие".
inline constexpr const char* kFirmwareVersion = "Версия внутреннего ПО прибора";
inline constexpr const char* kDeviceType = "Тип прибора";
inline constexpr const char* kDeviceTypeHint = "Задаем тип функционирования прибора";
inline constexpr const char* kErrorDisplay = "Отображение ошибки";
inline constexpr const char* kErrorDisplayHint =
    "Для поиска ошибки можем задать расширенную индикацию";
inline constexpr const char* kProductionTitle = "Параметры назначаемые при производстве";
inline constexpr const char* kDeviceNumber = "Номер прибора";
inline constexpr const char* kNumberHyphen = "-";
inline constexpr const char* kSerialHint = "Здесь задается заводской номер прибора";

// Page "Текущие значения".
inline constexpr const char* kMeasuredValue = "Измеренное значение";
inline constexpr const char* kSetpoint1 = "Уставка 1";
inline constexpr const char* kSetpoint2 = "Уставка 2";
inline constexpr const char* kBreak = "Обрыв";
inline constexpr const char* kRelays = "Реле";
inline constexpr const char* kRelay1 = "Реле 1";
inline constexpr const char* kRelay2 = "Реле 2";
inline constexpr const char* kButtons = "Кнопки";
inline constexpr const char* kButtonOne = "1";
inline constexpr const char* kButtonHysteresis = "Гистерезис";
inline constexpr const char* kButtonTwo = "2";
inline constexpr const char* kButtonZero = "0";
inline constexpr const char* kButtonRange = "Диапазон";
inline constexpr const char* kEncoder = "Угловой кодировщик";
inline constexpr const char* kSingleLeds = "Единичные светодиоды";
// The trend chart of the page and its export.
inline constexpr const char* kTrendPause = "Остановить график";
inline constexpr const char* kTrendResume = "Продолжить график";
inline constexpr const char* kTrendSave = "Сохранить в CSV";
inline constexpr const char* kTrendSaveTitle = "Сохранить показанные значения";
inline constexpr const char* kCsvFilter = "Таблица CSV (*.csv)";
// Followed by the file name, ": " and the system's reason (the box), or by
// the file name alone (the status bar).
inline constexpr const char* kCannotWriteFile = "Невозможно записать файл ";

// The status bar: what the last command did, with which instrument and for
// how long ("Настройки прочитаны из прибора 047-12345 за 2,9 с").
inline constexpr const char* kReadDone = "Настройки прочитаны из прибора ";
inline constexpr const char* kWriteDone = "Настройки записаны и проверены";
inline constexpr const char* kInDevice = " в приборе ";
inline constexpr const char* kReportDone = "Отчёт сформирован";
inline constexpr const char* kFromDevice = " по прибору ";
inline constexpr const char* kTookSeconds = " за ";
inline constexpr const char* kSecondsUnit = " с";
inline constexpr const char* kCommandFailed = "Команда не выполнена: ";
inline constexpr const char* kPortNotOpen = "Порт не открыт: ";
inline constexpr const char* kProfileSaved = "Настройки сохранены в файл ";
inline constexpr const char* kProfileOpened = "Настройки прочитаны из файла ";
inline constexpr const char* kFileSaved = "Файл сохранён: ";
// What "Отменить" and "Вернуть" took back or did again, followed by the
// words of the operation: "Отменено: изменение поля «Величина I» канала 1".
inline constexpr const char* kUndone = "Отменено: ";
inline constexpr const char* kRedone = "Повторено: ";
inline constexpr const char* kReadFromDeviceStep = "чтение из прибора";
inline constexpr const char* kReadFromFileStep = "чтение из файла ";
inline constexpr const char* kFieldEditStep = "изменение поля «";
inline constexpr const char* kFieldEditStepEnd = "»";
inline constexpr const char* kOfChannel = " канала ";

// Page "Конфигурация".
inline constexpr const char* kBuildPage = "Сформировать страницу";
inline constexpr const char* kBuildPageHint =
    "Из прибора читается конфигурация и готовится сводное описание настроек.  Его можно "
    "распечатать.";
// The report's print preview and its PDF copy.
inline constexpr const char* kPreviewCaption = "Страница конфигурации";
inline constexpr const char* kSavePdf = "Сохранить в PDF";
inline constexpr const char* kPdfFilter = "Документы PDF (*.pdf)";
inline constexpr const char* kErrorCaption = "Ошибка";

// An error no part of the program expected; its own text follows on the
// next line when it has one.
inline constexpr const char* kUnexpectedError =
    "Непредвиденная ошибка программы. Окно продолжает работу; сохраните настройки в файл.";

// Menu "Прибор": the comparison with the instrument, the write of changes
// and the backups.
inline constexpr const char* kDeviceMenu = "Прибор";
inline constexpr const char* kCompareItem = "Сравнить с прибором";
inline constexpr const char* kWriteChangesItem = "Записать изменения";
inline constexpr const char* kBackupsItem = "Резервные копии…";
inline constexpr const char* kBackupBeforeWriteItem = "Резервная копия перед записью";
inline constexpr const char* kCompareTitle = "Сравнение с прибором";
inline constexpr const char* kGroupColumn = "Группа";
inline constexpr const char* kParameterColumn = "Параметр";
inline constexpr const char* kInDeviceColumn = "В приборе";
inline constexpr const char* kInEditorColumn = "В редакторе";
inline constexpr const char* kCopyButton = "Копировать";
inline constexpr const char* kCloseButton = "Закрыть";
inline constexpr const char* kNoDifferences =
    "Различий нет: прибор хранит то, что записала бы запись.";
inline constexpr const char* kDifferencesFound = "Различий: ";
inline constexpr const char* kCompareDone = "Сравнено с прибором, различий: ";
inline constexpr const char* kChangesWritten = "Изменения записаны, параметров: ";
inline constexpr const char* kNothingWritten = "Изменений нет, ничего не записано";
inline constexpr const char* kBackupsTitle = "Резервные копии прибора ";
inline constexpr const char* kRestoreButton = "Восстановить";
inline constexpr const char* kRestoreHint =
    "Открыть выбранную копию в редакторе и записать её в прибор целиком, после обычных проверок.";
// The question before a restore: the backup's time, kRestoreQuestionEnd,
// then the file's path.
inline constexpr const char* kRestoreCaption = "Восстановление из резервной копии";
inline constexpr const char* kRestoreQuestion = "Записать в прибор целиком резервную копию от ";
inline constexpr const char* kRestoreQuestionEnd =
    "?\nВсе настройки прибора будут заменены настройками копии.\n";
inline constexpr const char* kNoBackups = "Резервных копий этого прибора в рабочей папке нет.";
// "Прибор → История изменений…": the events of the instrument at hand, or
// of all, newest first.
inline constexpr const char* kHistoryItem = "История изменений…";
inline constexpr const char* kHistoryTitle = "История изменений прибора ";
inline constexpr const char* kHistoryTitleAll = "История изменений: все приборы";
inline constexpr const char* kHistoryAllInstruments = "Все приборы";
inline constexpr const char* kHistoryNoInstrumentHint =
    "Прибор ещё не прочитан: показаны события всех приборов.";
inline constexpr const char* kHistoryActionLabel = "Действие:";
inline constexpr const char* kHistoryAnyAction = "Все действия";
inline constexpr const char* kHistorySince = "с";
inline constexpr const char* kHistoryUntil = "по";
inline constexpr const char* kHistoryDateFormat = "dd.MM.yyyy";
inline constexpr const char* kHistoryRefresh = "Обновить";
inline constexpr const char* kHistoryExport = "Экспорт в CSV…";
inline constexpr const char* kHistoryExportTitle = "Экспорт истории изменений";
inline constexpr const char* kHistoryTimeColumn = "Время";
inline constexpr const char* kHistoryWhoColumn = "Кто";
inline constexpr const char* kHistoryWhereColumn = "Где";
inline constexpr const char* kHistoryInstrumentColumn = "Прибор";
inline constexpr const char* kHistoryActionColumn = "Действие";
inline constexpr const char* kHistoryOutcomeColumn = "Итог";
inline constexpr const char* kHistoryChangesColumn = "Было → стало";
inline constexpr const char* kHistoryReading = "Чтение истории изменений…";
inline constexpr const char* kHistoryShown = "Событий: ";
inline constexpr const char* kHistoryShownOf = " из ";
inline constexpr const char* kHistoryHint =
    "Двойной щелчок по событию с резервной копией сравнивает прибор с этой копией.";
inline constexpr const char* kHistoryNoBackup = "У этого события нет резервной копии.";
inline constexpr const char* kHistoryComparing = "Прибор сравнивается с резервной копией ";
inline constexpr const char* kHistoryBusy =
    "Сравнение не начато: выполняется команда. Повторите, когда она закончится.";
// The tooltip of a row: the program, the firmware, the backup and the
// journal entry, each on its line after its name.
inline constexpr const char* kHistoryProgram = "Программа: ";
inline constexpr const char* kHistoryFirmware = "Версия ПО прибора: ";
inline constexpr const char* kHistoryBackupFile = "Резервная копия: ";
inline constexpr const char* kHistoryJournalFile = "Журнал записи: ";
// The comparison with a backup: the title names its file, the fourth
// column holds its values.
inline constexpr const char* kCompareBackupTitle = "Сравнение прибора с резервной копией ";
inline constexpr const char* kInBackupColumn = "В резервной копии";
inline constexpr const char* kNoDifferencesFromBackup =
    "Различий нет: прибор хранит то же, что резервная копия.";
// Followed by the file name, ": " and the system's reason.
inline constexpr const char* kCannotKeepSetting = "Невозможно сохранить настройку в файл ";
// An unfinished write: the box that offers to end it, the reminder in the
// status bar and the items of the menu "Прибор" that end it.
inline constexpr const char* kUnfinishedWriteTitle = "Незавершённая запись";
inline constexpr const char* kResumeButton = "Дописать";
inline constexpr const char* kRollbackButton = "Вернуть как было";
inline constexpr const char* kLaterButton = "Позже";
inline constexpr const char* kResumeItem = "Дописать прерванную запись";
inline constexpr const char* kRollbackItem = "Вернуть как было до прерванной записи";
// The heading of the question before the write that ends an unfinished
// write, naming where the values come from: the backup's time, ", ", its
// path, then kRollbackHeadingEnd; or the unfinished write.
inline constexpr const char* kRollbackHeading =
    "В прибор будут записаны изменения из резервной копии от ";
inline constexpr const char* kRollbackHeadingEnd =
    "\n(сейчас в приборе → будет записано из резервной копии):\n";
inline constexpr const char* kResumeHeading =
    "В прибор будут дописаны изменения прерванной записи\n(сейчас в приборе → будет записано "
    "из прерванной записи):\n";
// A write that stopped midway: the group under way follows, then
// kMixedConfiguration.
inline constexpr const char* kWriteStoppedInGroup = "Запись остановлена в группе «";
inline constexpr const char* kMixedConfiguration =
    "».\nВ приборе теперь смешанная конфигурация: часть параметров новая, часть прежняя.\n";

// Menu "Связь": the serial devices and the instrument search.
inline constexpr const char* kConnectionMenu = "Связь";
inline constexpr const char* kPortsItem = "Порты…";
inline constexpr const char* kFindItem = "Найти прибор…";
// The dialog "Порты".
inline constexpr const char* kPortsCaption = "Порты";
inline constexpr const char* kDeviceColumn = "Устройство";
inline constexpr const char* kByIdColumn = "Постоянное имя";
inline constexpr const char* kDescriptionColumn = "Описание";
inline constexpr const char* kAccessColumn = "Доступ";
inline constexpr const char* kPortsHint =
    "Номер порта в списке окна означает устройство, выбранное здесь. Постоянное имя "
    "(by-id) не меняется, когда адаптер переподключают.";
inline constexpr const char* kPortPrefix = "Порт ";
inline constexpr const char* kSave = "Сохранить";
inline constexpr const char* kCancel = "Отмена";
inline constexpr const char* kNoDevices = "Последовательные порты не найдены";
// The search dialogs.
inline constexpr const char* kFindCaption = "Найти прибор";
inline constexpr const char* kSpeedsLabel = "Скорости:";
inline constexpr const char* kAddressesFrom = "Адреса с";
inline constexpr const char* kAddressesTo = "по";
inline constexpr const char* kMarginLabel = "Запас ожидания ответа, мс:";
inline constexpr const char* kFindButton = "Найти";
inline constexpr const char* kFoundCaption = "Найденные приборы";
inline constexpr const char* kAddressColumn = "Адрес";
inline constexpr const char* kSpeedColumn = "Скорость";
inline constexpr const char* kTypeColumn = "Тип";
inline constexpr const char* kSerialColumn = "Заводской номер";
inline constexpr const char* kFirmwareColumn = "Версия ПО";
inline constexpr const char* kUseButton = "Использовать";
inline constexpr const char* kClose = "Закрыть";
// The status bar after the search, "Использовать" and "Порты…". A search
// that did not run to its end says how it ended, then how many it found.
inline constexpr const char* kSearchDone = "Поиск завершён, найдено приборов: ";
inline constexpr const char* kSearchFoundSoFar = " Найдено приборов: ";
inline constexpr const char* kInstrumentUsed = "Используется прибор с адресом ";
inline constexpr const char* kAtSpeed = " на скорости ";
inline constexpr const char* kPortsSaved = "Порты сохранены в dev.dat";
inline constexpr const char* kPortsNotSaved = "Порты не сохранены в dev.dat";
// A USB adapter no port number stands for; its description and path follow,
// then the hint.
inline constexpr const char* kUnmappedAdapter = "Адаптер не назначен номеру порта: ";
inline constexpr const char* kUnmappedHint = " — Связь → Порты…";
// News of the port in use in the status bar's own part; the device path
// follows.
inline constexpr const char* kDeviceLeft = "Устройство отключено: ";
inline constexpr const char* kDeviceBack = "Устройство подключено снова, порт открыт: ";

}  // namespace zrm::gui::text
