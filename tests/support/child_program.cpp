#include "support/child_program.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/scratch_dir.h"

extern char** environ;

namespace zrm::test {

ChildProgram::ChildProgram(const std::vector<std::string>& argv, const std::string& dir,
                           const std::vector<std::string>& extra_env) {
  const std::string stem =
      dir + "/child" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  out_path_ = stem + ".out";
  err_path_ = stem + ".err";
  std::vector<std::string> env_storage;
  for (char** v = environ; *v; ++v) env_storage.emplace_back(*v);
  env_storage.insert(env_storage.end(), extra_env.begin(), extra_env.end());
  std::vector<char*> args, env;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  for (std::string& e : env_storage) env.push_back(e.data());
  env.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_addopen(&actions, 1, out_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                   0644);
  if (posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), env.data()) != 0) pid_ = -1;
  posix_spawn_file_actions_destroy(&actions);
}

ChildProgram::~ChildProgram() {
  if (pid_ > 0 && status_ == -2) {
    ::kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

void ChildProgram::Signal(int signal) const {
  if (pid_ > 0 && status_ == -2) ::kill(pid_, signal);
}

int ChildProgram::Wait(std::chrono::milliseconds timeout) {
  if (pid_ <= 0 || status_ != -2) return status_;
  WaitUntil(
      [&] {
        int status = 0;
        if (waitpid(pid_, &status, WNOHANG) != pid_) return false;
        status_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        return true;
      },
      timeout);
  return status_;
}

std::string ChildProgram::Out() const { return ReadBytes(out_path_); }
std::string ChildProgram::Err() const { return ReadBytes(err_path_); }

ProgramOutput RunProgram(const std::vector<std::string>& argv, const std::string& dir,
                         std::chrono::milliseconds timeout) {
  ChildProgram child(argv, dir);
  ProgramOutput output;
  output.status = child.Wait(timeout);
  output.out = child.Out();
  output.err = child.Err();
  return output;
}

int FreePort() {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
    port = ntohs(address.sin_port);
  ::close(fd);
  return port;
}

bool WaitForListener(int port, std::chrono::milliseconds timeout) {
  return WaitUntil(
      [&] {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<std::uint16_t>(port));
        const bool up = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
        ::close(fd);
        return up;
      },
      timeout);
}

}  // namespace zrm::test
