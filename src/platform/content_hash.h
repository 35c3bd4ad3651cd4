#pragma once
// Fingerprints of a file's bytes, to notice that a file is no longer the one
// recorded: the batch results keep one of a plan and of a profile, so that
// --resume skips only rows of the very same plan and profile; a write
// journal entry keeps one of the settings it writes. FNV-1a 64 as sixteen
// lowercase hex digits: it finds damage, not a forger.

#include <string>
#include <string_view>

namespace zrm {

// FNV-1a 64 of `bytes` ("cbf29ce484222325" for none), sixteen hex digits.
std::string ContentHash(std::string_view bytes);

// ContentHash of the regular file `path`; empty when it cannot be read or is
// not a regular file (a pipe is never waited on).
std::string FileContentHash(const std::string& path);

}  // namespace zrm
