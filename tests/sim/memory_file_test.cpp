// The memory file: a dump reads back to the same memory, a file changes only
// what it names, and a bad line is reported by number with nothing applied.

#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <fstream>

#include "lib/default_instrument.h"
#include "lib/memory_file.h"

namespace zrm::sim {
namespace {

TEST(SimMemoryFile, DumpReadsBackToTheSameMemory) {
  ParameterMemory memory = DefaultInstrumentMemory();
  memory.SetFloat(29, 0.1f);
  memory.SetFloat(30, -999.0f);
  memory.SetValue(DwordParameter(5), 0x7F800001u);  // a NaN keeps its bits
  ParameterMemory zero;
  std::string error;
  ASSERT_TRUE(ApplyMemoryText(MemoryFileText(memory), zero, error)) << error;
  EXPECT_EQ(zero, memory);
}

TEST(SimMemoryFile, ChangesOnlyNamedParameters) {
  ParameterMemory memory = DefaultInstrumentMemory();
  std::string error;
  ASSERT_TRUE(ApplyMemoryText("# a trainer's instrument\n"
                              "proc_ver = 2   # 4816\n"
                              "\n"
                              "  dat.2=0x11\r\n"
                              "diap_max.2 = 5\n"
                              "th1.1 = 0x42C80000\n",
                              memory, error))
      << error;
  EXPECT_EQ(memory.Byte(2, 3), 2);
  EXPECT_EQ(memory.Byte(2, 316), 17);
  EXPECT_EQ(memory.Float(16), 5.0f);
  EXPECT_EQ(memory.Float(29), 100.0f);
  EXPECT_EQ(memory.Byte(2, 11), 0x39);  // untouched
}

TEST(SimMemoryFile, BadLineIsReportedAndNothingApplied) {
  const ParameterMemory before = DefaultInstrumentMemory();
  const struct {
    const char* text;
    const char* message;
  } cases[] = {
      {"proc_ver = 2\nnonsense\n", "line 2: expected name = value"},
      {"dat.3 = 1\n", "line 1: unknown parameter 'dat.3'"},
      {"restart = 1\n", "line 1: unknown parameter 'restart'"},
      {"\n\ndat.1 = 256\n", "line 3: bad value '256' for dat.1"},
      {"dat.1 = -1\n", "line 1: bad value '-1' for dat.1"},
      {"th1.1 = 1,5\n", "line 1: bad value '1,5' for th1.1"},
      {"th1.1 = 0x42C8\n", "line 1: bad value '0x42C8' for th1.1"},
      {"th1.1 =\n", "line 1: bad value '' for th1.1"},
  };
  for (const auto& c : cases) {
    ParameterMemory memory = before;
    std::string error;
    EXPECT_FALSE(ApplyMemoryText(c.text, memory, error)) << c.text;
    EXPECT_EQ(error, c.message);
    EXPECT_EQ(memory, before);
  }
}

TEST(SimMemoryFile, LoadsFromDiskAndReportsAMissingFile) {
  const std::string path = ::testing::TempDir() + "zrm48sim_memory_test.txt";
  std::ofstream(path) << "otk_type = 12\n";
  ParameterMemory memory;
  std::string error;
  ASSERT_TRUE(LoadMemoryFile(path, memory, error)) << error;
  EXPECT_EQ(memory.Byte(2, 14), 12);
  std::remove(path.c_str());
  EXPECT_FALSE(LoadMemoryFile(path, memory, error));
  EXPECT_EQ(error, "cannot open " + path);
}

}  // namespace
}  // namespace zrm::sim
