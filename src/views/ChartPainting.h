#pragma once
// What the window's charts share: a value axis of round numbers and the
// drawing of a plot's frame, ticks, tick labels and axis titles. The charts
// are painted like the grids, straight onto their widget.
#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <vector>

class QPainter;

namespace furlong {

// An axis from `from` to `to` in steps of `step`, each a round number
// (1, 2 or 5 times a power of ten).
struct AxisScale {
  double from = 0;
  double to = 1;
  double step = 1;

  std::vector<double> Ticks() const;
  // The position of a value between `first` (at from) and `last` (at to).
  double Place(double value, double first, double last) const;
};

// The round-number axis that covers [low, high] with about `ticks` ticks and
// steps of at least `minimumStep` (as QValueAxis::applyNiceNumbers chooses).
AxisScale NiceScale(double low, double high, int ticks = 5, double minimumStep = 0);

// One tick of an axis: where it is (in pixels) and what it says.
struct AxisTick {
  int at = 0;
  QString label;
};

// Paints a plot's frame, the grid lines of the bottom axis' ticks, the tick
// labels and the two axis titles (the left one turned upwards).
struct PlotAxes {
  QRect plot;
  std::vector<AxisTick> bottom;
  std::vector<AxisTick> left;
  QString bottomTitle;
  QString leftTitle;
  QFont labelFont;
  QFont titleFont;
  bool bottomGrid = true;
  bool leftGrid = false;

  void Paint(QPainter& p) const;
};

// The chart title, centred in `area`.
void PaintChartTitle(QPainter& p, const QRect& area, const QString& title, const QFont& font);

}  // namespace furlong
