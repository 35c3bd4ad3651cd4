#include "platform/system_reason.h"

#include <cerrno>
#include <system_error>

#include "platform/platform_texts.h"

namespace zrm {

std::string SystemReason(int error) {
  using namespace platform_texts;
  switch (error) {
    case ENOENT: return kNoSuchFile;
    case ENODEV:
    case ENXIO: return kNoSuchDevice;
    case EACCES:
    case EPERM: return kNoAccess;
    case EBUSY:
    case EWOULDBLOCK: return kDeviceBusy;
    case ENOTTY: return kNotSerialDevice;
    case EROFS: return kReadOnlyFileSystem;
    case ENOSPC:
    case EDQUOT: return kNoSpaceLeft;
    case EISDIR: return kIsFolder;
    case ELOOP: return kTooManyLinks;
    case ECONNREFUSED: return kConnectionRefused;
    default: return kOtherSystemError + std::generic_category().message(error);
  }
}

}  // namespace zrm
