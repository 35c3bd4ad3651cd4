#pragma once
// What zrm48ctl says about itself: the usage text and the version line.

#include <string>

namespace zrm {

// The synopsis with every command and option, for --help and usage errors.
std::string UsageText();

// "zrm48ctl 1.0.19.1".
std::string VersionText();

}  // namespace zrm
