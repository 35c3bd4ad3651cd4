#pragma once
// Texts of the editor's number fields and their values.

#include <string>
#include <string_view>

#include "editor/editor_form.h"
#include "settings/device_settings.h"

namespace zrm {

// Reads a field text that is wholly a number (blanks and control characters
// around it allowed, "." the only decimal point) into the 32-bit float
// `value`. Any other text, "xyz", "8,5" or "", leaves `value` as it was and
// returns false: a typed text never turns into some other number.
bool ParseEditorNumber(std::string_view text, float& value);

// The text a number field shows: "%8.4f", so 0.02 is "  0.0200".
std::string FormatEditorNumber(float value);

// One number field of a channel panel and the record field it holds; `step`
// fields are stored without their sign.
struct NumberFieldBinding {
  std::string ChannelForm::*text;
  float ChannelSettings::*field;
  bool step;
};

// The number fields of a channel in the binding's order.
inline constexpr NumberFieldBinding kNumberFields[] = {
    {&ChannelForm::diap_max, &ChannelSettings::diap_max, false},
    {&ChannelForm::diap_min, &ChannelSettings::diap_min, false},
    {&ChannelForm::shift, &ChannelSettings::shift, false},
    {&ChannelForm::adj, &ChannelSettings::adj, false},
    {&ChannelForm::th1, &ChannelSettings::th1, false},
    {&ChannelForm::th2, &ChannelSettings::th2, false},
    {&ChannelForm::his1, &ChannelSettings::his1, false},
    {&ChannelForm::his2, &ChannelSettings::his2, false},
    {&ChannelForm::spd_th, &ChannelSettings::spd_th, true},
    {&ChannelForm::spd_his, &ChannelSettings::spd_his, true},
};

// Puts back into `shown` every number field text of `typed` that is not a
// number, so the field keeps what the user typed (and stays marked) after
// the editor was shown again from the record.
void KeepTypedNonNumbers(const EditorForm& typed, EditorForm& shown);

}  // namespace zrm
