// The painted grid widget: geometry, fixed rows and columns while scrolling,
// whole-row selection, and the order of default painting and cell painting.
#include "views/PaintedGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include "views/GridPainting.h"

namespace furlong {
namespace {

// Five columns of 50 pixels, the first two fixed; a 20-pixel header row and
// 30-pixel rows.
struct Grid {
  PaintedGrid grid;
  Grid() {
    grid.setColumnWidths({50, 50, 50, 50, 50});
    grid.setFixedColumns(2);
    grid.setFixedRows(1);
    grid.setRowHeights(20, 30);
    grid.setRowCount(11);
    grid.resize(200 + 2 * grid.frameWidth(), 120 + 2 * grid.frameWidth());
    grid.show();
    QApplication::processEvents();
  }
};

TEST(PaintedGrid, CellsAreFollowedByOnePixelGridLines) {
  Grid g;
  EXPECT_EQ(g.grid.contentSize(), QSize(5 * 51, 21 + 10 * 31));
  EXPECT_EQ(g.grid.contentCellRect(2, 0), QRect(102, 0, 50, 20));
  EXPECT_EQ(g.grid.contentCellRect(0, 3), QRect(0, 21 + 2 * 31, 50, 30));
  EXPECT_EQ(g.grid.contentCellRect(5, 0), QRect());
  EXPECT_EQ(g.grid.contentCellRect(0, 11), QRect());
}

TEST(PaintedGrid, FixedColumnsAndRowsStayWhileTheRestScrollsByWholeCells) {
  Grid g;
  ASSERT_GT(g.grid.horizontalScrollBar()->maximum(), 0);
  g.grid.horizontalScrollBar()->setValue(1);
  g.grid.verticalScrollBar()->setValue(2);
  EXPECT_EQ(g.grid.leftColumn(), 3);
  EXPECT_EQ(g.grid.topRow(), 3);
  EXPECT_EQ(g.grid.cellRect(0, 0), QRect(0, 0, 50, 20));
  EXPECT_EQ(g.grid.cellRect(1, 3), QRect(51, 21, 50, 30));
  EXPECT_EQ(g.grid.cellRect(3, 3), QRect(102, 21, 50, 30));
  EXPECT_TRUE(g.grid.cellRect(2, 3).isEmpty()) << "scrolled out";
  EXPECT_TRUE(g.grid.cellRect(3, 1).isEmpty()) << "scrolled out";
}

void Click(PaintedGrid& grid, QPoint at) {
  QMouseEvent press(QEvent::MouseButtonPress, at, grid.viewport()->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(grid.viewport(), &press);
}

void Key(PaintedGrid& grid, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(&grid, &press);
}

TEST(PaintedGrid, ClicksAndArrowKeysSelectWholeRowsAndKeepThemInView) {
  Grid g;
  EXPECT_EQ(g.grid.selectedRow(), -1);
  Click(g.grid, QPoint(120, 21 + 31 + 5));
  EXPECT_EQ(g.grid.selectedRow(), 2);
  Click(g.grid, QPoint(120, 5));
  EXPECT_EQ(g.grid.selectedRow(), 2) << "the header row is not selectable";
  Key(g.grid, Qt::Key_Down);
  EXPECT_EQ(g.grid.selectedRow(), 3);
  Key(g.grid, Qt::Key_End);
  EXPECT_EQ(g.grid.selectedRow(), 10);
  EXPECT_FALSE(g.grid.cellRect(0, 10).isEmpty());
  EXPECT_LE(g.grid.cellRect(0, 10).bottom(), g.grid.viewport()->height());
  Key(g.grid, Qt::Key_Home);
  EXPECT_EQ(g.grid.selectedRow(), 1);
  EXPECT_EQ(g.grid.topRow(), 1);
  g.grid.setRowCount(5);
  g.grid.selectRow(4);
  g.grid.setRowCount(3);
  EXPECT_EQ(g.grid.selectedRow(), -1) << "a row that is gone is not selected";
}

TEST(PaintedGrid, CellsPaintOverTheDefaultBackgroundAndTheGridLine) {
  Grid g;
  g.grid.selectRow(1);
  g.grid.setDrawCell([](QPainter& painter, int col, int row, const QRect& rect) {
    if (col != 3 || row != 2) return;
    CellCanvas c(painter, rect);
    c.Fill(kPink);
    c.BottomLine();
    c.Line(c.R + 5, c.T, c.R + 5, c.B, kBlack);  // outside the cell: clipped
  });
  const QImage image = g.grid.renderAll();
  auto at = [&](int x, int y) { return image.pixelColor(x, y); };
  const QRect fixed = g.grid.contentCellRect(0, 1), selected = g.grid.contentCellRect(3, 1);
  const QRect painted = g.grid.contentCellRect(3, 2), plain = g.grid.contentCellRect(4, 3);
  EXPECT_EQ(at(fixed.center().x(), fixed.center().y()), ToQColor(kButtonFace));
  EXPECT_EQ(at(selected.center().x(), selected.center().y()), ToQColor(kSelection));
  EXPECT_EQ(at(plain.center().x(), plain.center().y()), ToQColor(kWhite));
  EXPECT_EQ(at(plain.right() + 1, plain.center().y()), ToQColor(kGridLine));
  EXPECT_EQ(at(painted.center().x(), painted.center().y()), ToQColor(kPink));
  EXPECT_EQ(at(painted.left() + 3, painted.bottom() + 1), ToQColor(kBlack)) << "the bottom line covers the grid line";
  EXPECT_EQ(at(painted.right() + 6, painted.center().y()), ToQColor(kWhite)) << "painting stays inside its cell";
}

}  // namespace
}  // namespace furlong
