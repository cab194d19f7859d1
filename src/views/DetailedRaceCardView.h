#pragma once
// The detailed race card page (出馬表(詳細)): the grid StringGrid1, one row
// per runner with its connections, one column per attribute of a past run
// (each cell lists the last five runs, oldest at the top) and the career
// records of the horse master, all painted from the selected race's texts
// and colour roles (analysis/DetailedRaceCardTexts).
#include <QWidget>

#include <array>
#include <cstdint>

#include "analysis/DetailedRaceCardTexts.h"

namespace furlong {

class CellCanvas;
class MeetingFlow;
class PaintedGrid;

class DetailedRaceCardView : public QWidget {
  Q_OBJECT

 public:
  explicit DetailedRaceCardView(MeetingFlow& flow, QWidget* parent = nullptr);

  PaintedGrid* Grid() const { return grid_; }

 public slots:
  // Sizes the grid to the selected race, clears the selection and repaints.
  void refresh();

 private:
  void StringGrid1DrawCell(QPainter& painter, int col, int row, const QRect& rect);
  void DrawPastRunColumn(CellCanvas& c, int col, int runner);
  void DrawRecordColumn(CellCanvas& c, int col, int runner);

  MeetingFlow& flow_;
  PaintedGrid* grid_ = nullptr;
  // The past-run lines of the runner being painted, kept for one paint pass:
  // the grid paints row by row, and the 27 past-run cells of a row read them.
  struct PastLines {
    std::uint64_t pass = 0;
    int slot = -1, runner = -1;
    std::array<DetailedPastRunLine, kPastRuns> lines;
  };
  PastLines pastLines_;
};

}  // namespace furlong
