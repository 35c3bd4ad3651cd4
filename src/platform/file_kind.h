#pragma once
// What kind of thing a path names, for the files the program reads and
// replaces: only a regular file may be a profile, a report or a results
// file; a device, a pipe, a socket or a folder under that name is refused
// before anything is read from it or written to it.

#include <cstdint>
#include <string>

namespace zrm {

// The reason, in the program's words ("это устройство, а не файл", "это
// канал (FIFO), а не файл", ...), why `path`, followed through its symbolic
// links, exists and is not a regular file; empty when it is a regular file
// or does not exist.
std::string NotRegularFileAt(const std::string& path);

// True when `path` names a file of more than `bytes` bytes; false when it
// is smaller or its size cannot be told.
bool LargerThan(const std::string& path, std::uintmax_t bytes);

}  // namespace zrm
