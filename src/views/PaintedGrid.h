#pragma once
// A grid of fixed-size cells whose cells are painted by a callback: fixed
// header rows and fixed columns that do not scroll, scrolling by whole rows
// and columns, whole-row selection and grid lines. The grid itself paints
// only the default background of each cell (button face for fixed cells,
// the selection colour for the selected row, white otherwise), the grid
// lines and the header texts of row 0; everything else is the callback's.
//
// Geometry follows a string grid: a column of width cw occupies cw pixels
// followed by a one-pixel grid line, and so does a row.
#include <QAbstractScrollArea>
#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

namespace furlong {

class PaintedGrid : public QAbstractScrollArea {
  Q_OBJECT

 public:
  // Paints one cell; `rect` is the cell without its grid lines. The painter
  // is clipped to the cell plus its right and bottom grid line and carries
  // the grid font.
  using DrawCell = std::function<void(QPainter& painter, int col, int row, const QRect& rect)>;

  explicit PaintedGrid(QWidget* parent = nullptr);

  void setColumnWidths(std::vector<int> widths);
  // Height of the fixed (header) rows and of every other row.
  void setRowHeights(int fixedRowHeight, int rowHeight);
  void setFixedColumns(int count);
  void setFixedRows(int count);
  void setRowCount(int count);
  void setGridFont(const QFont& font);
  // Texts of row 0, drawn by the grid at (L + 2, T + 2) in the grid font.
  void setHeaderTexts(std::vector<QString> texts);
  void setDrawCell(DrawCell draw) { draw_ = std::move(draw); }

  int columnCount() const { return static_cast<int>(widths_.size()); }
  int rowCount() const { return rowCount_; }
  int fixedColumns() const { return fixedCols_; }
  int fixedRows() const { return fixedRows_; }
  int columnWidth(int col) const { return widths_.at(static_cast<std::size_t>(col)); }
  int rowHeight(int row) const { return row < fixedRows_ ? fixedRowHeight_ : rowHeight_; }
  const QFont& gridFont() const { return font_; }

  // Whole-row selection; -1 when no row is selected.
  int selectedRow() const { return selected_; }
  void selectRow(int row);
  void clearSelection() { selectRow(-1); }

  // First scrolled (non-fixed) column and row shown.
  int leftColumn() const { return leftCol_; }
  int topRow() const { return topRow_; }

  // Size of the whole grid, every cell and grid line, without scrolling.
  QSize contentSize() const;
  // A cell's rectangle in content coordinates (no scrolling).
  QRect contentCellRect(int col, int row) const;
  // A cell's rectangle in the viewport as now scrolled; empty when hidden.
  QRect cellRect(int col, int row) const;
  // Paints every cell of the grid at content coordinates.
  void renderAll(QPainter& painter) const;
  QImage renderAll() const;
  // Counts the paint passes, on screen and renderAll alike. What a cell
  // painter keeps for the pass it was made in is current: nothing changes
  // the data while a pass paints.
  std::uint64_t PaintPass() const { return paintPass_; }

  QSize sizeHint() const override;

 signals:
  void rowSelected(int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  void updateScrollBars();
  void paintCell(QPainter& painter, int col, int row, const QRect& rect) const;
  // Viewport x of each shown column / y of each shown row, in paint order.
  struct Span {
    int index;
    int pos;
  };
  std::vector<Span> shownColumns(int limit) const;
  std::vector<Span> shownRows(int limit) const;
  int rowAt(int y) const;

  std::vector<int> widths_;
  std::vector<QString> headers_;
  int fixedCols_ = 0;
  int fixedRows_ = 1;
  int rowCount_ = 2;
  int fixedRowHeight_ = 17;
  int rowHeight_ = 24;
  int leftCol_ = 0;
  int topRow_ = 1;
  int selected_ = -1;
  QFont font_;
  DrawCell draw_;
  mutable std::uint64_t paintPass_ = 0;
};

// Shows `rows` rows (the header included) afresh: no selection, repainted.
void ShowRows(PaintedGrid& grid, int rows);

// A grid of the race card pages: its object name, column widths (the first
// `fixedColumns` fixed), one fixed header row of `headerHeight` over rows of
// `rowHeight`, the 12-pixel grid font, header texts (UTF-8, none when empty)
// and its cell painting.
PaintedGrid* MakeRaceGrid(QWidget* parent, const char* name, std::vector<int> widths, int fixedColumns,
                          int headerHeight, int rowHeight, const std::vector<const char*>& headers,
                          PaintedGrid::DrawCell draw);

}  // namespace furlong
