#pragma once
// Cell painting shared by the two grids whose texts the race analysis writes
// (the verification grid and the prediction grid): the header row on the
// button face with its text centred, runner cells filled with their
// background and the text in black at the top of the cell, left-aligned in
// the horse-name column and centred elsewhere.
#include <QString>
#include <QStringList>
#include <algorithm>
#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "analysis/Colour.h"
#include "store/DayTables.h"
#include "views/ViewSupport.h"

class QPainter;
class QRect;
class QFont;

namespace furlong {

class PaintedGrid;

// The grid font of both grids: 13 pixels, bold.
QFont AnalysisGridFont();

// Columns, row height (header included), no fixed columns, one fixed row.
void SetUpAnalysisGrid(PaintedGrid& grid, const std::vector<int>& widths, int rowHeight);

// Paints one cell. `fill` empty keeps the colour the grid painted (the
// selection or white).
void PaintAnalysisGridCell(QPainter& painter, const QRect& rect, bool header, const QString& text,
                           std::optional<Rgb> fill, bool leftAligned);

// The runner rows one of the two grids shows: the Shift-JIS rows the analysis
// wrote and their display texts, with the cell text and painting of each.
template <typename Row, std::size_t Columns>
class AnalysisGridRows {
 public:
  AnalysisGridRows(const QStringList& headers, int nameColumn) : headers_(headers), nameColumn_(nameColumn) {}

  // Takes runner rows 1 .. rowCount - 1 (at most 18) of the analysis.
  template <typename Rows>
  void Assign(const Rows& analysed, int rowCount) {
    const int n = std::max(std::min(rowCount - 1, kRunnerSlots), 0);
    rows_.assign(analysed.begin(), analysed.begin() + n);
    texts_.resize(rows_.size());
    for (std::size_t r = 0; r < rows_.size(); ++r)
      for (std::size_t c = 0; c < Columns; ++c) texts_[r][c] = FromSjis(rows_[r][static_cast<int>(c)]);
  }

  // The text of a cell: the header in row 0, "" outside the grid.
  QString Cell(int col, int row) const {
    if (col < 0 || col >= static_cast<int>(Columns)) return {};
    if (row == 0) return headers_[col];
    if (row < 1 || row > static_cast<int>(texts_.size())) return {};
    return texts_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col)];
  }

  // Paints a cell; `background(row, col)` gives a runner cell's fill.
  template <typename Background>
  void Paint(QPainter& painter, int col, int row, const QRect& rect, Background background) const {
    if (row == 0) {
      PaintAnalysisGridCell(painter, rect, true, headers_.value(col), std::nullopt, false);
      return;
    }
    if (row > static_cast<int>(rows_.size())) {
      PaintAnalysisGridCell(painter, rect, false, QString(), kWhite, false);
      return;
    }
    const std::size_t r = static_cast<std::size_t>(row - 1);
    PaintAnalysisGridCell(painter, rect, false, texts_[r][static_cast<std::size_t>(col)], background(rows_[r], col),
                          col == nameColumn_);
  }

 private:
  const QStringList& headers_;
  int nameColumn_;
  std::vector<Row> rows_;  // Shift-JIS, runner rows 1 .. n
  std::vector<std::array<QString, Columns>> texts_;
};

}  // namespace furlong
