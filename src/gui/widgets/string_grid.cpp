#include "gui/widgets/string_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include "gui/texts/qt_text.h"

namespace zrm::gui {

namespace {
constexpr int kRowHeight = 22;
}

StringGrid::StringGrid(const char* name, GridShape shape, int column_width, QWidget* parent)
    : QTableWidget(shape.rows, shape.columns, parent) {
  setObjectName(name);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  horizontalHeader()->hide();
  verticalHeader()->hide();
  horizontalHeader()->setMinimumSectionSize(10);
  setStyleSheet("QTableWidget::item { padding: 0px; }");
  setWordWrap(false);
  setTextElideMode(Qt::ElideNone);
  const QColor heading = QApplication::palette().color(QPalette::Button);
  for (int row = 0; row < shape.rows; ++row) {
    setRowHeight(row, kRowHeight);
    setRowHidden(row, row >= shape.visible_rows);
    for (int column = 0; column < shape.columns; ++column) {
      auto* item = new QTableWidgetItem;
      item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
      if (row < shape.fixed_rows || column < shape.fixed_columns) {
        item->setBackground(heading);
        item->setFlags(Qt::ItemIsEnabled);
      }
      setItem(row, column, item);
    }
  }
  for (int column = 0; column < shape.columns; ++column) setColumnWidth(column, column_width);
  setFixedSize(shape.columns * column_width + 2 * frameWidth(),
               shape.visible_rows * kRowHeight + 2 * frameWidth());
  connect(this, &QTableWidget::cellClicked, this,
          [this](int row, int column) { emit CellChosen(column, row); });
}

void StringGrid::SetCell(int column, int row, const std::string& text) {
  item(row, column)->setText(ToQ(text));
}

std::string StringGrid::Cell(int column, int row) const {
  return FromQ(item(row, column)->text());
}

void StringGrid::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && currentItem()) {
    emit CellChosen(currentColumn(), currentRow());
    return;
  }
  QTableWidget::keyPressEvent(event);
}

}  // namespace zrm::gui
