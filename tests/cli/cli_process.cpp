#include "cli/cli_process.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace zrm::test {

namespace {

namespace fs = std::filesystem;

fs::path BuildTree() { return fs::read_symlink("/proc/self/exe").parent_path().parent_path(); }

// Everything the child needs is built before fork: the simulator's threads
// run in this process, so the child only dups and execs.
struct ExecArgs {
  std::vector<std::string> storage;
  std::vector<char*> argv;
  std::vector<char*> envp;
};

ExecArgs MakeExecArgs(const std::string& program, const std::vector<std::string>& args,
                      const std::string& tmpdir) {
  ExecArgs e;
  e.storage.push_back(program);
  e.storage.insert(e.storage.end(), args.begin(), args.end());
  const std::size_t env_start = e.storage.size();
  for (char** v = environ; *v; ++v) {
    const std::string entry = *v;
    if (!tmpdir.empty() && entry.rfind("TMPDIR=", 0) == 0) continue;
    e.storage.push_back(entry);
  }
  if (!tmpdir.empty()) e.storage.push_back("TMPDIR=" + tmpdir);
  for (std::size_t i = 0; i < e.storage.size(); ++i)
    (i < env_start ? e.argv : e.envp).push_back(e.storage[i].data());
  e.argv.push_back(nullptr);
  e.envp.push_back(nullptr);
  return e;
}

// A pair like a pipe's, [0] read by the parent, [1] given to the child, but
// a terminal: what the child writes there is written to a terminal. The
// terminal is the child's alone: a program elsewhere on the machine whose
// port was a pseudo-terminal of the same number (numbers are reused at once)
// and that opens its port again by its path would otherwise write its
// frames here. The lock keeps out every program that locks its port, as
// ours do, whoever runs it; the exclusive mode keeps out other users'.
void OpenTerminalPair(int fds[2]) {
  if (openpty(&fds[0], &fds[1], nullptr, nullptr, nullptr) != 0)
    throw std::runtime_error("no pseudo-terminal");
  if (flock(fds[1], LOCK_EX | LOCK_NB) != 0 || ioctl(fds[1], TIOCEXCL) != 0)
    throw std::runtime_error("the pseudo-terminal cannot be kept for the program");
  // Only the child's copy, made by dup2, outlives the next exec.
  fcntl(fds[0], F_SETFD, FD_CLOEXEC);
  fcntl(fds[1], F_SETFD, FD_CLOEXEC);
  termios raw{};
  tcgetattr(fds[1], &raw);
  cfmakeraw(&raw);
  tcsetattr(fds[1], TCSANOW, &raw);
}

pid_t Spawn(const std::string& program, const std::vector<std::string>& args,
            const CliRunOptions& options, int out[2], int err[2]) {
  if (!fs::exists(program)) throw std::runtime_error(program + " is not built");
  ExecArgs e = MakeExecArgs(program, args, options.tmpdir);
  if (options.stdout_on_terminal)
    OpenTerminalPair(out);
  else if (pipe(out) != 0)
    throw std::runtime_error("pipe failed");
  if (err && options.stderr_on_terminal)
    OpenTerminalPair(err);
  else if (err && pipe(err) != 0)
    throw std::runtime_error("pipe failed");
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(out[1], STDOUT_FILENO);
    if (err) dup2(err[1], STDERR_FILENO);
    close(out[0]);
    close(out[1]);
    if (err) {
      close(err[0]);
      close(err[1]);
    }
    for (const auto& [resource, limit] : options.limits) {
      const rlimit value{limit, limit};
      setrlimit(resource, &value);
    }
    signal(SIGXFSZ, SIG_IGN);
    execve(program.c_str(), e.argv.data(), e.envp.data());
    _exit(127);
  }
  close(out[1]);
  if (err) close(err[1]);
  return pid;
}

// Reads both pipes until both are closed.
void Drain(int out_fd, int err_fd, std::string& out, std::string& err) {
  pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
  std::string* sinks[2] = {&out, &err};
  int open = 2;
  while (open > 0) {
    if (poll(fds, 2, -1) < 0) return;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        sinks[i]->append(buffer, static_cast<std::size_t>(n));
      } else {
        close(fds[i].fd);
        fds[i].fd = -1;
        --open;
      }
    }
  }
}

}  // namespace

std::string CtlPath() { return (BuildTree() / "src" / "cli" / "zrm48ctl").string(); }
std::string SimPath() { return (BuildTree() / "sim" / "zrm48sim").string(); }

CliRun::CliRun(const std::vector<std::string>& args, const CliRunOptions& options) {
  int out[2];
  int err[2];
  pid_ = Spawn(CtlPath(), args, options, out, err);
  out_ = out[0];
  err_ = err[0];
}

CliRun::~CliRun() {
  if (pid_ > 0) Finish();
}

void CliRun::Interrupt() { kill(pid_, SIGINT); }

CliOutcome CliRun::Finish() {
  CliOutcome outcome;
  Drain(out_, err_, outcome.out, outcome.err);
  int status = 0;
  waitpid(pid_, &status, 0);
  pid_ = -1;
  outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

CliOutcome RunCtl(const std::vector<std::string>& args, const CliRunOptions& options) {
  CliRun run(args, options);
  return run.Finish();
}

SimProgram::SimProgram(const std::vector<std::string>& args) {
  int out[2];
  pid_ = Spawn(SimPath(), args, {}, out, nullptr);
  char c = 0;
  out_ = out[0];
  while (read(out_, &c, 1) == 1 && c != '\n') path_ += c;
}

SimProgram::~SimProgram() {
  if (pid_ <= 0) return;
  kill(pid_, SIGTERM);
  waitpid(pid_, nullptr, 0);
  close(out_);
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string FileState(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return "missing";
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return bytes + "|inode " + std::to_string(info.st_ino) + "|mtime " +
         std::to_string(info.st_mtim.tv_sec) + "." + std::to_string(info.st_mtim.tv_nsec);
}

std::string AgedFileState(const std::string& path) {
  const timespec year_ago[2] = {{0, UTIME_OMIT}, {std::time(nullptr) - 365 * 86400, 0}};
  utimensat(AT_FDCWD, path.c_str(), year_ago, 0);
  return FileState(path);
}

}  // namespace zrm::test
