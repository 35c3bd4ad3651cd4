// The history file: events stored at the end of their origin's chain and
// listed back, several writers at once, the chains checked, and files that
// are no history left alone.

#include "history/history_store.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "support/scratch_dir.h"

namespace zrm {
namespace {

HistoryEvent Event(const std::string& id, std::int64_t time_ms, const std::string& number,
                   const std::string& action, const std::string& program = "zrm48ctl") {
  HistoryEvent e;
  e.id = id;
  e.time_ms = time_ms;
  e.workstation = "bench-1";
  e.user = "ivanov";
  e.program = program;
  e.version = "1.4.0";
  e.instrument_type = "4813";
  e.instrument_number = number;
  e.firmware = "2.1.4";
  e.line = "/dev/ttyUSB0";
  e.address = 1;
  e.action = action;
  e.message = "Запись завершена";
  e.changes = {{"Канал 1: Уставка I", "151.0000", "42.5000"}, {"tab\there", "new\nline", "\\"}};
  return e;
}

// Runs `sql` on the file as another program (or an intruder) would.
void Tamper(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
  sqlite3_close(db);
}

class HistoryStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(store_.Open(Path(), error)) << error;
  }
  std::string Path() const { return dir_.File("history.sqlite"); }

  test::ScratchDir dir_;
  HistoryStore store_;
};

TEST_F(HistoryStoreTest, EventsListBackAsStoredAndByInstrumentActionAndTime) {
  std::string error;
  std::vector<HistoryEvent> stored = {Event("a", 1000, "047-12345", "read"),
                                      Event("b", 2000, "047-12345", "changes"),
                                      Event("c", 3000, "047-12346", "changes")};
  for (HistoryEvent& e : stored) ASSERT_TRUE(store_.Append(e, error)) << error;
  EXPECT_EQ(stored[1].previous_hash, stored[0].hash) << "one chain for one origin";
  // Sent twice (a resend after a lost answer): stored once.
  HistoryEvent again = Event("b", 2000, "047-12345", "changes");
  ASSERT_TRUE(store_.Append(again, error)) << error;

  const struct {
    HistoryFilter filter;
    std::vector<std::string> ids;
  } cases[] = {
      {{}, {"a", "b", "c"}},
      {{"", "047-12345", "", {}, {}}, {"a", "b"}},
      {{"", "", "changes", {}, {}}, {"b", "c"}},
      {{"", "", "", 2000, 2999}, {"b"}},
      {{"c", "", "", {}, {}}, {"c"}},
      {{"", "047-99999", "", {}, {}}, {}},
      {{"", "047-12345", "changes", 1500, 2000}, {"b"}},
  };
  for (const auto& c : cases) {
    const auto listed = store_.List(c.filter, error);
    ASSERT_TRUE(listed) << error;
    std::vector<std::string> ids;
    for (const HistoryEvent& e : *listed) ids.push_back(e.id);
    EXPECT_EQ(ids, c.ids);
  }
  EXPECT_EQ(store_.List({"b", "", "", {}, {}}, error)->at(0), stored[1]) << "every field kept";
}

TEST_F(HistoryStoreTest, VerifyNamesTheFirstEventThatDoesNotMatchItsChain) {
  std::string error;
  for (const char* id : {"e1", "e2", "e3", "e4"}) {
    HistoryEvent e = Event(id, 1000, "047-12345", "changes");
    ASSERT_TRUE(store_.Append(e, error)) << error;
  }
  HistoryEvent other = Event("w1", 1500, "047-12345", "plant write", "zrm48d");
  ASSERT_TRUE(store_.Append(other, error)) << error;
  std::optional<ChainBreak> broken;
  ASSERT_TRUE(store_.Verify(broken, error)) << error;
  EXPECT_EQ(broken, std::nullopt);
  const std::string pristine = dir_.File("pristine.sqlite");
  Tamper(Path(), "VACUUM INTO '" + pristine + "'");

  const struct {
    const char* sql;
    std::string id;
    bool edited;
  } cases[] = {
      {"UPDATE events SET changes = replace(changes, '42.5', '40.5') WHERE id = 'e2'", "e2",
       true},
      {"DELETE FROM events WHERE id = 'e2'", "e3", false},
      {"UPDATE events SET seq = 100 WHERE id = 'e2'", "e3", false},  // e2 moved after e3
  };
  for (const auto& c : cases) {
    const std::string copy = dir_.File(std::string("t") + c.id + ".sqlite");
    std::filesystem::remove(copy);
    std::filesystem::copy_file(pristine, copy);
    Tamper(copy, c.sql);
    HistoryStore tampered;
    ASSERT_TRUE(tampered.Open(copy, error)) << error;
    ASSERT_TRUE(tampered.Verify(broken, error)) << error;
    EXPECT_EQ(broken, (ChainBreak{c.id, "bench-1/zrm48ctl", c.edited})) << c.sql;
  }
}

