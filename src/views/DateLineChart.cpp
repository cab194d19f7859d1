#include "views/DateLineChart.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "views/ViewSupport.h"

namespace furlong {

namespace {

constexpr int kTitleHeight = 28;
constexpr int kLegendHeight = 22;
constexpr int kLeftMargin = 62;
constexpr int kRightMargin = 24;
constexpr int kBottomMargin = 46;

// The smallest step of `steps` that keeps the ticks of `span` units within `maxTicks`.
int StepFor(qint64 span, int maxTicks, std::initializer_list<int> steps) {
  for (int s : steps)
    if (span / s + 1 <= maxTicks) return s;
  return *(steps.end() - 1);
}

int MonthIndex(const QDate& d) { return d.year() * 12 + d.month() - 1; }

}  // namespace

std::vector<DateTick> DateTicks(const QDate& first, const QDate& last, int maxTicks) {
  std::vector<DateTick> ticks;
  if (!first.isValid() || !last.isValid() || last < first) return ticks;
  const qint64 days = first.daysTo(last);
  if (days <= 62) {
    const int step = StepFor(days, maxTicks, {1, 2, 7, 14});
    for (QDate d = first; d <= last; d = d.addDays(step)) ticks.push_back({d, d.toString("MM/dd")});
    return ticks;
  }
  const int months = MonthIndex(last) - MonthIndex(first);
  if (months <= 48) {
    const int step = StepFor(months, maxTicks, {1, 2, 3, 6, 12});
    QDate d(first.year(), first.month(), 1);
    if (d < first) d = d.addMonths(1);
    // Ticks on months that are multiples of the step, so January stays on one.
    while ((d.month() - 1) % step != 0) d = d.addMonths(1);
    for (; d <= last; d = d.addMonths(step)) ticks.push_back({d, d.toString("yyyy/MM")});
    return ticks;
  }
  const int step = StepFor(last.year() - first.year(), maxTicks, {1, 2, 5, 10});
  for (int y = first.year() + 1; y <= last.year(); ++y)
    if (y % step == 0) ticks.push_back({QDate(y, 1, 1), QString::number(y)});
  return ticks;
}

DateLineChart::DateLineChart(const QString& title, const QString& dateTitle, const QString& valueTitle,
                             QWidget* parent)
    : QWidget(parent), title_(title), dateTitle_(dateTitle), valueTitle_(valueTitle) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  SetSeries({});
}

void DateLineChart::SetSeries(std::vector<DateSeries> series) {
  series_ = std::move(series);
  first_ = last_ = QDate();
  double top = 100.0;
  for (const DateSeries& s : series_)
    for (const DatePoint& p : s.points) {
      if (!first_.isValid() || p.date < first_) first_ = p.date;
      if (!last_.isValid() || p.date > last_) last_ = p.date;
      top = std::max(top, p.value);
    }
  scale_.from = 0;
  scale_.step = 20;
  scale_.to = std::ceil(top / 20.0) * 20.0;
  update();
}

void DateLineChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), Qt::white);
  PaintChartTitle(p, QRect(0, 0, width(), kTitleHeight), title_, UiFont(14, true));
  const QRect plot(kLeftMargin, kTitleHeight + kLegendHeight, std::max(width() - kLeftMargin - kRightMargin, 1),
                   std::max(height() - kTitleHeight - kLegendHeight - kBottomMargin, 1));

  // The legend: a short line in each series' colour and its name.
  const QFont label = UiFont(11);
  const QFontMetrics labels(label);
  int legendWidth = 0;
  for (const DateSeries& s : series_) legendWidth += 28 + labels.horizontalAdvance(s.name) + 16;
  int x = (width() - legendWidth) / 2;
  p.setFont(label);
  for (const DateSeries& s : series_) {
    const int y = kTitleHeight + kLegendHeight / 2;
    p.setPen(QPen(s.colour, 3));
    p.drawLine(x, y, x + 22, y);
    p.setPen(Qt::black);
    p.drawText(QRect(x + 28, kTitleHeight, labels.horizontalAdvance(s.name) + 2, kLegendHeight),
               Qt::AlignLeft | Qt::AlignVCenter, s.name);
    x += 28 + labels.horizontalAdvance(s.name) + 16;
  }

  // Dates span the plot from the first to the last day, each at its noon.
  const double firstDay = first_.isValid() ? static_cast<double>(first_.toJulianDay()) : 0;
  const double days = first_.isValid() ? std::max<double>(first_.daysTo(last_) + 1, 1) : 1;
  auto dateX = [&](const QDate& d) {
    return plot.left() + (static_cast<double>(d.toJulianDay()) - firstDay + 0.5) / days * (plot.width() - 1);
  };
  auto valueY = [&](double v) { return scale_.Place(v, plot.bottom(), plot.top()); };

  PlotAxes axes;
  axes.plot = plot;
  axes.labelFont = label;
  axes.titleFont = UiFont(12, true);
  axes.bottomTitle = dateTitle_;
  axes.leftTitle = valueTitle_;
  axes.leftGrid = true;
  for (const DateTick& t : DateTicks(first_, last_))
    axes.bottom.push_back({static_cast<int>(std::lround(dateX(t.date))), t.label});
  for (double v : scale_.Ticks())
    axes.left.push_back({static_cast<int>(std::lround(valueY(v))), QString::number(v, 'f', 0)});
  axes.Paint(p);

  p.setRenderHint(QPainter::Antialiasing);
  p.setClipRect(plot);
  for (const DateSeries& s : series_) {
    if (s.points.empty()) continue;
    QPainterPath path;
    path.moveTo(dateX(s.points.front().date), valueY(s.points.front().value));
    for (std::size_t i = 1; i < s.points.size(); ++i) path.lineTo(dateX(s.points[i].date), valueY(s.points[i].value));
    p.setPen(QPen(s.colour, 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    // A single date still shows as a dot.
    if (s.points.size() == 1) p.drawEllipse(path.currentPosition(), 2.5, 2.5);
  }
}

}  // namespace furlong
