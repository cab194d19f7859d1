#pragma once
// The index table page (指数表): the grid StringGrid4 comparing the runners
// of the selected race on ability, D index and leg power: rank letters, the
// three values of each of the last five runs with the run's surface and
// distance, and the means and bests. Every cell, the header row included, is
// painted from the index table's texts (analysis/IndexTableTexts).
#include <QWidget>

#include <string_view>

#include "analysis/IndexTableTexts.h"  // RankLetter

namespace furlong {

class CellCanvas;
class MeetingFlow;
class PaintedGrid;

class IndexTableView : public QWidget {
  Q_OBJECT

 public:
  explicit IndexTableView(MeetingFlow& flow, QWidget* parent = nullptr);

  PaintedGrid* Grid() const { return grid_; }

 public slots:
  // Sizes the grid to the selected race, clears the selection and repaints.
  void refresh();

 private:
  void StringGrid4DrawCell(QPainter& painter, int col, int row, const QRect& rect);

  MeetingFlow& flow_;
  PaintedGrid* grid_ = nullptr;
};

}  // namespace furlong
