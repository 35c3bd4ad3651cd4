#include "settings/check_field_texts.h"

#include "platform/number_text.h"
#include "settings/check_texts.h"

namespace zrm {

namespace {

constexpr unsigned long long kLargestSerialNumber = 65535;

struct FieldRule {
  bool serial;  // the serial number rule instead of the number rule
  std::string_view caption;
  std::string_view message;
};

using namespace check_text;

constexpr FieldRule kRules[kFieldTextCount] = {
    {false, kChannel1Fields, kDiapMin},
    {true, kGeneralFields, kSerialNumber},
    {false, kChannel1Fields, kDiapMax},
    {false, kChannel1Fields, kShift},
    {false, kChannel1Fields, kAdj},
    {false, kChannel1Fields, kTh1},
    {false, kChannel1Fields, kTh2},
    {false, kChannel1Fields, kHis1},
    {false, kChannel1Fields, kHis2},
    {false, kChannel1Fields, kSpdTh},
    {false, kChannel1Fields, kSpdHis1},
    {false, kChannel1Fields, kKoef0},
    {false, kChannel1Fields, kKoef1},
    {false, kChannel1Fields, kKoef2},
    {false, kChannel1Fields, kKoef3},
    {false, kChannel2Fields, kDiapMin},
    {false, kChannel2Fields, kDiapMax},
    {false, kChannel2Fields, kShift},
    {false, kChannel2Fields, kAdj},
    {false, kChannel2Fields, kTh1},
    {false, kChannel2Fields, kTh2},
    {false, kChannel2Fields, kHis1},
    {false, kChannel2Fields, kHis2},
    {false, kChannel2Fields, kSpdTh},
    {false, kChannel2Fields, kSpdHis2},
    {false, kChannel2Fields, kKoef0},
    {false, kChannel2Fields, kKoef1},
    {false, kChannel2Fields, kKoef2},
    {false, kChannel2Fields, kKoef3},
};

bool ConsistsOf(std::string_view text, std::string_view allowed) {
  return text.find_first_not_of(allowed) == std::string_view::npos;
}

}  // namespace

bool IsNumberText(std::string_view text) {
  std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty() || !ConsistsOf(trimmed, "0123456789+-.")) return false;
  float value = 0;
  std::size_t consumed = 0;
  return ScanFloat(trimmed, value, &consumed) && consumed == trimmed.size();
}

bool IsSerialNumberText(std::string_view text) {
  std::string_view trimmed = TrimBlanks(text);
  if (trimmed.empty() || !ConsistsOf(trimmed, "0123456789")) return false;
  unsigned long long value = 0;
  return ScanUnsigned(trimmed, value) && value <= kLargestSerialNumber;
}

ExchangeResult CheckFieldTexts(const FieldTexts& texts, Operator& op) {
  for (int i = 0; i < kFieldTextCount; ++i) {
    const FieldRule& rule = kRules[i];
    bool ok = rule.serial ? IsSerialNumberText(texts[i]) : IsNumberText(texts[i]);
    if (ok) continue;
    op.ShowMessage(std::string(rule.message), std::string(rule.caption), MessageIcon::kError);
    return result::kStoppedToCorrect;
  }
  return result::kOk;
}

}  // namespace zrm
