#include "views/ChartPainting.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace furlong {

namespace {

const QColor kGridLine(160, 160, 160);

// The round number nearest `x` (1, 2, 5 or 10 times a power of ten).
double NiceStep(double x) {
  const double power = std::pow(10.0, std::floor(std::log10(x)));
  const double fraction = x / power;
  const double nice = fraction < 1.5 ? 1 : fraction < 3 ? 2 : fraction < 7 ? 5 : 10;
  return nice * power;
}

}  // namespace

std::vector<double> AxisScale::Ticks() const {
  std::vector<double> ticks;
  const int count = static_cast<int>(std::lround((to - from) / step));
  for (int i = 0; i <= count; ++i) ticks.push_back(from + step * i);
  return ticks;
}

double AxisScale::Place(double value, double first, double last) const {
  return first + (value - from) / (to - from) * (last - first);
}

AxisScale NiceScale(double low, double high, int ticks, double minimumStep) {
  if (high < low) std::swap(low, high);
  if (high - low < 1e-9) {
    low -= 0.5;
    high += 0.5;
  }
  AxisScale scale;
  scale.step = std::max(NiceStep((high - low) / std::max(ticks - 1, 1)), minimumStep);
  scale.from = std::floor(low / scale.step) * scale.step;
  scale.to = std::ceil(high / scale.step) * scale.step;
  if (scale.to - scale.from < scale.step) scale.to = scale.from + scale.step;
  return scale;
}

void PlotAxes::Paint(QPainter& p) const {
  p.save();
  p.setRenderHint(QPainter::Antialiasing, false);
  const QFontMetrics labels(labelFont);
  const QFontMetrics titles(titleFont);
  p.setFont(labelFont);
  for (const AxisTick& t : bottom) {
    p.setPen(QPen(kGridLine, 1, Qt::DotLine));
    if (bottomGrid) p.drawLine(t.at, plot.top(), t.at, plot.bottom());
    p.setPen(Qt::black);
    p.drawLine(t.at, plot.bottom(), t.at, plot.bottom() + 4);
    const int w = labels.horizontalAdvance(t.label);
    p.drawText(QRect(t.at - w, plot.bottom() + 6, 2 * w, labels.height()), Qt::AlignHCenter | Qt::AlignTop, t.label);
  }
  for (const AxisTick& t : left) {
    p.setPen(QPen(kGridLine, 1, Qt::DotLine));
    if (leftGrid) p.drawLine(plot.left(), t.at, plot.right(), t.at);
    p.setPen(Qt::black);
    p.drawLine(plot.left() - 4, t.at, plot.left(), t.at);
    p.drawText(QRect(0, t.at - labels.height() / 2, plot.left() - 7, labels.height()), Qt::AlignRight | Qt::AlignVCenter,
               t.label);
  }
  p.setPen(Qt::black);
  p.setBrush(Qt::NoBrush);
  p.drawRect(plot.adjusted(0, 0, -1, -1));
  p.setFont(titleFont);
  if (!bottomTitle.isEmpty())
    p.drawText(QRect(plot.left(), plot.bottom() + 8 + labels.height(), plot.width(), titles.height()),
               Qt::AlignHCenter | Qt::AlignTop, bottomTitle);
  if (!leftTitle.isEmpty()) {
    p.translate(4, plot.center().y());
    p.rotate(-90);
    p.drawText(QRect(-plot.height() / 2, 0, plot.height(), titles.height()), Qt::AlignHCenter | Qt::AlignTop, leftTitle);
  }
  p.restore();
}

void PaintChartTitle(QPainter& p, const QRect& area, const QString& title, const QFont& font) {
  p.save();
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(area, Qt::AlignHCenter | Qt::AlignVCenter, title);
  p.restore();
}

}  // namespace furlong
