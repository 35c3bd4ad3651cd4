#include "platform/content_hash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

namespace zrm {

namespace {

constexpr std::uint64_t kFnvOffset = 0xcbf29ce484222325ULL;
constexpr std::uint64_t kFnvPrime = 0x100000001b3ULL;

std::uint64_t Mix(std::uint64_t hash, std::string_view bytes) {
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= kFnvPrime;
  }
  return hash;
}

std::string Hex(std::uint64_t hash) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string text(16, '0');
  for (std::size_t i = text.size(); i-- > 0; hash >>= 4) text[i] = kDigits[hash & 0xF];
  return text;
}

}  // namespace

std::string ContentHash(std::string_view bytes) { return Hex(Mix(kFnvOffset, bytes)); }

std::string FileContentHash(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return {};
  struct stat info {};
  std::uint64_t hash = kFnvOffset;
  bool whole = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
  char buffer[65536];
  for (ssize_t n = 0; whole && (n = ::read(fd, buffer, sizeof buffer)) != 0;) {
    if (n < 0)
      whole = false;
    else
      hash = Mix(hash, std::string_view(buffer, static_cast<std::size_t>(n)));
  }
  ::close(fd);
  return whole ? Hex(hash) : std::string();
}

}  // namespace zrm
