// Fuzzes LoadLinkConfig with arbitrary dev.dat content: the configuration
// read is within its ranges where the program relies on them, the file is
// completed and written back, and reading the written file again gives the
// same configuration (every value written back is the value used).

#include <algorithm>
#include <cstdint>
#include <string>

#include "app/link_config_file.h"
#include "fuzz/fuzz_check.h"
#include "platform/cp1251.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace {

using namespace zrm;
using fuzz::Require;

const test::ScratchDir& Scratch() {
  static const test::ScratchDir dir;
  return dir;
}

// The text as it is written back: dev.dat is cp1251 on disk, so a character
// of a UTF-8 copy that cp1251 lacks becomes "?", and a lone CR inside a
// value becomes a blank so that it can never split the line.
std::string AsWritten(const std::string& text) {
  std::string written = Cp1251ToUtf8(Utf8ToCp1251(text));
  std::replace(written.begin(), written.end(), '\r', ' ');
  return written;
}

bool SameText(const std::string& a, const std::string& b) { return AsWritten(a) == AsWritten(b); }

// Whether the profile reader takes these bytes for a UTF-8 copy rather than
// cp1251: well-formed UTF-8 after an optional byte order mark, with the mark
// or with non-ASCII bytes.
bool TakenForUtf8(std::string bytes) {
  const bool bom = bytes.rfind("\xEF\xBB\xBF", 0) == 0;
  if (bom) bytes.erase(0, 3);
  return IsValidUtf8(bytes) && (bom || std::any_of(bytes.begin(), bytes.end(), [](char c) {
                                  return static_cast<unsigned char>(c) >= 0x80;
                                }));
}

bool SameConfig(const LinkConfig& a, const LinkConfig& b) {
  for (int i = 0; i < 4; ++i)
    if (!SameText(a.port_paths[i], b.port_paths[i])) return false;
  return a.port_number == b.port_number && a.speed == b.speed && a.attempts == b.attempts &&
         a.timeout_ms == b.timeout_ms && a.net_address == b.net_address &&
         a.use_log_file == b.use_log_file && SameText(a.log_file_name, b.log_file_name) &&
         a.use_izm_file == b.use_izm_file && SameText(a.izm_file_name, b.izm_file_name);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  test::WriteBytes(Scratch().File("dev.dat"),
                   std::string(reinterpret_cast<const char*>(bytes), size));

  test::RecordingOperator op;
  const LinkConfig config = LoadLinkConfig(Scratch().Path(), op);
  Require(config.speed == 4800 || config.speed == 9600 || config.speed == 19200 ||
              config.speed == 38400 || config.speed == 57600,
          "the speed is one the port knows");
  Require(config.timeout_ms % 1000 == 0 || config.timeout_ms == UINT32_MAX,
          "the time-out is whole seconds");
  const std::string path = config.PortPath();
  Require(path.empty() == (config.port_number < 1 || config.port_number > 4),
          "a port number outside 1..4 has no device");
  Require(op.CallsStartingWith("message|Ошибка").empty(), "dev.dat in a writable folder is written");

  // dev.dat is written back in cp1251. When those bytes happen to form
  // well-formed UTF-8 with non-ASCII in it, the next read takes the file for
  // a UTF-8 copy; real cp1251 text cannot (two Cyrillic letters in a row are
  // never a UTF-8 sequence), so only such contrived files are spared.
  const bool rereads_as_cp1251 = !TakenForUtf8(test::ReadBytes(Scratch().File("dev.dat")));
  test::RecordingOperator again_op;
  const LinkConfig again = LoadLinkConfig(Scratch().Path(), again_op);
  Require(!rereads_as_cp1251 || SameConfig(config, again),
          "dev.dat read back gives the same configuration");
  Require(again_op.calls == op.calls, "the same warnings again");
  return 0;
}
