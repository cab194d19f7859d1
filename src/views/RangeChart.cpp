#include "views/RangeChart.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <cmath>

#include "views/GridPainting.h"
#include "views/ViewSupport.h"

namespace furlong {

namespace {

const QColor kChartBackground(199, 174, 173);
const QColor kPlotBackground(255, 255, 255);
// A bar is half a row high; its top and side faces give the chart a shallow
// depth of 5 percent of a row.
constexpr double kBarHeight = 0.5;
constexpr double kDepth = 0.05;
constexpr int kTitleHeight = 30;
constexpr int kLeftMargin = 58;
constexpr int kRightMargin = 22;
constexpr int kBottomMargin = 46;
// Room above the first row for its marks.
constexpr int kRowsTop = 14;

QFont TitleFont() { return UiFont(15, true); }
QFont AxisTitleFont() { return UiFont(12, true); }
QFont LabelFont() { return UiFont(11); }
QFont MarkFont() { return UiFont(10); }

}  // namespace

RangeChart::RangeChart(const QString& title, const QString& valueAxisTitle, QWidget* parent)
    : QWidget(parent), title_(title), axisTitle_(valueAxisTitle) {
  setAutoFillBackground(false);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(240, 160);
  setVisible(false);
}

void RangeChart::SetBars(std::vector<RangeBar> bars, const QColor& colour, int runners) {
  bars_ = std::move(bars);
  colour_ = colour;
  runners_ = runners;
  double low = 0, high = 0;
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    low = i == 0 ? bars_[i].low : std::min(low, bars_[i].low);
    high = i == 0 ? bars_[i].high : std::max(high, bars_[i].high);
  }
  // Some room on both sides so that the end marks stay inside the plot; the
  // axis keeps to values of zero or more when every bar does.
  const double span = std::max(high - low, 1.0);
  const double from = low >= 0 ? std::max(0.0, low - span * 0.08) : low - span * 0.08;
  scale_ = NiceScale(from, high + span * 0.08, 5, 1.0);
  setVisible(!bars_.empty());
  update();
}

int RangeChart::Rows() const { return std::max(runners_, 1); }

QRect RangeChart::PlotRect() const {
  return QRect(kLeftMargin, kTitleHeight, std::max(width() - kLeftMargin - kRightMargin, 1),
               std::max(height() - kTitleHeight - kBottomMargin, 1));
}

QRect RangeChart::RowsRect() const { return PlotRect().adjusted(0, kRowsTop, 0, 0); }

QRect RangeChart::BarRect(const RangeBar& bar) const {
  const QRect plot = RowsRect();
  const double row = static_cast<double>(plot.height()) / Rows();
  const int left = static_cast<int>(std::lround(scale_.Place(bar.low, plot.left(), plot.right())));
  const int right = static_cast<int>(std::lround(scale_.Place(bar.high, plot.left(), plot.right())));
  const int top = static_cast<int>(std::lround(plot.top() + row * (bar.horse - 1 + (1 - kBarHeight) / 2)));
  const int bottom = static_cast<int>(std::lround(plot.top() + row * (bar.horse - 1 + (1 + kBarHeight) / 2)));
  // A bar of zero length is drawn as a thin stroke at its value.
  return QRect(QPoint(left, top), QPoint(std::max(right, left + 1), bottom - 1));
}

void RangeChart::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), kChartBackground);
  PaintChartTitle(p, QRect(0, 0, width(), kTitleHeight), title_, TitleFont());
  const QRect plot = PlotRect();
  p.fillRect(plot, kPlotBackground);

  PlotAxes axes;
  axes.plot = plot;
  axes.labelFont = LabelFont();
  axes.titleFont = AxisTitleFont();
  axes.bottomTitle = axisTitle_;
  axes.leftTitle = QStringLiteral("馬番");
  for (double v : scale_.Ticks())
    axes.bottom.push_back({static_cast<int>(std::lround(scale_.Place(v, plot.left(), plot.right()))),
                           QString::fromStdString(FormatMarkValue(std::round(v)))});
  const QRect rows = RowsRect();
  const double row = static_cast<double>(rows.height()) / Rows();
  for (int h = 1; h <= Rows(); ++h)
    axes.left.push_back({static_cast<int>(std::lround(rows.top() + row * (h - 0.5))), FromSjis(RunnerRowLabel(h))});
  axes.Paint(p);

  const int depth = std::max(2, static_cast<int>(std::lround(row * kDepth * 2)));
  const QColor edge = colour_.darker(140);
  const QFontMetrics marks(MarkFont());
  p.setFont(MarkFont());
  for (const RangeBar& bar : bars_) {
    const QRect r = BarRect(bar);
    // The top and right faces behind the front face.
    const QPolygon top({r.topLeft(), r.topLeft() + QPoint(depth, -depth), r.topRight() + QPoint(depth, -depth),
                        r.topRight()});
    const QPolygon side({r.topRight(), r.topRight() + QPoint(depth, -depth), r.bottomRight() + QPoint(depth, -depth),
                         r.bottomRight()});
    p.setPen(QPen(edge, 1));
    p.setBrush(colour_.lighter(130));
    p.drawPolygon(top);
    p.setBrush(edge);
    p.drawPolygon(side);
    p.setBrush(colour_);
    p.drawRect(r);
    // The marks: each end labelled with its value, above the bar.
    p.setPen(Qt::black);
    const int baseline = r.top() - depth - 2;
    auto mark = [&](double value, int x) {
      const QString text = QString::fromStdString(FormatMarkValue(value));
      const int w = marks.horizontalAdvance(text);
      p.drawText(std::clamp(x - w / 2, 0, std::max(width() - w, 0)), baseline, text);
    };
    if (bar.high > bar.low) mark(bar.low, r.left());
    mark(bar.high, r.right());
  }
}

}  // namespace furlong
