#include "views/AnalysisGridPaint.h"

#include <QFontMetrics>
#include <QPainter>

#include "views/GridPainting.h"
#include "views/PaintedGrid.h"

namespace furlong {

QFont AnalysisGridFont() { return PixelFont(13, true); }

void SetUpAnalysisGrid(PaintedGrid& grid, const std::vector<int>& widths, int rowHeight) {
  grid.setGridFont(AnalysisGridFont());
  grid.setColumnWidths(widths);
  grid.setFixedColumns(0);
  grid.setFixedRows(1);
  grid.setRowHeights(rowHeight, rowHeight);
  grid.setRowCount(2);
}

void PaintAnalysisGridCell(QPainter& painter, const QRect& rect, bool header, const QString& text,
                           std::optional<Rgb> fill, bool leftAligned) {
  CellCanvas c(painter, rect);
  c.SetFont(AnalysisGridFont());
  if (header)
    c.Fill(kButtonFace);
  else if (fill)
    c.Fill(*fill);
  if (text.isEmpty()) return;
  c.SetColour(kBlack);
  int x = c.L + 2;
  if (!leftAligned) x = c.L + (rect.width() - QFontMetrics(c.Font()).horizontalAdvance(text)) / 2;
  painter.save();
  painter.setClipRect(rect, Qt::IntersectClip);
  c.TextQ(x, c.T + 1, text);
  painter.restore();
}

}  // namespace furlong
