// A folder that cannot be written (read-only medium, no permission) and a
// disk that fills up mid-write: every save shows "Unable to write to <path>"
// and changes nothing on disk; the history there is still read. Each case runs in a child process,
// as the user "nobody" for the read-only folder (root may write anywhere) and with a file size
// limit for the full disk (a write beyond it fails as on a full disk).

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>

#include "app/history_reading.h"
#include "app/link_config_file.h"
#include "profiles/profile_file.h"
#include "robustness/child_process.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

constexpr const char* kUnableToWrite = "Unable to write to ";

// The texts of the messages shown, one per line.
std::string MessagesOf(const RecordingOperator& op) {
  std::string text;
  for (const std::string& call : op.Messages()) {
    const std::size_t caption_end = call.find('|', std::string("message|").size());
    text += call.substr(caption_end + 1) + "\n";
  }
  return text;
}

class UnwritableFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = dir_.File("folder");
    ASSERT_EQ(mkdir(folder_.c_str(), 0755), 0);
    RecordingOperator op;
    DeviceSettings s;
    LoadProfile(folder_ + "/old.prf", s, op);  // a complete profile to keep
    LoadLinkConfig(folder_, op);               // and a complete dev.dat
    old_profile_ = ReadBytes(folder_ + "/old.prf");
    old_dev_dat_ = ReadBytes(folder_ + "/dev.dat");
    ASSERT_FALSE(old_profile_.empty());
    ASSERT_FALSE(old_dev_dat_.empty());
  }

  // Makes the folder read-only for the child that will run as "nobody".
  void MakeReadOnly() {
    ASSERT_EQ(chmod(dir_.Path().c_str(), 0755), 0);
    ASSERT_EQ(chmod(folder_.c_str(), 0555), 0);
  }

  // Nothing in the folder changed: same files, same bytes.
  void ExpectFolderUnchanged() {
    EXPECT_EQ(ReadBytes(folder_ + "/old.prf"), old_profile_);
    EXPECT_EQ(ReadBytes(folder_ + "/dev.dat"), old_dev_dat_);
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"dev.dat", "old.prf"}));
  }

  ScratchDir dir_;
  std::string folder_;
  std::string old_profile_;
  std::string old_dev_dat_;
};

// Every write the program makes into the folder, each reporting its
// messages: saving over a profile, creating a new one, the write-back of
// dev.dat's keys and the port number at exit.
std::string TryEveryWrite(const std::string& folder) {
  std::string report;
  {
    RecordingOperator op;
    DeviceSettings s;
    s.channel[0].diap_max = 321.0f;
    const bool saved = SaveProfile(folder + "/old.prf", s, {"x", "", "", ""}, op);
    report += "save " + std::string(saved ? "ok" : "failed") + "\n" + MessagesOf(op);
  }
  {
    RecordingOperator op;
    DeviceSettings s;
    LoadProfile(folder + "/new.prf", s, op);
    report += "create\n" + MessagesOf(op);
    report += "new dat " + std::to_string(s.channel[0].dat) + "\n";
  }
  {
    RecordingOperator op;
    const bool stored = StorePortNumber(folder, 3, op);
    report += "port " + std::string(stored ? "ok" : "failed") + "\n" + MessagesOf(op);
  }
  return report;
}

