// Fuzzes LoadProfile with arbitrary file content, then takes the record
// through everything that reads it: the editor (both directions), the
// configuration page, a save and a second load. Out-of-range codes from the
// file must never index a table outside its bounds (ASan stops the run).

#include <cstdint>
#include <string>

#include "editor/editor_binding.h"
#include "fuzz/fuzz_check.h"
#include "profiles/profile_file.h"
#include "report/configuration_page.h"
#include "support/recording_operator.h"
#include "support/scratch_dir.h"

namespace {

using namespace zrm;
using fuzz::Require;

const test::ScratchDir& Scratch() {
  static const test::ScratchDir dir;
  return dir;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string path = Scratch().File("fuzz.prf");
  test::WriteBytes(path, std::string(reinterpret_cast<const char*>(bytes), size));

  test::RecordingOperator op;
  DeviceSettings settings;
  const DescriptionLines lines = LoadProfile(path, settings, op);
  Require(lines == settings.description.txt, "the description lines are the record's");

  EditorForm form;
  SettingsToEditor(settings, form, 1);
  EditorToSettings(form, settings, op);
  SettingsToEditor(settings, form, 4);
  BuildConfigurationPage(settings, PrintDate{});

  Require(SaveProfile(path, settings, lines, op), "a loaded profile is saved again");
  DeviceSettings reloaded;
  LoadProfile(path, reloaded, op);
  Require(op.CallsStartingWith("message|Ошибка|Unable to write").empty(),
          "a profile in a writable folder is written");
  return 0;
}
