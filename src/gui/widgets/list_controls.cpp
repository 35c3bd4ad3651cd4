#include "gui/widgets/list_controls.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "gui/texts/qt_text.h"
#include "gui/widgets/typed_number.h"

namespace zrm::gui {

namespace {

bool AllNumbers(const std::vector<std::string>& items) {
  return std::all_of(items.begin(), items.end(), [](const std::string& item) {
    return !item.empty() && std::all_of(item.begin(), item.end(), [](char c) {
      return c >= '0' && c <= '9';
    });
  });
}

QComboBox* MakeCombo(const std::vector<std::string>& items, const char* name, const char* hint,
                     bool editable) {
  auto* list = new QComboBox;
  list->setObjectName(name);
  list->setEditable(editable);
  // Typed text never becomes a new item; it stays the list's text.
  list->setInsertPolicy(QComboBox::NoInsert);
  for (const auto& item : items) list->addItem(ToQ(item));
  if (hint) list->setToolTip(ToQ(hint));
  list->setMaxVisibleItems(16);
  // The field takes the width the layout gives it; the open list is wide
  // enough for its longest item.
  list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  list->setMinimumContentsLength(3);
  list->view()->setMinimumWidth(list->view()->sizeHintForColumn(0) + 24);
  return list;
}

}  // namespace

void FitWidestItem(QComboBox* list) {
  int widest = 0;
  for (int i = 0; i < list->count(); ++i)
    widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(i)));
  QStyleOptionComboBox option;
  option.initFrom(list);
  option.editable = list->isEditable();
  const QSize text(widest, list->fontMetrics().height());
  list->setMinimumWidth(
      list->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, list).width());
}

QComboBox* MakeList(const std::vector<std::string>& items, const char* name, const char* hint) {
  QComboBox* list = MakeCombo(items, name, hint, true);
  // The completer would replace typed text with the first matching item.
  list->setCompleter(nullptr);
  return list;
}

QComboBox* MakeFixedList(const std::vector<std::string>& items, const char* name,
                         const char* hint) {
  QComboBox* list = MakeCombo(items, name, hint, false);
  if (AllNumbers(items)) TakeTypedNumbers(list);
  return list;
}

void ShowListIndex(QComboBox* list, int index) {
  list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
  if (list->isEditable() && list->currentIndex() < 0) list->setEditText(QString());
}

int CollectListIndex(const QComboBox* list) {
  if (!list->isEditable()) return list->currentIndex();
  return list->findText(list->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

void ShowListText(QComboBox* list, const std::string& text) {
  const QString shown = ToQ(text);
  list->setCurrentIndex(list->findText(shown, Qt::MatchExactly | Qt::MatchCaseSensitive));
  list->setEditText(shown);
}

std::string CollectListText(const QComboBox* list) { return FromQ(list->currentText()); }

}  // namespace zrm::gui
