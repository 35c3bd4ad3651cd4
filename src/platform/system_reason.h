#pragma once
// The reason a system call failed, in the program's Russian: the reasons a
// serial port and a file really meet have their own words; any other keeps
// the system's text after a Russian sentence, so nothing is hidden.

#include <string>

namespace zrm {

// The reason for `error` (an errno value): "нет такого файла или
// устройства" for ENOENT, …; "ошибка системы: Input/output error" for a
// reason without words of its own.
std::string SystemReason(int error);

}  // namespace zrm
