#pragma once
// The texts the first check before writing tests, taken from the form.

#include "editor/editor_form.h"
#include "settings/check_field_texts.h"
#include "settings/device_settings.h"

namespace zrm {

// The 29 field texts in the order CheckFieldTexts tests them. koef0..koef3
// have no field: their texts are the record's values as a field would show
// them.
FieldTexts FieldTextsOf(const EditorForm& form, const DeviceSettings& s);

}  // namespace zrm
