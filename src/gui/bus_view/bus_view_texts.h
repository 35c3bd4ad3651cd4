#pragma once
// The Russian texts of the window "Приборы на линии": its menu item,
// caption, column heads, availability and time texts, controls and the
// question before a picked address goes into dev.dat.

namespace zrm::gui::bus_text {

inline constexpr const char* kMenuItem = "Приборы на линии…";
// Followed by the port number and its device path.
inline constexpr const char* kCaption = "Приборы на линии — порт ";

// Column heads, in the order of the table's columns.
inline constexpr const char* kAddressColumn = "Адрес";
inline constexpr const char* kTypeColumn = "Тип";
inline constexpr const char* kSerialColumn = "Заводской номер";
inline constexpr const char* kFirmwareColumn = "Версия ПО";
inline constexpr const char* kValue1Column = "Канал 1";
inline constexpr const char* kStatus1Column = "Состояние канала 1";
inline constexpr const char* kLamps1Column = "Сигналы канала 1";
inline constexpr const char* kValue2Column = "Канал 2";
inline constexpr const char* kStatus2Column = "Состояние канала 2";
inline constexpr const char* kLamps2Column = "Сигналы канала 2";
inline constexpr const char* kRelaysColumn = "Реле";
inline constexpr const char* kSinceColumn = "С последнего ответа";
inline constexpr const char* kAvailabilityColumn = "Связь";

// A cell with nothing known yet, and lamps that are all off.
inline constexpr const char* kNothing = "—";
inline constexpr const char* kLampsOff = "нет";

inline constexpr const char* kUnknown = "ожидание ответа";
inline constexpr const char* kOnline = "на связи";
inline constexpr const char* kOffline = "нет связи";
inline constexpr const char* kLineGone = "нет связи: устройство отключено";

// The time since the last answer: "12 с", "3 мин 05 с", "2 ч 03 мин".
inline constexpr const char* kSeconds = " с";
inline constexpr const char* kMinutes = " мин ";
inline constexpr const char* kHours = " ч ";
inline constexpr const char* kMinutesEnd = " мин";

// The address field and its button.
inline constexpr const char* kAddressesLabel = "Адреса:";
inline constexpr const char* kAddressesHint =
    "Адреса приборов на линии: через запятую, диапазоны через дефис, например 1-4,7. "
    "Сначала стоят адреса, найденные последним поиском на этом порту.";
inline constexpr const char* kApplyAddresses = "Опрашивать";
// Followed by the parser's message.
inline constexpr const char* kBadAddresses = "Адреса не приняты: ";

inline constexpr const char* kLogPerInstrument = "Журнал измерений каждого прибора";
inline constexpr const char* kLogPerInstrumentHint =
    "Каждый ответ прибора записывается в файл IZM-<префикс>-<номер>.txt рабочей папки "
    "в формате журнала измерений.";
inline constexpr const char* kConfigure = "Настроить этот прибор";
inline constexpr const char* kConfigureHint =
    "Пока открыто это окно, «Прочитать из прибора» и другие команды обращаются к выбранному "
    "прибору (также двойной щелчок по строке).";

// Why the view does not poll now.
inline constexpr const char* kPolling = "Опрос идёт";
inline constexpr const char* kPausedForCommand = "Опрос приостановлен: выполняется команда";
inline constexpr const char* kPausedForPage =
    "Опрос приостановлен: окно опрашивает прибор на странице «Текущие значения»";
inline constexpr const char* kLineGoneState =
    "Опрос остановлен: устройство отключено, линия проверяется раз в секунду";
inline constexpr const char* kNoneAnswers = "Опрос идёт, но ни один прибор не отвечает";

// The question after an instrument was picked: the address, then the end.
inline constexpr const char* kStoreAddressCaption = "Адрес прибора";
inline constexpr const char* kStoreAddressQuestion = "Команды окна обращаются к прибору с адресом ";
inline constexpr const char* kStoreAddressQuestionEnd =
    ", пока открыто окно «Приборы на линии».\nЗаписать этот адрес в dev.dat, чтобы прибор "
    "выбирался и при следующих запусках?";
// The status bar after a pick; the address follows.
inline constexpr const char* kPicked = "Команды обращаются к прибору с адресом ";

}  // namespace zrm::gui::bus_text
