#pragma once
// The platform layer's own texts, exactly as the user sees them.

namespace zrm::platform_texts {

// Reasons an open of a serial device fails, after "path: ".
inline constexpr const char* kDeviceBusy = "устройство занято другой программой";
inline constexpr const char* kNotSerialDevice = "это не последовательный порт";
inline constexpr const char* kUnsupportedSpeed = "скорость не поддерживается: ";
// Reasons a network line ("tcp://HOST:PORT", "rfc2217://HOST:PORT") cannot
// be opened, after "path: ".
inline constexpr const char* kBadNetworkAddress =
    "адрес должен быть вида tcp://УЗЕЛ:ПОРТ или rfc2217://УЗЕЛ:ПОРТ";
inline constexpr const char* kUnknownHost = "узел не найден: ";
inline constexpr const char* kNoConnection = "нет соединения за 1 с";
inline constexpr const char* kNoRfc2217 = "сервер портов не принял настройку порта (RFC 2217)";
inline constexpr const char* kRfc2217Flood =
    "сервер портов прислал больше 4 КБ, не приняв настройку порта (RFC 2217)";
inline constexpr const char* kConnectionRefused = "соединение отвергнуто";
inline constexpr const char* kSpeedOfTheServer =
    "скорость линии задаёт сервер портов (для своей скорости нужен rfc2217://)";
// A USB adapter's latency timer above 1 ms that this program may not lower,
// after "path: ": kLatencyTimerHolds, the milliseconds, kLatencyTimerCost,
// the timer's sysfs path, kLatencyTimerRule.
inline constexpr const char* kLatencyTimerHolds = "адаптер USB придерживает каждый ответ прибора до ";
inline constexpr const char* kLatencyTimerCost =
    " мс (таймер задержки драйвера), и каждый обмен длится на столько же дольше; программе не "
    "разрешено изменить таймер. Чтобы установить 1 мс, выполните: echo 1 | sudo tee ";
inline constexpr const char* kLatencyTimerRule =
    " (правило udev из пакета делает это само для адаптеров FTDI при подключении).";
// The driver refused the RS-485 mode, after "path: "; the reason follows.
inline constexpr const char* kNoRs485 = "режим RS-485 не включён: ";
inline constexpr const char* kRs485Unsupported = "драйвер порта его не поддерживает";
// RS-485 asked for a network line, after "path: ".
inline constexpr const char* kRs485NotOnNetwork =
    "режим RS-485 задаётся только для последовательного порта этого компьютера, не для сетевой "
    "линии";
// System reasons a port or a file meets (errno in words).
inline constexpr const char* kNoSuchFile = "нет такого файла или устройства";
inline constexpr const char* kNoSuchDevice = "нет такого устройства";
inline constexpr const char* kNoAccess = "нет доступа";
inline constexpr const char* kReadOnlyFileSystem = "файловая система только для чтения";
inline constexpr const char* kNoSpaceLeft = "на диске нет места";
inline constexpr const char* kIsFolder = "это папка, а не файл";
// A file to read or replace that is no regular file; it is left untouched.
inline constexpr const char* kIsDevice = "это устройство, а не файл";
inline constexpr const char* kIsPipe = "это канал (FIFO), а не файл";
inline constexpr const char* kIsSocket = "это сокет, а не файл";
// A chain of symbolic links too long to follow (or one that loops).
inline constexpr const char* kTooManyLinks = "слишком много символьных ссылок";
// Followed by the system's own text.
inline constexpr const char* kOtherSystemError = "ошибка системы: ";
// Permission hint; the group that owns the device follows in quotes.
inline constexpr const char* kJoinGroupHint =
    "Пользователь должен входить в группу, которой принадлежит устройство: ";
// The command that gives access follows, then kLogInAgain.
inline constexpr const char* kRunCommand = "Выполните: ";
inline constexpr const char* kLogInAgain = " и войдите в систему заново.";

}  // namespace zrm::platform_texts
