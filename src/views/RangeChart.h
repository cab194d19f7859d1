#pragma once
// A range chart on its own panel: one horizontal bar per runner from the
// lowest to the highest value, runner 1 at the top, the ends marked with
// their values. The panel is shown only while the chart holds a bar. It is
// painted when it is on screen, so a race change does not pay for charts
// nobody looks at.
#include <QColor>
#include <QRect>
#include <QString>
#include <QWidget>
#include <vector>

#include "analysis/GraphData.h"
#include "views/ChartPainting.h"

namespace furlong {

class RangeChart : public QWidget {
  Q_OBJECT
 public:
  RangeChart(const QString& title, const QString& valueAxisTitle, QWidget* parent = nullptr);

  // Replaces the bars (all in one colour) of a race of `runners` runners and
  // shows the panel when there is at least one bar, hides it otherwise.
  void SetBars(std::vector<RangeBar> bars, const QColor& colour, int runners);

  const std::vector<RangeBar>& Bars() const { return bars_; }
  const QColor& BarColour() const { return colour_; }
  const QString& Title() const { return title_; }
  const QString& ValueAxisTitle() const { return axisTitle_; }
  // The value axis of the bars: round numbers with some room on both sides.
  const AxisScale& Scale() const { return scale_; }
  // Where the plot and a bar's front face lie at the widget's present size.
  QRect PlotRect() const;
  QRect BarRect(const RangeBar& bar) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int Rows() const;
  // The plot less the room above the first row.
  QRect RowsRect() const;

  QString title_;
  QString axisTitle_;
  std::vector<RangeBar> bars_;
  QColor colour_;
  int runners_ = 0;
  AxisScale scale_;
};

}  // namespace furlong
