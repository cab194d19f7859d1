#pragma once
// The signal study page (ｼｸﾞﾅﾙ検討表): the grid StringGrid3, one row per
// runner with its identity and predicted win odds, the twelve S① and S②
// signals, its elimination mark, best weight value, best ability and the
// race's result, all computed and painted when a cell is drawn.
#include <QWidget>

namespace furlong {

class MeetingFlow;
class PaintedGrid;

class SignalTableView : public QWidget {
  Q_OBJECT

 public:
  explicit SignalTableView(MeetingFlow& flow, QWidget* parent = nullptr);

  PaintedGrid* Grid() const { return grid_; }

 public slots:
  // Sizes the grid to the selected race, clears the selection and repaints.
  void refresh();

 private:
  void StringGrid3DrawCell(QPainter& painter, int col, int row, const QRect& rect);

  MeetingFlow& flow_;
  PaintedGrid* grid_ = nullptr;
};

}  // namespace furlong
