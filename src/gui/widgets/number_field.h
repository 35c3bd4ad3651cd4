#pragma once
// What the window adds to the editor's number fields: a "," typed on a
// Russian keyboard or keypad becomes ".", and a text that is not wholly a
// number is framed in red with a tooltip saying so until it is corrected.

#include <QComboBox>
#include <QLineEdit>

namespace zrm::gui {

// Makes `field` a number field: typed or pasted "," turns into "." at once,
// and the mark follows the text, typed or shown by the program.
void MakeNumberField(QLineEdit* field);
// The same for the editable step lists, whose typed text is a number too.
void MakeNumberField(QComboBox* list);

// True while `control` is marked as holding no number.
bool NumberFieldMarked(const QWidget* control);

}  // namespace zrm::gui
