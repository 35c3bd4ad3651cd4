// Fuzzes the number and serial-number texts the technician types: the
// editor reads exactly the texts the check before writing passes (a text
// that is not wholly a number never becomes a value), and reads them as the
// C library's strtof does in the "C" locale; a serial number text the check
// passes is stored exactly, with no error.

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "editor/editor_binding.h"
#include "editor/editor_number.h"
#include "fuzz/fuzz_check.h"
#include "platform/number_text.h"
#include "settings/check_field_texts.h"
#include "support/recording_operator.h"

namespace {

using namespace zrm;
using fuzz::Require;

// Texts strtof reads the way "%f" is meant here: no hexadecimal, infinity
// or nan spellings, no embedded zero byte.
bool MadeOfNumberCharacters(const std::string& text) {
  return text.find_first_not_of(" \t\n\v\f\r0123456789+-.eE") == std::string::npos;
}

bool SameFloat(float a, float b) {
  return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

void CompareWithStrtof(const std::string& text) {
  float ours = 0;
  if (!ParseEditorNumber(text, ours)) return;
  char* end = nullptr;
  const float reference = std::strtof(text.c_str(), &end);
  Require(end != text.c_str() && SameFloat(ours, reference),
          "the editor reads the value strtof reads");
}

void CheckSerialNumber(const std::string& text) {
  if (!IsSerialNumberText(text)) return;
  test::RecordingOperator op;
  EditorForm form;
  form.serial_number = text;
  DeviceSettings settings;
  EditorToSettings(form, settings, op);
  Require(op.CallsStartingWith("message").empty(), "a serial number the check passes gives no error");
  const unsigned long long expected = std::strtoull(std::string(TrimBlanks(text)).c_str(), nullptr, 10);
  Require(SerialNumber(settings.general) == expected, "the serial number is stored as typed");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  std::setlocale(LC_ALL, "C");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(bytes), size);
  if (MadeOfNumberCharacters(text)) CompareWithStrtof(text);

  float value = 0;
  Require(ParseEditorNumber(text, value) == IsNumberText(text),
          "the editor reads exactly the number texts the check passes");
  FormatEditorNumber(value);
  CheckSerialNumber(text);
  return 0;
}
