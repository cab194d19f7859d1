#pragma once
// The race card page (出馬表): the surface and distance filter buttons, the
// legend, and the grid StringGrid2 whose runner cells are all painted from
// the day tables and the runner analysis of the selected race.
#include <QWidget>

#include <array>

#include "analysis/RaceCardTexts.h"

class QAbstractButton;
class QButtonGroup;
class QLabel;

namespace furlong {

class MeetingFlow;
class PaintedGrid;
class CellCanvas;

class RaceCardView : public QWidget {
  Q_OBJECT

 public:
  // 馬場選択: 全表示, 芝, ﾀﾞｰﾄ.
  using SurfaceFilter = ::furlong::SurfaceFilter;
  // 距離選択: 無指定, 同距離, +/-400m.
  using DistanceFilter = ::furlong::DistanceFilter;

  explicit RaceCardView(MeetingFlow& flow, QWidget* parent = nullptr);

  PaintedGrid* StringGrid2() const { return grid_; }
  // selBaBtn1 .. selBaBtn3 and selkyoriBtn1 .. selkyoriBtn3 (index 1-3).
  QAbstractButton* SelBaBtn(int index) const { return surfaceButtons_.at(static_cast<std::size_t>(index - 1)); }
  QAbstractButton* SelKyoriBtn(int index) const { return distanceButtons_.at(static_cast<std::size_t>(index - 1)); }
  SurfaceFilter Surface() const;
  DistanceFilter Distance() const;

 public slots:
  // Sizes the grid to the selected race (its registered runners plus the
  // header row), clears the selection and repaints.
  void refresh();
  // Any of the six filter buttons: runs the analysis of the selected race
  // again. With a receiver of filterClicked() the window does that (and
  // refreshes every page); without one the page runs it itself.
  void selBaBtn1Click();

 signals:
  void filterClicked();

 private:
  void StringGrid2DrawCell(QPainter& painter, int col, int row, const QRect& rect);
  void DrawPastRun(CellCanvas& c, const RaceCardPastRun& run);

  MeetingFlow& flow_;
  PaintedGrid* grid_ = nullptr;
  QButtonGroup* surfaceGroup_ = nullptr;
  QButtonGroup* distanceGroup_ = nullptr;
  std::array<QAbstractButton*, 3> surfaceButtons_{};
  std::array<QAbstractButton*, 3> distanceButtons_{};
  QLabel* legend_ = nullptr;
};

}  // namespace furlong
