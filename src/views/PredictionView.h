#pragma once
// The 予想 page: the "ソート" buttons, the prediction grid (StringGrid6) and,
// to its left, the suggested bets (kaiLabel1-6 with their payouts haiLabel1-6)
// and the data sufficiency (Label3D10).
#include <QLabel>
#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "analysis/RaceAnalysisResult.h"
#include "views/AnalysisGridPaint.h"

namespace furlong {

class MeetingFlow;
class PaintedGrid;
class ToggleButtonGroup;

// A label whose text stands out in relief (a light and a dark copy behind it).
class Label3D : public QLabel {
  Q_OBJECT
 public:
  using QLabel::QLabel;

 protected:
  void paintEvent(QPaintEvent* event) override;
};

class PredictionView : public QWidget {
  Q_OBJECT
 public:
  PredictionView(MeetingFlow& flow, QWidget* parent = nullptr);

  PaintedGrid* StringGrid6() const { return grid_; }
  ToggleButtonGroup* SortButtons() const { return sortButtons_; }
  QLabel* KaiLabel(int i) const { return kaiLabels_.at(static_cast<std::size_t>(i - 1)); }  // 1-6
  QLabel* HaiLabel(int i) const { return haiLabels_.at(static_cast<std::size_t>(i - 1)); }  // 1-6
  QLabel* Label3D10() const { return label3D10_; }
  // The text of a cell as shown (row 0 = the header row).
  QString Cell(int col, int row) const;

 public slots:
  void refresh();

 private:
  void SpeedButton21Click(int index);
  void StringGrid6DrawCell(QPainter& painter, int col, int row, const QRect& rect);

  MeetingFlow& flow_;
  ToggleButtonGroup* sortButtons_;
  PaintedGrid* grid_;
  std::array<QLabel*, 6> kaiLabels_{};
  std::array<QLabel*, 6> haiLabels_{};
  Label3D* label3D10_;
  AnalysisGridRows<PredictionRow, kPredictionColumns> rows_;
};

}  // namespace furlong
