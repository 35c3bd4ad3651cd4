// A save killed at any moment (power cut, killed process) must leave the
// previous complete file or the new complete file, never a mixture or a
// truncated one. A child saves in a loop and is killed with SIGKILL after a
// random delay; the file is checked after every kill.

#include <gtest/gtest.h>

#include <chrono>
#include <random>
#include <thread>

#include "app/link_config_file.h"
#include "profiles/profile_file.h"
#include "robustness/child_process.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace zrm::test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kKills = 200;

// Two different records to alternate between.
DeviceSettings Record(int variant) {
  DeviceSettings s;
  RecordingOperator op;
  ScratchDir dir;
  LoadProfile(dir.File("new.prf"), s, op);  // the content of a new profile
  s.channel[0].diap_max = variant ? 250.0f : 100.0f;
  s.channel[1].text = variant ? "Давление" : "Температура";
  s.relay.rel0_msk0 = variant ? 5 : 0;
  return s;
}

// Kills a child that runs `save` (given the iteration count) in a loop, at
// random moments of up to a few save times, `kKills` times; after each kill
// `check` sees the file. Expects the saves to have got through between
// kills often enough that the kills land in every part of a save.
void KillSavesRepeatedly(const std::string& path, const std::function<void(long)>& save,
                         const std::function<void()>& check) {
  const auto start = Clock::now();
  save(0);
  const auto one_save = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start);
  std::mt19937 random(12);
  std::uniform_int_distribution<long> delay_us(0, 3 * one_save.count() + 1000);
  int changed = 0;
  for (int kill = 0; kill < kKills; ++kill) {
    const std::string before = ReadBytes(path);
    const pid_t child = StartChild([&save] {
      for (long n = 1;; ++n) save(n);
    });
    std::this_thread::sleep_for(std::chrono::microseconds(delay_us(random)));
    KillChild(child);
    check();
    if (::testing::Test::HasFailure()) return;
    changed += ReadBytes(path) != before;
  }
  EXPECT_GT(changed, kKills / 10);
}

TEST(KillDuringSave, ProfileIsAlwaysOldOrNewAndComplete) {
  ScratchDir dir;
  const std::string path = dir.File("recent.prf");
  const std::array<DeviceSettings, 2> records = {Record(0), Record(1)};
  const DescriptionLines lines = {"Прибор на линии 3", "", "", ""};

  // The two complete files a save can leave.
  std::array<std::string, 2> complete;
  for (int v = 0; v < 2; ++v) {
    RecordingOperator op;
    DeviceSettings s = records[v];
    const std::string reference = dir.File("reference" + std::to_string(v) + ".prf");
    ASSERT_TRUE(SaveProfile(reference, s, lines, op));
    complete[v] = ReadBytes(reference);
  }
  ASSERT_NE(complete[0], complete[1]);

  KillSavesRepeatedly(
      path,
      [&](long n) {
        RecordingOperator op;
        DeviceSettings s = records[n % 2];
        SaveProfile(path, s, lines, op);
      },
      [&] {
        const std::string now = ReadBytes(path);
        ASSERT_TRUE(now == complete[0] || now == complete[1])
            << "a killed save left " << now.size() << " bytes";
      });

  // What is left loads as one of the two records.
  RecordingOperator op;
  DeviceSettings loaded;
  LoadProfile(path, loaded, op);
  EXPECT_TRUE(loaded.channel[0].diap_max == 100.0f || loaded.channel[0].diap_max == 250.0f);
  EXPECT_TRUE(op.calls.empty());
}

TEST(KillDuringSave, DevDatIsAlwaysOldOrNewAndComplete) {
  ScratchDir dir;
  RecordingOperator setup;
  LoadLinkConfig(dir.Path(), setup);  // creates dev.dat with its defaults
  std::array<std::string, 2> complete;
  for (int port = 1; port <= 2; ++port) {
    ASSERT_TRUE(StorePortNumber(dir.Path(), port, setup));
    complete[port - 1] = ReadBytes(dir.File("dev.dat"));
  }

  KillSavesRepeatedly(
      dir.File("dev.dat"),
      [&](long n) {
        RecordingOperator op;
        StorePortNumber(dir.Path(), static_cast<std::int32_t>(n % 2 + 1), op);
      },
      [&] {
        const std::string now = ReadBytes(dir.File("dev.dat"));
        ASSERT_TRUE(now == complete[0] || now == complete[1])
            << "a killed save left " << now.size() << " bytes";
      });

  RecordingOperator op;
  const LinkConfig config = LoadLinkConfig(dir.Path(), op);
  EXPECT_TRUE(config.port_number == 1 || config.port_number == 2);
  EXPECT_TRUE(op.calls.empty());
}

}  // namespace
}  // namespace zrm::test
