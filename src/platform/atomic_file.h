#pragma once
// Replacing a file's content so that readers see either the old file or the
// new one, never a mixture or a truncated file.

#include <string>
#include <string_view>

namespace zrm {

// Writes `content` to a temporary file beside `path`, flushes it to the disk
// and renames it over `path` (through a symbolic link, onto its target). The
// permissions and owner of an existing file are kept. A file without any
// write permission counts as read-only and is not replaced. On failure
// returns false, sets `error` to the system's reason and leaves `path` as it
// was.
bool ReplaceFileAtomically(const std::string& path, std::string_view content,
                           std::string& error);

}  // namespace zrm