TEST_F(HistoryStoreTest, WritersAtOnceLoseNothingAndKeepTheirChains) {
  // Two zrm48ctl of one workstation (one origin) and the gateway, each a
  // process of its own as on a real machine.
  constexpr int kEach = 150;
  const auto writer = [this](const std::string& tag, const std::string& program) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    HistoryStore store;
    std::string error;
    bool stored = store.Open(Path(), error);
    for (int i = 0; stored && i < kEach; ++i) {
      HistoryEvent e = Event(tag + std::to_string(i), i, "047-12345", "changes", program);
      stored = store.Append(e, error);
    }
    if (!stored) std::fprintf(stderr, "%s: %s\n", tag.c_str(), error.c_str());
    ::_exit(stored ? 0 : 1);
  };
  for (const pid_t pid : {writer("x", "zrm48ctl"), writer("y", "zrm48ctl"), writer("z", "zrm48d")}) {
    int status = -1;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a writer failed";
  }
  std::string error;
  EXPECT_EQ(store_.List({}, error)->size(), 3u * kEach) << error;
  std::optional<ChainBreak> broken;
  EXPECT_TRUE(store_.Verify(broken, error)) << error;
  EXPECT_EQ(broken, std::nullopt);
}

TEST_F(HistoryStoreTest, AFullDiskRefusesTheEventSayingWhereAndKeepsEveryStoredOne) {
  HistoryEvent first = Event("a", 1, "047-12345", "read");
  std::string error;
  ASSERT_TRUE(store_.Append(first, error)) << error;
  // A process whose files may not grow by a byte meets a full disk.
  const pid_t pid = ::fork();
  if (pid == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit full{0, 0};
    HistoryStore store;
    bool refused = store.Open(Path(), error) && ::setrlimit(RLIMIT_FSIZE, &full) == 0;
    for (int i = 0; refused && i < 200; ++i) {
      HistoryEvent e = Event("b" + std::to_string(i), 2 + i, "047-12345", "changes");
      refused = store.Append(e, error);
    }
    ::_exit(!refused && error.starts_with("Событие не записано в историю изменений: " + Path())
                ? 0
                : 1);
  }
  int status = -1;
  ASSERT_EQ(::waitpid(pid, &status, 0), pid);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "refused, naming the file";
  const auto events = store_.List({}, error);
  ASSERT_TRUE(events) << error;
  EXPECT_EQ(events->front().id, "a");
  std::optional<ChainBreak> broken;
  EXPECT_TRUE(store_.Verify(broken, error)) << error;
  EXPECT_EQ(broken, std::nullopt);
}

TEST(HistoryFile, NoHistoryANewerOneOrAnUnwritablePlaceIsRefusedAndLeftAsItIs) {
  test::ScratchDir dir;
  const std::string garbage = dir.File("garbage.sqlite");
  test::WriteBytes(garbage, std::string(4096, 'x'));
  const std::string other = dir.File("other.sqlite");
  Tamper(other, "CREATE TABLE t (a)");
  const std::string newer = dir.File("newer.sqlite");
  {
    HistoryStore store;
    std::string error;
    ASSERT_TRUE(store.Open(newer, error)) << error;
  }
  Tamper(newer, "UPDATE meta SET value = '2' WHERE key = 'schema_version'");
  const struct {
    std::string path;
    std::string why;
  } cases[] = {
      {garbage, "файл не является базой истории"},
      {other, "файл не является базой истории"},
      {newer, "файл из более новой версии программы"},
      {dir.File("missing/history.sqlite"), "unable to open database file"},
  };
  for (const auto& c : cases) {
    const bool existed = std::filesystem::exists(c.path);
    const std::string before = existed ? test::ReadBytes(c.path) : "";
    // Opened to write, or only to read: refused alike.
    for (const auto open : {&HistoryStore::Open, &HistoryStore::OpenForReading}) {
      HistoryStore store;
      std::string error;
      EXPECT_FALSE((store.*open)(c.path, error)) << c.path;
      EXPECT_EQ(error, "История изменений не открыта: " + c.path + ": " + c.why);
      EXPECT_EQ(std::filesystem::exists(c.path), existed) << c.path;
      if (existed) {
        EXPECT_EQ(test::ReadBytes(c.path), before) << c.path;
      }
    }
  }
  // Opened to read, a missing history stays missing.
  HistoryStore reader;
  std::string error;
  EXPECT_FALSE(reader.OpenForReading(dir.File("history.sqlite"), error));
  EXPECT_EQ(dir.Entries(),
            (std::vector<std::string>{"garbage.sqlite", "newer.sqlite", "other.sqlite"}));
}

}  // namespace
}  // namespace zrm
