#pragma once
// The fingerprints the results file keeps of a plan and of a profile, so that
// --resume skips only rows of the very same plan and profile: FNV-1a 64 of
// the file's bytes as sixteen lowercase hex digits.

#include <string>
#include <string_view>

namespace zrm {

// FNV-1a 64 of `bytes` ("cbf29ce484222325" for none), sixteen hex digits.
std::string ContentHash(std::string_view bytes);

// ContentHash of the regular file `path`; empty when it cannot be read or is
// not a regular file (a pipe is never waited on).
std::string FileContentHash(const std::string& path);

}  // namespace zrm
