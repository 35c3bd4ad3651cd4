#include "editor/editor_binding.h"
#include "editor/editor_number.h"

namespace zrm {

namespace {

void CollectAndShow(EditorForm& form, DeviceSettings& s, Operator& op, int port_number) {
  const EditorForm typed = form;
  EditorToSettings(form, s, op);
  SettingsToEditor(s, form, port_number);
  KeepTypedNonNumbers(typed, form);
}

}  // namespace

void SensorTypeChange(EditorForm& form, DeviceSettings& s, Operator& op, int port_number) {
  CollectAndShow(form, s, op, port_number);
}

void PageChange(EditorForm& form, DeviceSettings& s, Operator& op, int port_number) {
  CollectAndShow(form, s, op, port_number);
}

}  // namespace zrm
