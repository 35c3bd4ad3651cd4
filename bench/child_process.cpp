#include "child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

extern char** environ;

namespace zrm::bench {

namespace {

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> out;
  for (auto& t : texts) out.push_back(t.data());
  out.push_back(nullptr);
  return out;
}

std::vector<std::string> EnvironmentWith(const std::vector<std::string>& extra) {
  std::vector<std::string> env(extra);
  for (char** e = environ; *e != nullptr; ++e) env.emplace_back(*e);
  return env;  // the first of equal names wins, so `extra` overrides
}

std::string ReadAll(int fd) {
  std::string text;
  char chunk[4096];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n > 0) text.append(chunk, static_cast<std::size_t>(n));
    else if (n < 0 && errno == EINTR) continue;
    else return text;
  }
}

}  // namespace

ChildRun RunChild(const std::vector<std::string>& argv, const std::string& dir,
                  const std::vector<std::string>& extra_env) {
  ChildRun run;
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) {
    run.error = std::string("pipe: ") + std::strerror(errno);
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addchdir_np(&actions, dir.c_str());
  std::vector<std::string> args = argv, env = EnvironmentWith(extra_env);
  auto arg_ptrs = Pointers(args), env_ptrs = Pointers(env);

  pid_t pid = -1;
  run.spawned = SteadyClock::now();
  const int spawn_error =
      posix_spawn(&pid, args[0].c_str(), &actions, nullptr, arg_ptrs.data(), env_ptrs.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(out[1]);
  if (spawn_error != 0) {
    ::close(out[0]);
    run.error = args[0] + ": " + std::strerror(spawn_error);
    return run;
  }
  run.started = true;
  run.output = ReadAll(out[0]);
  ::close(out[0]);
  int status = 0;
  rusage usage{};
  while (::wait4(pid, &status, 0, &usage) < 0 && errno == EINTR) {
  }
  run.wall_ms = std::chrono::duration<double, std::milli>(SteadyClock::now() - run.spawned).count();
  run.peak_rss_kib = usage.ru_maxrss;
  run.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

std::string MakeEmptyFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "zrm48bench.XXXXXX").string();
  return ::mkdtemp(pattern.data()) ? pattern : std::string();
}

std::vector<std::string> FolderEntries(const std::string& dir) {
  std::vector<std::string> names;
  std::error_code ignored;
  for (const auto& entry : std::filesystem::directory_iterator(dir, ignored))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void RemoveFolder(const std::string& dir) {
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
}

}  // namespace zrm::bench
