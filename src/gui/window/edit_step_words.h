#pragma once
// The words of an undo step left by the user's edit of a field, for the
// status bar's "Отменено: …": the field's caption as the window shows it,
// with the channel it belongs to.

#include <string>

#include "editor/editor_form.h"

namespace zrm::gui {

// "изменение поля «Величина I» канала 1" for the first field, in the pages'
// order, whose content differs between `before` and `after`; empty when no
// field the user edits differs (the port and what only the instrument
// sets are no edits).
std::string FieldEditWords(const EditorForm& before, const EditorForm& after);

}  // namespace zrm::gui
