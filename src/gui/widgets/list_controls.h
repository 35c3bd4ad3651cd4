#pragma once
// The kinds of list control of the window and how they show and collect an
// editor-form value. A "list" is an editable combo box whose typed text is
// its value (the step lists, read as numbers); a "fixed list" accepts only
// its items, so a list read by its index never takes text that names no item.
// A list index of -1 means no item is selected.

#include <QComboBox>
#include <string>
#include <vector>

namespace zrm::gui {

// A combo box named `name` with `items` in order and `hint` as its tooltip.
// A fixed list of numbers takes typed digits as one number and selects the
// item equal to it, or leaves the choice as it is ("7" never turns 30 into
// 70, "1", "2", "0" choose 120).
QComboBox* MakeList(const std::vector<std::string>& items, const char* name, const char* hint);
QComboBox* MakeFixedList(const std::vector<std::string>& items, const char* name, const char* hint);

// Makes `list` at least wide enough to show its widest item whole beside
// its arrow, in the list's own font.
void FitWidestItem(QComboBox* list);

// Selects item `index`; any index without an item leaves no selection (and
// an editable list shows no text).
void ShowListIndex(QComboBox* list, int index);

// The index of the shown item: for an editable list the item whose text is
// exactly the typed text, -1 when none matches.
int CollectListIndex(const QComboBox* list);

// Step lists are read by their text: shows `text` (selecting the item with
// that text when there is one) / returns the text shown.
void ShowListText(QComboBox* list, const std::string& text);
std::string CollectListText(const QComboBox* list);

}  // namespace zrm::gui
