// zrm48bench_history: what the history of changes costs. The time to store
// one event (a write's closing event with three parameters) in a local
// history.sqlite, as the commands store it, and the time to list every event
// of one instrument out of a history of 100 000 of its events and as many
// of another's. Prints a Markdown table; it times, it does not judge.
//
//   zrm48bench_history [--events N] [--runs N]

#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "app/history_recorder.h"
#include "history/history_store.h"
#include "sample_stats.h"

namespace zrm::bench {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kListed = 100'000;

double MsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

HistoryEvent ClosingEvent(HistoryRecorder& history, int n) {
  HistoryEvent e = history.NewEvent("changes", "/dev/ttyUSB0", 1);
  e.instrument_type = "4813";
  e.instrument_number = "047-12345";
  e.firmware = "2.1.4";
  e.message = "";
  e.changes = {{"Канал 1: Величина I", "150.0000", std::to_string(n) + ".5000"},
               {"Канал 1: Гистерезис I", "1.0000", "2.0000"},
               {"Реле: Реле 1, события канала 1", "0", "1"}};
  return e;
}

// `count` events of `number` written straight into the file in one
// transaction, as years of work would have left them.
bool Fill(const std::string& path, const std::string& number, int count) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return false;
  sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  sqlite3_prepare_v2(db,
                     "INSERT INTO events (id, time_ms, workstation, user, program, version,"
                     " instrument_type, instrument_number, firmware, line, address, action, result,"
                     " message, backup, journal, changes, opening_id, origin, previous_hash, hash)"
                     " VALUES (?1, ?2, 'bench', 'bench', 'zrm48ctl', '1', '4813', ?3, '2.1.4',"
                     " '/dev/ttyUSB0', 1, 'changes', 0, '', '', '',"
                     " 'Канал 1: Величина I\t150.0000\t151.5000\n', '', 'bench zrm48ctl', '', '')",
                     -1, &insert, nullptr);
  for (int i = 0; i < count; ++i) {
    const std::string id = number + ":" + std::to_string(i);
    sqlite3_bind_text(insert, 1, id.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int64(insert, 2, 1'700'000'000'000 + i * 1000LL);
    sqlite3_bind_text(insert, 3, number.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_step(insert);
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  const bool done = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return done;
}

int Run(int events, int runs) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() / ("zrm48bench_history." + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  std::string error;
  std::vector<double> store_ms;
  {
    HistoryRecorder history(dir.string(), "zrm48ctl");
    for (int n = 0; n < events; ++n) {
      HistoryEvent e = ClosingEvent(history, n);
      const Clock::time_point start = Clock::now();
      if (!history.Store(e, error)) {
        std::fprintf(stderr, "zrm48bench_history: %s\n", error.c_str());
        return 1;
      }
      store_ms.push_back(MsSince(start));
    }
  }
  const std::string path = (dir / "history.sqlite").string();
  if (!Fill(path, "047-12345", kListed) || !Fill(path, "047-99999", kListed)) {
    std::fprintf(stderr, "zrm48bench_history: %s could not be filled\n", path.c_str());
    return 1;
  }
  std::vector<double> list_ms;
  std::size_t listed = 0;
  for (int r = 0; r < runs; ++r) {
    HistoryStore store;
    const Clock::time_point start = Clock::now();
    if (!store.Open(path, error)) {
      std::fprintf(stderr, "zrm48bench_history: %s\n", error.c_str());
      return 1;
    }
    const auto found = store.List({"", "047-12345", "", {}, {}}, error);
    list_ms.push_back(MsSince(start));
    listed = found ? found->size() : 0;
  }
  std::filesystem::remove_all(dir);
  std::printf("| what | count | median ms | 99th percentile ms | largest ms | goal ms |\n");
  std::printf("|---|---|---|---|---|---|\n");
  std::printf("| store one event (3 parameters), local SQLite, WAL | %d | %.2f | %.2f | %.2f | 5 |\n",
              events, Median(store_ms), Percentile(store_ms, 0.99), Largest(store_ms));
  std::printf("| list one instrument's %zu events of %d (open + list) | %d | %.1f | %.1f | %.1f | 500 |\n",
              listed, 2 * kListed, runs, Median(list_ms), Percentile(list_ms, 0.99),
              Largest(list_ms));
  return 0;
}

}  // namespace
}  // namespace zrm::bench

int main(int argc, char** argv) {
  int events = 500;
  int runs = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string_view option = argv[i];
    if (option == "--events") events = std::atoi(argv[i + 1]);
    if (option == "--runs") runs = std::atoi(argv[i + 1]);
  }
  return zrm::bench::Run(events > 0 ? events : 500, runs > 0 ? runs : 5);
}
