#include "support/ordinary_user.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zrm::test {

OrdinaryUser Nobody() {
  const passwd* nobody = ::getpwnam("nobody");
  return nobody ? OrdinaryUser{nobody->pw_uid, nobody->pw_gid} : OrdinaryUser{};
}

std::string AsOrdinaryUser(const OrdinaryUser& user, const std::function<std::string()>& check) {
  if (::getuid() != 0) return check();
  int out[2];
  if (::pipe(out) != 0) return "no pipe";
  const pid_t child = ::fork();
  if (child == 0) {
    ::close(out[0]);
    const bool dropped =
        ::setgroups(0, nullptr) == 0 && ::setgid(user.gid) == 0 && ::setuid(user.uid) == 0;
    const std::string outcome = dropped ? check() : "root could not be given up";
    const ssize_t written = ::write(out[1], outcome.data(), outcome.size());
    ::_exit(written == static_cast<ssize_t>(outcome.size()) ? 0 : 1);
  }
  ::close(out[1]);
  std::string outcome;
  char chunk[256];
  for (ssize_t n; (n = ::read(out[0], chunk, sizeof chunk)) > 0;) outcome.append(chunk, n);
  ::close(out[0]);
  ::waitpid(child, nullptr, 0);
  return outcome;
}

}  // namespace zrm::test
