#include "views/PaintedGrid.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <numeric>

#include "views/GridPainting.h"

namespace furlong {

PaintedGrid::PaintedGrid(QWidget* parent) : QAbstractScrollArea(parent), font_(PixelFont(12)) {
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setAutoFillBackground(false);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void PaintedGrid::setColumnWidths(std::vector<int> widths) {
  widths_ = std::move(widths);
  headers_.resize(widths_.size());
  fixedCols_ = std::min(fixedCols_, columnCount());
  leftCol_ = fixedCols_;
  updateScrollBars();
  viewport()->update();
}

void PaintedGrid::setRowHeights(int fixedRowHeight, int rowHeight) {
  fixedRowHeight_ = fixedRowHeight;
  rowHeight_ = rowHeight;
  updateScrollBars();
  viewport()->update();
}

void PaintedGrid::setFixedColumns(int count) {
  fixedCols_ = std::clamp(count, 0, columnCount());
  leftCol_ = fixedCols_;
  updateScrollBars();
  viewport()->update();
}

void PaintedGrid::setFixedRows(int count) {
  fixedRows_ = std::max(0, count);
  topRow_ = fixedRows_;
  updateScrollBars();
  viewport()->update();
}

void PaintedGrid::setRowCount(int count) {
  rowCount_ = std::max(count, 0);
  if (selected_ >= rowCount_) selected_ = -1;
  updateScrollBars();
  viewport()->update();
}

void PaintedGrid::setGridFont(const QFont& font) {
  font_ = font;
  viewport()->update();
}

void PaintedGrid::setHeaderTexts(std::vector<QString> texts) {
  headers_ = std::move(texts);
  headers_.resize(widths_.size());
  viewport()->update();
}

void PaintedGrid::selectRow(int row) {
  if (row >= rowCount_ || (row >= 0 && row < fixedRows_)) row = -1;
  if (row == selected_) return;
  selected_ = row;
  if (row >= 0) {
    // Bring the row into view, scrolling by whole rows.
    QScrollBar* bar = verticalScrollBar();
    if (row < topRow_) bar->setValue(row - fixedRows_);
    while (bar->value() < bar->maximum()) {
      int bottom = 0;
      for (int r = 0; r < fixedRows_; ++r) bottom += rowHeight(r) + 1;
      for (int r = topRow_; r <= row; ++r) bottom += rowHeight(r) + 1;
      if (bottom <= viewport()->height()) break;
      bar->setValue(bar->value() + 1);
    }
  }
  viewport()->update();
  emit rowSelected(row);
}

QSize PaintedGrid::contentSize() const {
  int w = 0;
  for (int cw : widths_) w += cw + 1;
  int h = 0;
  for (int r = 0; r < rowCount_; ++r) h += rowHeight(r) + 1;
  return {w, h};
}

QRect PaintedGrid::contentCellRect(int col, int row) const {
  if (col < 0 || col >= columnCount() || row < 0 || row >= rowCount_) return {};
  int x = 0;
  for (int c = 0; c < col; ++c) x += widths_[static_cast<std::size_t>(c)] + 1;
  int y = 0;
  for (int r = 0; r < row; ++r) y += rowHeight(r) + 1;
  return QRect(x, y, widths_[static_cast<std::size_t>(col)], rowHeight(row));
}

std::vector<PaintedGrid::Span> PaintedGrid::shownColumns(int limit) const {
  std::vector<Span> out;
  int x = 0;
  for (int c = 0; c < fixedCols_ && x < limit; ++c) {
    out.push_back({c, x});
    x += widths_[static_cast<std::size_t>(c)] + 1;
  }
  for (int c = leftCol_; c < columnCount() && x < limit; ++c) {
    out.push_back({c, x});
    x += widths_[static_cast<std::size_t>(c)] + 1;
  }
  return out;
}

std::vector<PaintedGrid::Span> PaintedGrid::shownRows(int limit) const {
  std::vector<Span> out;
  int y = 0;
  for (int r = 0; r < fixedRows_ && r < rowCount_ && y < limit; ++r) {
    out.push_back({r, y});
    y += rowHeight(r) + 1;
  }
  for (int r = std::max(topRow_, fixedRows_); r < rowCount_ && y < limit; ++r) {
    out.push_back({r, y});
    y += rowHeight(r) + 1;
  }
  return out;
}

QRect PaintedGrid::cellRect(int col, int row) const {
  const QSize view = viewport()->size();
  for (const Span& c : shownColumns(view.width())) {
    if (c.index != col) continue;
    for (const Span& r : shownRows(view.height()))
      if (r.index == row) return QRect(c.pos, r.pos, widths_[static_cast<std::size_t>(col)], rowHeight(row));
  }
  return {};
}

int PaintedGrid::rowAt(int y) const {
  for (const Span& r : shownRows(viewport()->height()))
    if (y >= r.pos && y <= r.pos + rowHeight(r.index)) return r.index;
  return -1;
}

void PaintedGrid::paintCell(QPainter& painter, int col, int row, const QRect& rect) const {
  const bool fixed = row < fixedRows_ || col < fixedCols_;
  // Grid lines to the right of and under the cell.
  const QColor line = ToQColor(fixed ? kGray : kGridLine);
  painter.fillRect(QRect(rect.right() + 1, rect.top(), 1, rect.height() + 1), line);
  painter.fillRect(QRect(rect.left(), rect.bottom() + 1, rect.width() + 1, 1), line);
  if (rect.width() <= 0 || rect.height() <= 0) return;

  Rgb back = kWhite;
  if (fixed)
    back = kButtonFace;
  else if (row == selected_)
    back = kSelection;
  painter.fillRect(rect, ToQColor(back));

  painter.save();
  painter.setClipRect(QRect(rect.left(), rect.top(), rect.width() + 1, rect.height() + 1));
  painter.setFont(font_);
  if (row == 0 && col < static_cast<int>(headers_.size()) && !headers_[static_cast<std::size_t>(col)].isEmpty()) {
    CellCanvas c(painter, rect);
    c.SetFont(font_);
    c.SetColour(kBlack);
    c.TextQ(rect.left() + 2, rect.top() + 2, headers_[static_cast<std::size_t>(col)]);
  }
  if (draw_) draw_(painter, col, row, rect);
  painter.restore();
}

void PaintedGrid::renderAll(QPainter& painter) const {
  ++paintPass_;
  int y = 0;
  for (int r = 0; r < rowCount_; ++r) {
    int x = 0;
    for (int c = 0; c < columnCount(); ++c) {
      paintCell(painter, c, r, QRect(x, y, widths_[static_cast<std::size_t>(c)], rowHeight(r)));
      x += widths_[static_cast<std::size_t>(c)] + 1;
    }
    y += rowHeight(r) + 1;
  }
}

QImage PaintedGrid::renderAll() const {
  QImage image(contentSize(), QImage::Format_RGB32);
  image.fill(ToQColor(kWhite));
  QPainter painter(&image);
  renderAll(painter);
  return image;
}

QSize PaintedGrid::sizeHint() const {
  QSize s = contentSize();
  return {std::min(s.width(), 1200) + 2 * frameWidth(), std::min(s.height(), 800) + 2 * frameWidth()};
}

void PaintedGrid::paintEvent(QPaintEvent*) {
  ++paintPass_;
  QPainter painter(viewport());
  const QSize view = viewport()->size();
  painter.fillRect(QRect(QPoint(0, 0), view), palette().color(QPalette::Window));
  const auto cols = shownColumns(view.width());
  for (const Span& r : shownRows(view.height()))
    for (const Span& c : cols)
      paintCell(painter, c.index, r.index, QRect(c.pos, r.pos, widths_[static_cast<std::size_t>(c.index)], rowHeight(r.index)));
}

void PaintedGrid::mousePressEvent(QMouseEvent* event) {
  int row = rowAt(event->position().toPoint().y());
  if (row >= fixedRows_) selectRow(row);
  QAbstractScrollArea::mousePressEvent(event);
}

void PaintedGrid::keyPressEvent(QKeyEvent* event) {
  const int first = fixedRows_, last = rowCount_ - 1;
  if (last < first) return QAbstractScrollArea::keyPressEvent(event);
  switch (event->key()) {
    case Qt::Key_Down: selectRow(selected_ < first ? first : std::min(selected_ + 1, last)); return;
    case Qt::Key_Up: selectRow(selected_ < first ? first : std::max(selected_ - 1, first)); return;
    case Qt::Key_Home: selectRow(first); return;
    case Qt::Key_End: selectRow(last); return;
    default: QAbstractScrollArea::keyPressEvent(event);
  }
}

void PaintedGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  updateScrollBars();
}

void PaintedGrid::scrollContentsBy(int, int) {
  leftCol_ = fixedCols_ + horizontalScrollBar()->value();
  topRow_ = fixedRows_ + verticalScrollBar()->value();
  viewport()->update();
}

void PaintedGrid::updateScrollBars() {
  const QSize view = viewport()->size();
  // The last first-column that still leaves no empty room on the right, as a
  // string grid scrolls: by whole columns.
  int fixedWidth = 0;
  for (int c = 0; c < fixedCols_; ++c) fixedWidth += widths_[static_cast<std::size_t>(c)] + 1;
  int room = view.width() - fixedWidth, maxLeft = columnCount() - 1;
  for (int c = columnCount() - 1, used = 0; c >= fixedCols_; --c) {
    used += widths_[static_cast<std::size_t>(c)] + 1;
    if (used > room) break;
    maxLeft = c;
  }
  maxLeft = std::max(maxLeft, fixedCols_);
  int fixedHeight = 0;
  for (int r = 0; r < fixedRows_ && r < rowCount_; ++r) fixedHeight += rowHeight(r) + 1;
  int roomY = view.height() - fixedHeight, maxTop = std::max(rowCount_ - 1, fixedRows_);
  for (int r = rowCount_ - 1, used = 0; r >= fixedRows_; --r) {
    used += rowHeight(r) + 1;
    if (used > roomY) break;
    maxTop = r;
  }
  maxTop = std::max(maxTop, fixedRows_);
  horizontalScrollBar()->setRange(0, maxLeft - fixedCols_);
  horizontalScrollBar()->setPageStep(1);
  verticalScrollBar()->setRange(0, maxTop - fixedRows_);
  verticalScrollBar()->setPageStep(1);
  leftCol_ = fixedCols_ + horizontalScrollBar()->value();
  topRow_ = fixedRows_ + verticalScrollBar()->value();
}

void ShowRows(PaintedGrid& grid, int rows) {
  grid.setRowCount(rows);
  grid.clearSelection();
  grid.viewport()->update();
}

PaintedGrid* MakeRaceGrid(QWidget* parent, const char* name, std::vector<int> widths, int fixedColumns,
                          int headerHeight, int rowHeight, const std::vector<const char*>& headers,
                          PaintedGrid::DrawCell draw) {
  auto* grid = new PaintedGrid(parent);
  grid->setObjectName(name);
  grid->setColumnWidths(std::move(widths));
  grid->setFixedColumns(fixedColumns);
  grid->setFixedRows(1);
  grid->setRowHeights(headerHeight, rowHeight);
  grid->setGridFont(PixelFont(12));
  if (!headers.empty()) {
    std::vector<QString> texts;
    for (const char* h : headers) texts.push_back(QString::fromUtf8(h));
    grid->setHeaderTexts(std::move(texts));
  }
  grid->setDrawCell(std::move(draw));
  return grid;
}

}  // namespace furlong
