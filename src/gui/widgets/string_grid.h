#pragma once
// A grid of text cells in the manner of a string grid: fixed rows and
// columns painted as headings, equal column widths, no scroll bars, and no
// cell editable by typing. A click or the space bar on a cell reports it;
// what the click means is the editor model's business.

#include <QTableWidget>
#include <string>

namespace zrm::gui {

struct GridShape {
  int columns = 0;
  int rows = 0;
  int visible_rows = 0;   // rows beyond these are hidden
  int fixed_columns = 0;  // columns 0..fixed_columns-1 are headings
  int fixed_rows = 0;     // rows 0..fixed_rows-1 are headings
};

class StringGrid : public QTableWidget {
  Q_OBJECT

 public:
  StringGrid(const char* name, GridShape shape, int column_width, QWidget* parent = nullptr);

  // Cell text at (column, row), the grid's own order of coordinates.
  void SetCell(int column, int row, const std::string& text);
  std::string Cell(int column, int row) const;

 signals:
  // The user clicked the cell (column, row) or pressed space on it.
  void CellChosen(int column, int row);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace zrm::gui
