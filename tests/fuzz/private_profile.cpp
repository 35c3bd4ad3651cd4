// Fuzzes the private-profile reader and writer with arbitrary file content:
// reading never crashes and keeps the 1023-character limit, a missing key
// gives the caller's default, and a save followed by a new read gives back
// the keys written and every ASCII value left alone.

#include <array>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_check.h"
#include "platform/private_profile.h"
#include "support/scratch_dir.h"

namespace {

using namespace zrm;
using fuzz::Require;

struct Key {
  const char* section;
  const char* key;
};

// Names the program reads, and names a fuzzed file is likely to hold.
constexpr std::array<Key, 9> kKeys = {{
    {"CH1", "dat"}, {"ch2", "DIAP_MAX"}, {"GEN", "otk_type"}, {"Definition", "txt0"},
    {"Dat_bound24", "max"}, {"COM_SETTINGS", "Settings"}, {"PORTS", "COM1"}, {"a", "b"},
    {"", ""},
}};

std::size_t Utf8Chars(const std::string& text) {
  std::size_t count = 0;
  for (unsigned char c : text) count += (c & 0xC0) != 0x80;
  return count;
}

bool IsAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

const test::ScratchDir& Scratch() {
  static const test::ScratchDir dir;
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string path = Scratch().File("fuzz.ini");
  test::WriteBytes(path, std::string(reinterpret_cast<const char*>(bytes), size));

  PrivateProfile profile = PrivateProfile::Load(path);
  Require(profile.ExistedOnDisk(), "an existing file is read");
  std::array<std::string, kKeys.size()> before;
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    before[i] = profile.GetString(kKeys[i].section, kKeys[i].key, "<none>");
    Require(Utf8Chars(before[i]) <= 1023, "a value arrives with at most 1023 characters");
    Require(profile.HasKey(kKeys[i].section, kKeys[i].key) || before[i] == "<none>",
            "a missing key gives the default");
  }

  profile.SetString("FuzzSection", "fuzz_key", " set by the fuzzer ");
  profile.SetString("CH1", "dat", "42");
  std::string error;
  Require(profile.Save(error), "a readable file in a writable folder is saved");

  const PrivateProfile again = PrivateProfile::Load(path);
  Require(again.GetString("FuzzSection", "fuzz_key", "") == "set by the fuzzer",
          "a key written reads back");
  Require(again.GetString("CH1", "dat", "") == "42", "a key replaced reads back");
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    const std::string section = kKeys[i].section;
    if (section == "CH1" || !IsAscii(before[i])) continue;
    Require(again.GetString(kKeys[i].section, kKeys[i].key, "<none>") == before[i],
            "a key nobody wrote keeps its value through a save");
  }
  return 0;
}
