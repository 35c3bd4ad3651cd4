// The zrm48sim program: first stdout line is the slave path, the --link
// symbolic link exists by then, a usage error exits 64, SIGTERM stops it
// cleanly and takes the link away; --help and --version only answer.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "sim/raw_client.h"

namespace zrm::sim {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The program is built beside this test in the build tree.
fs::path ProgramPath() {
  return fs::read_symlink("/proc/self/exe").parent_path().parent_path() / "sim" / "zrm48sim";
}

struct Child {
  pid_t pid = -1;
  int out = -1;
};

Child Launch(const std::vector<std::string>& args) {
  // Everything the child needs is built before fork: it only dups and execs.
  const std::string program = ProgramPath().string();
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int fds[2];
  if (pipe(fds) != 0) return {};
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fds[1], STDOUT_FILENO);
    close(fds[0]);
    close(fds[1]);
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  close(fds[1]);
  return {pid, fds[0]};
}

std::string FirstLine(int fd) {
  std::string line;
  char c = 0;
  while (read(fd, &c, 1) == 1 && c != '\n') line += c;
  return line;
}

int ExitStatus(pid_t pid) {
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(ProgramPath())) GTEST_SKIP() << "zrm48sim not built";
  }
};

TEST_F(ProgramTest, ServesUntilSigtermAndRemovesItsLink) {
  const fs::path link = fs::path(::testing::TempDir()) / "zrm48sim_program_test_link";
  fs::remove(link);
  const Child child = Launch({"--link", link.string(), "--address", "3"});
  ASSERT_GT(child.pid, 0);
  const std::string path = FirstLine(child.out);
  ASSERT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
  ASSERT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), path);
  {
    test::RawClient client(link.string());
    EXPECT_EQ(client.Exchange(test::RequestFrame(":3;37;00000E;")).substr(0, 6), "!3;2F;");
  }
  kill(child.pid, SIGTERM);
  EXPECT_EQ(ExitStatus(child.pid), 0);
  EXPECT_FALSE(fs::exists(fs::symlink_status(link)));
  close(child.out);
}

TEST_F(ProgramTest, UsageErrorExits64) {
  const Child child = Launch({"--fault", "bogus@1"});
  ASSERT_GT(child.pid, 0);
  EXPECT_EQ(ExitStatus(child.pid), 64);
  EXPECT_EQ(FirstLine(child.out), "");
  close(child.out);
}

TEST_F(ProgramTest, VersionAndHelpAnswerWithoutServing) {
  for (const auto& [option, first_line] :
       std::vector<std::pair<std::string, std::string>>{
           {"--version", "zrm48sim 1.0.19.1"},
           {"--help", "usage: zrm48sim [--link PATH] [--address N] [--baud B] [--line-timing]"}}) {
    const Child child = Launch({option, "--link", "/nonexistent/never-made"});
    ASSERT_GT(child.pid, 0);
    EXPECT_EQ(FirstLine(child.out), first_line);
    EXPECT_EQ(ExitStatus(child.pid), 0) << option;
    close(child.out);
  }
}

TEST_F(ProgramTest, RefusesToReplaceAFileWithItsLink) {
  const fs::path file = fs::path(::testing::TempDir()) / "zrm48sim_program_test_file";
  std::ofstream(file) << "not a device\n";
  const Child child = Launch({"--link", file.string()});
  ASSERT_GT(child.pid, 0);
  EXPECT_EQ(ExitStatus(child.pid), 1);
  EXPECT_TRUE(fs::is_regular_file(file));
  fs::remove(file);
  close(child.out);
}

}  // namespace
}  // namespace zrm::sim
