// The start-up figures rest on the child being started where and as asked,
// and on its end being waited for.

#include "child_process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace zrm::bench {
namespace {

TEST(ChildProcess, RunsInTheGivenFolderWithTheExtraEnvironment) {
  const std::string dir = MakeEmptyFolder();
  ASSERT_FALSE(dir.empty());
  EXPECT_TRUE(FolderEntries(dir).empty());

  const ChildRun run = RunChild({"/bin/sh", "-c", "pwd; echo \"$ZRM_BENCH_X\"; : > made; exit 3"},
                                dir, {"ZRM_BENCH_X=seen"});
  ASSERT_TRUE(run.started) << run.error;
  EXPECT_EQ(run.exit_status, 3);
  EXPECT_EQ(run.output, std::filesystem::canonical(dir).string() + "\nseen\n");
  EXPECT_GT(run.peak_rss_kib, 0);
  EXPECT_GE(run.wall_ms, 0);
  EXPECT_EQ(FolderEntries(dir), std::vector<std::string>{"made"});

  RemoveFolder(dir);
  EXPECT_FALSE(std::filesystem::exists(dir));
}

TEST(ChildProcess, AProgramThatIsNotThereIsReportedNotRun) {
  const std::string dir = MakeEmptyFolder();
  const ChildRun run = RunChild({"/nonexistent/zrm48ctl"}, dir, {});
  EXPECT_FALSE(run.started);
  EXPECT_NE(run.error.find("/nonexistent/zrm48ctl"), std::string::npos);
  RemoveFolder(dir);
}

}  // namespace
}  // namespace zrm::bench
