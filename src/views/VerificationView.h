#pragma once
// The 前走検証表 page: the "ソート" buttons and the verification grid
// (StringGrid5), whose texts the race analysis writes; the grid only colours
// and places them.
#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "analysis/RaceAnalysisResult.h"
#include "views/AnalysisGridPaint.h"

namespace furlong {

class MeetingFlow;
class PaintedGrid;
class ToggleButtonGroup;

class VerificationView : public QWidget {
  Q_OBJECT
 public:
  VerificationView(MeetingFlow& flow, QWidget* parent = nullptr);

  PaintedGrid* StringGrid5() const { return grid_; }
  ToggleButtonGroup* SortButtons() const { return sortButtons_; }
  // The text of a cell as shown (row 0 = the header row).
  QString Cell(int col, int row) const;

 public slots:
  // Shows the cells of the last analysis run.
  void refresh();

 private:
  void SpeedButton2Click(int index);
  void StringGrid5DrawCell(QPainter& painter, int col, int row, const QRect& rect);

  MeetingFlow& flow_;
  ToggleButtonGroup* sortButtons_;
  PaintedGrid* grid_;
  AnalysisGridRows<VerificationRow, kVerificationColumns> rows_;
};

}  // namespace furlong
