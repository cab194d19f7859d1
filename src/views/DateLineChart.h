#pragma once
// A line chart over dates, painted on its widget: one line per series in its
// own colour, a legend above the plot, the dates below it in days, months or
// years as the range asks, and a value axis from 0 in steps of 20.
#include <QColor>
#include <QDate>
#include <QString>
#include <QWidget>
#include <vector>

#include "views/ChartPainting.h"

namespace furlong {

struct DatePoint {
  QDate date;
  double value = 0;
};

struct DateSeries {
  QString name;
  QColor colour;
  std::vector<DatePoint> points;
};

// The ticks of a date axis from `first` to `last`: every day (or every few
// days) on a range of up to two months ("MM/dd"), the first of each month
// (or of every few months) up to four years ("yyyy/MM"), else each new year.
struct DateTick {
  QDate date;
  QString label;
};
std::vector<DateTick> DateTicks(const QDate& first, const QDate& last, int maxTicks = 8);

class DateLineChart : public QWidget {
  Q_OBJECT
 public:
  DateLineChart(const QString& title, const QString& dateTitle, const QString& valueTitle, QWidget* parent = nullptr);

  // Replaces the lines; an empty list leaves the chart empty.
  void SetSeries(std::vector<DateSeries> series);

  const std::vector<DateSeries>& Series() const { return series_; }
  const QString& Title() const { return title_; }
  const AxisScale& ValueScale() const { return scale_; }
  // The first and last date on the axis (both null while there is no line).
  QDate FirstDate() const { return first_; }
  QDate LastDate() const { return last_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QString title_;
  QString dateTitle_;
  QString valueTitle_;
  std::vector<DateSeries> series_;
  AxisScale scale_;
  QDate first_;
  QDate last_;
};

}  // namespace furlong
