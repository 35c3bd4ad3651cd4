#pragma once
// The gateway's own texts: its log lines, the refusals of its configuration
// and of writes from the plant. Topic, JSON and register names are fixed
// English and live with the code that writes them.

namespace zrm::gateway_texts {

// The configuration: "FILE:LINE: " comes before each of these.
inline constexpr const char* kCannotReadConfig = "Невозможно прочитать файл настройки: ";
inline constexpr const char* kNotKeyValue =
    "строка не является ни секцией, ни парой «ключ=значение»";
inline constexpr const char* kBadSection = "неправильное имя секции";
inline constexpr const char* kUnknownSection = "неизвестная секция ";
inline constexpr const char* kSectionTwice = "секция встречается дважды: ";
inline constexpr const char* kKeyOutsideSection = "ключ вне секции";
inline constexpr const char* kUnknownKey = "неизвестный ключ ";
inline constexpr const char* kKeyTwice = "ключ встречается дважды: ";
inline constexpr const char* kNotANumber = "значение не является целым числом: ";
inline constexpr const char* kOutOfRange = "значение вне допустимых пределов ";
inline constexpr const char* kNotSwitch = "значение должно быть 0 или 1: ";
inline constexpr const char* kBadPrefix =
    "префикс не может быть пустым и не может содержать «+», «#» или «/» в начале и в конце";
inline constexpr const char* kBadListen = "адрес должен иметь вид АДРЕС:ПОРТ: ";
inline constexpr const char* kNoDevice = "в секции линии нет ключа Device";
inline constexpr const char* kNoAddresses = "в секции линии нет ключа Addresses";
inline constexpr const char* kDeviceTwice = "устройство уже описано в секции ";
inline constexpr const char* kUnitTwice = "идентификатор Modbus уже занят прибором ";
inline constexpr const char* kListenerTwice = "этот адрес Modbus TCP уже слушает ";
inline constexpr const char* kUnitTooBig = "идентификатор Modbus (UnitOffset + адрес) больше 255: ";
inline constexpr const char* kUnknownParameter =
    "параметр не из списка ch1_th1, ch1_his1, ch1_th2, ch1_his2, ch2_th1, ch2_his1, ch2_th2, "
    "ch2_his2: ";
inline constexpr const char* kNoLines = "не описано ни одной линии (секции LINE1, LINE2, ...)";
inline constexpr const char* kSpeedUnknown = "скорость не поддерживается: ";
inline constexpr const char* kEmptyValue = "пустое значение ключа ";
inline constexpr const char* kEmptyFile = "файл пуст";
inline constexpr const char* kNulByte = "в строке нулевой байт";
inline constexpr const char* kNotUtf8 = "строка не в кодировке UTF-8";
inline constexpr const char* kValueTooLong = "значение длиннее 255 байт";
inline constexpr const char* kBadDevice =
    "устройство должно быть путём (/dev/…), tcp://УЗЕЛ:ПОРТ или rfc2217://УЗЕЛ:ПОРТ с портом "
    "1..65535: ";
inline constexpr const char* kBadUnits =
    "единицы должны иметь вид АДРЕС:ЕДИНИЦА1,ЕДИНИЦА2;АДРЕС:ЕДИНИЦА1,ЕДИНИЦА2…: ";
inline constexpr const char* kUnitsAddressNotOnLine = "в Units адрес, которого нет в Addresses: ";
inline constexpr const char* kUnitsAddressTwice = "в Units адрес указан дважды: ";
inline constexpr const char* kUnitsControl = "в Units управляющий символ";
inline constexpr const char* kRs485OnNetwork =
    "RS485=1 задаётся только для последовательного порта; режим RS-485 сетевой линии "
    "настраивается на сервере портов";
// Followed by the path of the file and why.
inline constexpr const char* kConfigNotRegular = "файл настройки не является обычным файлом: ";
inline constexpr const char* kConfigTooBig = "файл настройки больше 1 МБ: ";

// The command line.
inline constexpr const char* kUnknownOption = "неизвестный параметр командной строки: ";
inline constexpr const char* kOptionNeedsValue = "параметру нужно значение: ";

// The usage text of --help and of a usage error.
inline constexpr const char* kUsage =
    "Использование:\n"
    "  zrm48d [--config ФАЙЛ]           опрашивать приборы и передавать их данные в MQTT и Modbus "
    "TCP\n"
    "  zrm48d --check [--config ФАЙЛ]   проверить настройку, показать, что будет запущено, и "
    "выйти\n"
    "  zrm48d --help | --version\n"
    "Файл настройки по умолчанию: /etc/zrm48/zrm48d.ini\n"
    "Коды завершения: 0 остановлен сигналом, 64 ошибка командной строки, 69 порт Modbus TCP\n"
    "или файлы TLS недоступны, 78 настройка отвергнута.\n";

// Start and stop.
inline constexpr const char* kStarted = "запущен: линий ";
inline constexpr const char* kInstruments = ", приборов ";
inline constexpr const char* kStopping = "остановка по сигналу";
// systemd's STATUS: "линий 16, приборов 128, на связи 127".
inline constexpr const char* kStatusLines = "линий ";
inline constexpr const char* kStatusInstruments = ", приборов ";
inline constexpr const char* kStatusOnline = ", на связи ";
inline constexpr const char* kStopped = "остановлен";
inline constexpr const char* kCannotListen = "Невозможно открыть порт Modbus TCP ";
inline constexpr const char* kModbusListening = "Modbus TCP: ожидание запросов на ";
inline constexpr const char* kCannotReadTlsFile = "Невозможно прочитать файл TLS ";
inline constexpr const char* kTlsFileTooBig = "файл больше 1 МБ";
inline constexpr const char* kNotPemCertificate = "в файле нет сертификата в формате PEM";
inline constexpr const char* kNotPemKey = "в файле нет закрытого ключа в формате PEM без пароля";
inline constexpr const char* kMqttTlsRefused = "Библиотека MQTT отвергла настройки TLS: ";

// The broker.
inline constexpr const char* kMqttConnected = "MQTT: соединение с брокером ";
inline constexpr const char* kMqttLost = "MQTT: соединение с брокером потеряно, повтор: ";
inline constexpr const char* kMqttRefused = "MQTT: брокер отказал в соединении: ";

// A line's device, after the line's section name; "path: why" follows.
inline constexpr const char* kPortNotOpened = "порт не открыт, повтор каждую секунду: ";

// Instruments.
inline constexpr const char* kOnline = "прибор на связи: ";
inline constexpr const char* kOffline = "прибор не отвечает: ";
inline constexpr const char* kOnLine = ", линия ";
inline constexpr const char* kLineWord = "линия ";
inline constexpr const char* kAtAddress = ", адрес ";

// Writes from the plant.
inline constexpr const char* kWritesOff = "запись параметров из сети запрещена ([WRITE] Allow=0)";
inline constexpr const char* kParameterNotAllowed = "запись параметра не разрешена: ";
inline constexpr const char* kPayloadNotNumber = "значение не является числом: ";
inline constexpr const char* kPayloadTooLong = "значение длиннее 64 байт";
inline constexpr const char* kNotACommandTopic =
    "команда должна иметь вид ПРЕФИКС/ПРИБОР/set/ПАРАМЕТР";
inline constexpr const char* kHalfFloat =
    "запись половины числа: значение пишется двумя регистрами одним запросом (функция 16)";
inline constexpr const char* kWriteRequested = "запись из сети: ";
inline constexpr const char* kUnfinishedWrite =
    "запись из сети не завершена, в приборе смешанные настройки, прежние возвращаются: ";
inline constexpr const char* kUnfinishedWriteRepaired =
    "прежние настройки после незавершённой записи возвращены: ";
inline constexpr const char* kWriteDone = "записано: ";
inline constexpr const char* kWriteFailed = "запись не выполнена: ";
inline constexpr const char* kWriteRefused = "запись отклонена: ";
inline constexpr const char* kUnknownInstrument = "неизвестный прибор: ";
// Follows the history's own message (the file and why).
inline constexpr const char* kHistoryBlocksWrite =
    "; запись в прибор не начата: без записи в историю изменений прибор не меняется";
inline constexpr const char* kHistoryQueueFull =
    "история изменений не успевает записывать события, запись в прибор не начата";
// Two instruments answer with one serial number: their topics mix, and no
// write goes to either.
inline constexpr const char* kSerialTwice =
    "два прибора с одним заводским номером, запись по нему не выполняется: ";

// Home Assistant: an instrument no longer configured, its topics cleared.
inline constexpr const char* kInstrumentRemoved =
    "прибор убран из настройки, его топики и объекты Home Assistant удалены: ";

// --check: what would run.
inline constexpr const char* kSummaryFile = "Файл настройки: ";
inline constexpr const char* kSummaryPrefix = "Префикс топиков: ";
inline constexpr const char* kSummaryPoll = "Опрос: ";
inline constexpr const char* kSummaryAsFast = "без пауз";
inline constexpr const char* kSummaryPeriod = "период, мс ";
inline constexpr const char* kSummaryOffline = "; нет связи после неудачных опросов подряд: ";
inline constexpr const char* kSummaryTimeout = "; ожидание ответа, мс ";
inline constexpr const char* kSummaryAttempts = "; попыток ";
inline constexpr const char* kSummaryMqtt = "MQTT: брокер ";
inline constexpr const char* kSummaryNoMqtt = "MQTT: нет";
inline constexpr const char* kSummaryTls = ", TLS";
inline constexpr const char* kSummaryUser = ", пользователь ";
inline constexpr const char* kSummaryDiscovery = ", обнаружение Home Assistant";
inline constexpr const char* kSummaryRetain = ", состояние сохраняется брокером";
inline constexpr const char* kSummaryModbus = "Modbus TCP: ";
inline constexpr const char* kSummaryNoModbus = "Modbus TCP: нет";
inline constexpr const char* kSummarySpeed = " бит/с, адреса ";
inline constexpr const char* kSummaryUnits = ", идентификаторы Modbus ";
inline constexpr const char* kSummaryOwnListener = ", свой порт Modbus TCP ";
inline constexpr const char* kSummaryValueUnits = ", единицы значений ";
inline constexpr const char* kSummaryRs485 = ", режим RS-485";
inline constexpr const char* kSummaryHistory = "История изменений: history.sqlite и база ";
inline constexpr const char* kSummaryWritesOff = "Запись из сети: запрещена";
inline constexpr const char* kSummaryWritesOn = "Запись из сети: разрешена для ";
inline constexpr const char* kSummaryNothingListed = "(ни одного параметра)";

// Home Assistant's entity names: "Канал 1", "Уставка 2 канала 1",
// "Гистерезис уставки 1 канала 2", "Реле 1".
inline constexpr const char* kChannelSensor = "Канал ";
inline constexpr const char* kStatusSensor = "Состояние канала ";
inline constexpr const char* kOfChannel = " канала ";
inline constexpr const char* kSetPointSensor = "Уставка ";
inline constexpr const char* kBreakSensor = "Обрыв датчика канала ";
inline constexpr const char* kRelaySensor = "Реле ";
inline constexpr const char* kSetPointNumber = "Значение уставки ";
inline constexpr const char* kHysteresisNumber = "Гистерезис уставки ";
inline constexpr const char* kGatewayRunningSensor = "Работа шлюза";

}  // namespace zrm::gateway_texts
