#include "views/RangeChart.h"

#include <QAreaSeries>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QLineSeries>
#include <QScatterSeries>
#include <QLocale>
#include <QValueAxis>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "views/GridPainting.h"
#include "views/ViewSupport.h"

namespace furlong {

namespace {
const QColor kChartBackground(199, 174, 173);
constexpr double kHalfBar = 0.25;
}  // namespace

RangeChart::RangeChart(const QString& title, const QString& valueAxisTitle, QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  chart_ = new QChart;
  chart_->setTitle(title);
  chart_->setTitleFont(UiFont(15, true));
  chart_->setBackgroundBrush(kChartBackground);
  chart_->setBackgroundRoundness(0);
  chart_->legend()->hide();
  chart_->setLocalizeNumbers(true);
  chart_->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
  chart_->setAnimationOptions(QChart::NoAnimation);

  valueAxis_ = new QValueAxis;
  valueAxis_->setTitleText(valueAxisTitle);
  valueAxis_->setTitleFont(UiFont(12, true));
  valueAxis_->setLabelsFont(UiFont(11));
  valueAxis_->setLabelFormat("%.0f");
  chart_->addAxis(valueAxis_, Qt::AlignBottom);

  runnerAxis_ = new QCategoryAxis;
  runnerAxis_->setTitleText("馬番");
  runnerAxis_->setTitleFont(UiFont(12, true));
  runnerAxis_->setLabelsFont(PixelFont(11));
  runnerAxis_->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
  runnerAxis_->setReverse(true);
  runnerAxis_->setGridLineVisible(false);
  runnerAxis_->setTruncateLabels(false);
  chart_->addAxis(runnerAxis_, Qt::AlignLeft);

  view_ = new QChartView(chart_, this);
  view_->setRenderHint(QPainter::Antialiasing, false);
  layout->addWidget(view_);
  setVisible(false);
}

void RangeChart::SetBars(std::vector<RangeBar> bars, const QColor& colour, int runners) {
  bars_ = std::move(bars);
  colour_ = colour;
  runners_ = runners;
  dirty_ = true;
  setVisible(!bars_.empty());
  if (isVisible()) Build();
}

void RangeChart::EnsureBuilt() {
  if (dirty_) Build();
}

void RangeChart::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  EnsureBuilt();
}

void RangeChart::Build() {
  dirty_ = false;
  chart_->removeAllSeries();
  for (const QString& label : runnerAxis_->categoriesLabels()) runnerAxis_->remove(label);

  const int rows = std::max(runners_, 1);
  runnerAxis_->setStartValue(0.5);
  for (int h = 1; h <= rows; ++h) runnerAxis_->append(FromSjis(RunnerRowLabel(h)), h);
  runnerAxis_->setRange(0.5, rows + 0.5);

  double low = 0, high = 0;
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    low = i == 0 ? bars_[i].low : std::min(low, bars_[i].low);
    high = i == 0 ? bars_[i].high : std::max(high, bars_[i].high);
  }
  const double span = std::max(high - low, 1.0);
  // A bar of zero length is drawn as a thin stroke at its value.
  const double stroke = span * 0.003;

  // The marks: each bar's ends labelled with their values, above the bar.
  auto* lowMarks = new QScatterSeries;
  auto* highMarks = new QScatterSeries;
  const QColor edge = colour_.darker(140);
  for (const RangeBar& bar : bars_) {
    const double from = bar.high > bar.low ? bar.low : bar.low - stroke;
    const double to = bar.high > bar.low ? bar.high : bar.high + stroke;
    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    upper->append(from, bar.horse - kHalfBar);
    upper->append(to, bar.horse - kHalfBar);
    lower->append(from, bar.horse + kHalfBar);
    lower->append(to, bar.horse + kHalfBar);
    auto* area = new QAreaSeries(upper, lower);
    // The area does not own its boundaries: they go with it when the chart
    // removes it.
    upper->setParent(area);
    lower->setParent(area);
    area->setName(FromSjis(RunnerRowLabel(bar.horse)));
    area->setBrush(colour_);
    area->setPen(QPen(edge, 1));
    chart_->addSeries(area);
    area->attachAxis(valueAxis_);
    area->attachAxis(runnerAxis_);
    if (bar.high > bar.low) lowMarks->append(bar.low, bar.horse - kHalfBar);
    highMarks->append(bar.high, bar.horse - kHalfBar);
  }
  for (QScatterSeries* marks : {lowMarks, highMarks}) {
    marks->setMarkerSize(1);
    marks->setColor(Qt::transparent);
    marks->setBorderColor(Qt::transparent);
    marks->setPointLabelsVisible(true);
    marks->setPointLabelsFormat("@xPoint");
    marks->setPointLabelsFont(UiFont(10));
    marks->setPointLabelsColor(Qt::black);
    marks->setPointLabelsClipping(false);
    chart_->addSeries(marks);
    marks->attachAxis(valueAxis_);
    marks->attachAxis(runnerAxis_);
  }
  // Some room on both sides so that the end marks stay inside the plot.
  // The axis keeps to values of zero or more when every bar does.
  const double axisFrom = low >= 0 ? std::max(0.0, low - span * 0.08) : low - span * 0.08;
  valueAxis_->setRange(axisFrom, high + span * 0.08);
  valueAxis_->applyNiceNumbers();
}

}  // namespace furlong
