#pragma once
// Digits typed into a list of numbers, read as one number: the list chooses
// the item equal to it ("1", "2", "0" choose 120), or keeps its choice when
// no item is ("7" never turns 30 into 70), instead of jumping to the first
// item that starts with the key.

#include <QComboBox>

namespace zrm::gui {

// `list`, whose items are all numbers, takes typed digits as one number
// from now on, closed (the item is chosen as a click chooses it) and open
// (the item is highlighted).
void TakeTypedNumbers(QComboBox* list);

}  // namespace zrm::gui
