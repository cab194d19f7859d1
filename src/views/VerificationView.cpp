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

VerificationView::VerificationView(MeetingFlow& flow, QWidget* parent) : QWidget(parent), flow_(flow) {
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

QString VerificationView::Cell(int col, int row) const {
  if (col < 0 || col >= kVerificationColumns) return {};
  if (row == 0) return kHeaders[col];
  if (row < 1 || row > static_cast<int>(texts_.size())) return {};
  return texts_[static_cast<std::size_t>(row - 1)][static_cast<std::size_t>(col)];
}

void VerificationView::StringGrid5DrawCell(QPainter& painter, int col, int row, const QRect& rect) {
  if (row == 0) {
    PaintAnalysisGridCell(painter, rect, true, kHeaders.value(col), std::nullopt, false);
    return;
  }
  if (row > static_cast<int>(rows_.size())) {
    PaintAnalysisGridCell(painter, rect, false, QString(), kWhite, false);
    return;
  }
  const std::size_t r = static_cast<std::size_t>(row - 1);
  PaintAnalysisGridCell(painter, rect, false, texts_[r][static_cast<std::size_t>(col)],
                        VerificationCellBackground(rows_[r], col), col == kVerName);
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
  const int n = std::min(result.rowCount - 1, kRunnerSlots);
  rows_.assign(result.verificationRows.begin(), result.verificationRows.begin() + std::max(n, 0));
  texts_.resize(rows_.size());
  for (std::size_t r = 0; r < rows_.size(); ++r)
    for (int c = 0; c < kVerificationColumns; ++c) texts_[r][static_cast<std::size_t>(c)] = FromSjis(rows_[r][c]);
  grid_->setRowCount(result.rowCount);
  grid_->clearSelection();
  grid_->viewport()->update();
}

}  // namespace furlong
