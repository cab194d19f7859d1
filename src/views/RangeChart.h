#pragma once
// A range chart on its own panel: one horizontal bar per runner from the
// lowest to the highest value, runner 1 at the top, the ends marked with
// their values. The panel is shown only while the chart holds a bar. The
// chart items are built when the panel is on screen, so a race change does
// not pay for charts nobody looks at.
#include <QColor>
#include <QString>
#include <QWidget>
#include <vector>

#include "analysis/GraphData.h"

QT_BEGIN_NAMESPACE
class QChart;
class QChartView;
class QValueAxis;
class QCategoryAxis;
QT_END_NAMESPACE

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
  QChart* Chart() const { return chart_; }
  // Builds the chart items now if the bars changed since the last build.
  void EnsureBuilt();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Build();

  QChart* chart_;
  QChartView* view_;
  QValueAxis* valueAxis_;
  QCategoryAxis* runnerAxis_;
  std::vector<RangeBar> bars_;
  QColor colour_;
  int runners_ = 0;
  bool dirty_ = false;
};

}  // namespace furlong
