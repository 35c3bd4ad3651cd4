#pragma once
// Checks run as an ordinary user when the tests run as root: root opens an
// exclusive terminal and writes a read-only file anyway, so only an
// ordinary user meets what a technician meets.

#include <sys/types.h>

#include <functional>
#include <string>

namespace zrm::test {

struct OrdinaryUser {
  uid_t uid = 65534;
  gid_t gid = 65534;
};

// The user "nobody".
OrdinaryUser Nobody();

// What `check` returns when run as an ordinary user: in a child that gives up
// root for `user` when this process is root, in this process otherwise.
std::string AsOrdinaryUser(const OrdinaryUser& user, const std::function<std::string()>& check);

}  // namespace zrm::test
