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
  // The texts of runner `runner` of race slot `slot`, made once per paint pass.
  const DetailedRaceCardRow& Row(int slot, int runner);
  void DrawPastRunColumn(CellCanvas& c, int col, const std::array<DetailedPastRunLine, kPastRuns>& lines);
  void DrawRecordColumn(CellCanvas& c, int col, const DetailedRecordTexts& t);

  MeetingFlow& flow_;
  PaintedGrid* grid_ = nullptr;
  // The texts of the runner being painted, kept for one paint pass: the
  // grid paints row by row, and the 37 cells of a row read the same runner.
  struct PaintedRow {
    std::uint64_t pass = 0;
    int slot = -1, runner = -1;
    DetailedRaceCardRow texts;
  };
  PaintedRow row_;
};

}  // namespace furlong