void ExpectEveryWriteRefused(const std::string& report, const std::string& folder) {
  EXPECT_NE(report.find("save failed\n" + std::string(kUnableToWrite) + folder + "/old.prf"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find("create\n" + std::string(kUnableToWrite) + folder + "/new.prf"),
            std::string::npos)
      << report;
  // The load still completes: the record holds the new profile's content.
  EXPECT_NE(report.find("new dat 17\n"), std::string::npos) << report;
  EXPECT_NE(report.find("port failed\n" + std::string(kUnableToWrite) + folder + "/dev.dat"),
            std::string::npos)
      << report;
}

TEST_F(UnwritableFolder, ReadOnlyFolderRefusesEveryWriteAndKeepsTheFiles) {
  MakeReadOnly();
  const ChildOutcome outcome = RunInChild([this] {
    DropRootPrivileges();
    return TryEveryWrite(folder_);
  });
  ASSERT_TRUE(outcome.exited);
  ExpectEveryWriteRefused(outcome.output, folder_);
  ExpectFolderUnchanged();
}

TEST_F(UnwritableFolder, ReadOnlyFolderStillGivesALinkConfiguration) {
  // dev.dat lacks keys, so the start-up wants to complete it.
  WriteBytes(folder_ + "/dev.dat", "[COM_SETTINGS]\r\nNumber=2\r\n");
  old_dev_dat_ = ReadBytes(folder_ + "/dev.dat");
  MakeReadOnly();
  const ChildOutcome outcome = RunInChild([this] {
    DropRootPrivileges();
    RecordingOperator op;
    const LinkConfig config = LoadLinkConfig(folder_, op);
    return std::to_string(config.port_number) + " " + std::to_string(config.speed) + "\n" +
           MessagesOf(op);
  });
  ASSERT_TRUE(outcome.exited);
  EXPECT_EQ(outcome.output.rfind("2 9600\n" + std::string(kUnableToWrite) + folder_ + "/dev.dat", 0),
            0u)
      << outcome.output;
  ExpectFolderUnchanged();
}

TEST_F(UnwritableFolder, ReadOnlyFolderStillListsItsHistoryAndAskingMakesNone) {
  std::string error;
  const auto none = ReadHistory(folder_, {}, error);
  ASSERT_TRUE(none) << error;
  EXPECT_TRUE(none->empty());
  ExpectFolderUnchanged();  // no history made for asking

  // An auditor's copy on a read-only share, in a folder whose name SQLite
  // would otherwise read as more than a path; and one only root may read.
  const std::string shelf = dir_.File("архив #1 100%41?");
  const std::string locked = dir_.File("locked");
  for (const std::string& folder : {shelf, locked}) ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
  {
    HistoryStore store;
    ASSERT_TRUE(store.Open(HistoryFilePath(shelf), error)) << error;
    for (const char* id : {"e1", "e2"}) {
      HistoryEvent e;
      e.id = id;
      e.instrument_number = "047-12345";
      e.action = "read";
      ASSERT_TRUE(store.Append(e, error)) << error;
    }
  }
  const std::string history = ReadBytes(HistoryFilePath(shelf));
  WriteBytes(HistoryFilePath(locked), history);
  ASSERT_EQ(chmod(HistoryFilePath(locked).c_str(), 0600), 0);
  ASSERT_EQ(chmod(dir_.Path().c_str(), 0755), 0);
  ASSERT_EQ(chmod(shelf.c_str(), 0555), 0);
  const ChildOutcome outcome = RunInChild([&] {
    DropRootPrivileges();
    std::string report;
    for (const std::string& folder : {shelf, locked}) {
      std::string why;
      const auto events = ReadHistory(folder, {"", "047-12345", "", {}, {}}, why);
      report += (events ? std::to_string(events->size()) : why) + "\n";
    }
    return report;
  });
  ASSERT_TRUE(outcome.exited);
  EXPECT_EQ(outcome.output,
            "2\nИстория изменений не открыта: " + HistoryFilePath(locked) + ": нет доступа\n");
  EXPECT_EQ(ReadBytes(HistoryFilePath(shelf)), history);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(shelf), {}), 1);
}

TEST_F(UnwritableFolder, FullDiskRefusesEveryWriteAndKeepsTheFiles) {
  const ChildOutcome outcome = RunInChild([this] {
    // Files may not grow beyond 100 bytes; the write fails part way, as it
    // does when the disk fills up. The signal that would kill the process is
    // ignored so that write() reports the failure.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
    return TryEveryWrite(folder_);
  });
  ASSERT_TRUE(outcome.exited);
  ExpectEveryWriteRefused(outcome.output, folder_);
  ExpectFolderUnchanged();
}

}  // namespace
}  // namespace zrm::test
