#include "views/VerificationView.h"

#include <QStringList>
#include <QVBoxLayout>

#include "analysis/GridCellColours.h"
#include "analysis/MeetingFlow.h"
#include "views/AnalysisGridPaint.h"
#include "views/PaintedGrid.h"
#include "views/ToggleButtonGroup.h"
#include "views/ViewSupport.h"

namespace furlong {

namespace {

// Button order = the VerificationSort order.
const QStringList kSortCaptions{"馬番", "単ｵｯｽﾞ", "展開", "能力", "脚力", "Ｄ指数", "重量", "TOTAL", "成績"};
constexpr int kAbilityButton = 3;
constexpr int kWeightButton = 6;

const std::vector<int> kWidths{20, 20, 160, 60, 60, 0, 0, 50, 30, 50, 30, 0, 0, 50, 30, 50};
const QStringList kHeaders{"枠",   "馬",   "馬名", "単ｵｯｽﾞ", "展開指数", "能力値", "順位", "脚力値",
                           "順位", "Ｄ指数", "順位", "重量",   "順位",     "TOTAL",  "順位", "成績"};
constexpr int kRowHeight = 15;

}  // namespace

VerificationView::VerificationView(MeetingFlow& flow, QWidget* parent)
    : QWidget(parent), flow_(flow), rows_(kHeaders, kVerName) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);
  sortButtons_ = new ToggleButtonGroup("ソート", kSortCaptions, true, this);
  sortButtons_->setObjectName("VerificationSort");
  sortButtons_->SetButtonVisible(kAbilityButton, false);
  sortButtons_->SetButtonVisible(kWeightButton, false);
  sortButtons_->SetDown(static_cast<int>(flow_.Analyzer().VerificationSortButton()));
  layout->addWidget(sortButtons_, 0, Qt::AlignLeft);
  connect(sortButtons_, &ToggleButtonGroup::Clicked, this, &VerificationView::SpeedButton2Click);

  grid_ = new PaintedGrid(this);
  grid_->setObjectName("StringGrid5");
  SetUpAnalysisGrid(*grid_, kWidths, kRowHeight);
  grid_->setDrawCell(
      [this](QPainter& p, int col, int row, const QRect& rect) { StringGrid5DrawCell(p, col, row, rect); });
  layout->addWidget(grid_, 1);
}

QString VerificationView::Cell(int col, int row) const { return rows_.Cell(col, row); }

void VerificationView::StringGrid5DrawCell(QPainter& painter, int col, int row, const QRect& rect) {
  rows_.Paint(painter, col, row, rect, [](const VerificationRow& r, int c) { return VerificationCellBackground(r, c); });
}

void VerificationView::SpeedButton2Click(int index) {
  // Pressing a button releases the others, pressing the pressed one
  // releases it; the analysis keeps that state and sorts its rows.
  flow_.Analyzer().PressVerificationSort(static_cast<VerificationSort>(index));
  refresh();
}

void VerificationView::refresh() {
  const RaceAnalysisResult& result = flow_.Analyzer().Result();
  const VerificationSort pressed = flow_.Analyzer().VerificationSortButton();
  sortButtons_->SetDown(pressed == VerificationSort::kNone ? -1 : static_cast<int>(pressed));
  if (!result.analysed) return;  // a stopped run leaves the grid as it was, hidden
  rows_.Assign(result.verificationRows, result.rowCount);
  grid_->setRowCount(result.rowCount);
  grid_->clearSelection();
  grid_->viewport()->update();
}

}  // namespace furlong
