#pragma once
// Replacing a file's content so that readers see either the old file or the
// new one, never a mixture or a truncated file.

#include <string>
#include <string_view>

namespace zrm {

// Writes `content` to a temporary file beside `path`, flushes it to the disk
// and renames it over `path`. A symbolic link (or a chain of them) is
// followed and its final target replaced, the temporary file beside that
// target, so the links stay; a dangling link gets its target created. A
// path that is, or leads to, something other than a regular file (a device,
// a pipe, a socket, a folder) is refused and left untouched. The
// permissions and owner of an existing file are kept. A file without any
// write permission counts as read-only and is not replaced. On failure
// returns false, sets `error` to the reason ("это устройство, а не файл",
// "нет доступа", ...) and leaves `path` as it was. Every file the program
// replaces as a whole goes through here.
bool ReplaceFileAtomically(const std::string& path, std::string_view content, std::string& error);

// Flushes the folder's own entries (a file created, renamed or removed in
// it) to the disk. False with the reason in `error` when it cannot.
bool SyncFolder(const std::string& folder, std::string& error);

}  // namespace zrm
