#include "views/DetailedRaceCardView.h"

#include <QVBoxLayout>

#include <array>

#include "analysis/DetailedRaceCardTexts.h"
#include "analysis/MeetingFlow.h"
#include "views/GridPainting.h"
#include "views/ViewSupport.h"
#include "views/PaintedGrid.h"
#include "views/RunnerCells.h"

namespace furlong {

namespace {

constexpr int kColumns = 37;
constexpr int kFixedColumns = 3;
constexpr int kHeaderHeight = 17;
constexpr int kRowHeight = 57;
// The five lines of the past-run and record columns step by the height of
// the 8-point text (11 pixels, the silver lines lie on that step), but are
// drawn one pixel smaller: a Japanese face fills its whole em, and at full
// size each line's glyphs would touch the silver line under it and the
// glyphs of the next line.
constexpr int kLineStep = 11;
constexpr int kLinePixels = kLineStep - 1;
constexpr int kFirstRecordColumn =
    kDetailedFirstPastRunColumn + static_cast<int>(kDetailedPastRunColumns.size());  // 実績
constexpr std::array<int, kColumns> kWidths{25, 25, 220, 30, 30, 90, 180, 65, 28, 40, 30, 40, 40,
                                            30, 40, 52,  30, 30, 30, 50, 30, 30, 30, 40, 70, 130,
                                            30, 30, 35,  35, 40, 40, 40, 40, 145, 170, 80};
constexpr std::array<const char*, kColumns> kHeaders{
    "枠",   "馬",   "馬名", "斤量",   "間隔",     "勝率",   "騎手･調教師･馬主", "開催日", "間隔", "馬体重",
    "増減", "競馬場", "クラス", "条件", "ﾚｰｽ名",   "コース", "距離",             "斤量",   "ﾌﾞﾘﾝｶ", "騎手",
    "頭数", "馬番", "人気", "単ｵｯｽﾞ", "コーナー", "展開指数", "着順",           "着差",   "前3F", "上3F",
    "能力", "D指数", "脚力", "重量値", "実績",    "距離別実績", "複勝率"};

}  // namespace

DetailedRaceCardView::DetailedRaceCardView(MeetingFlow& flow, QWidget* parent) : QWidget(parent), flow_(flow) {
  setObjectName("DetailedRaceCardView");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  grid_ = MakeRaceGrid(this, "StringGrid1", {kWidths.begin(), kWidths.end()}, kFixedColumns, kHeaderHeight, kRowHeight, {kHeaders.begin(), kHeaders.end()},
                       [this](QPainter& p, int col, int row, const QRect& rect) { StringGrid1DrawCell(p, col, row, rect); });
  layout->addWidget(grid_);
  refresh();
}

void DetailedRaceCardView::refresh() {
  ShowRows(*grid_, SelectedRaceGridRows(flow_));
}

void DetailedRaceCardView::StringGrid1DrawCell(QPainter& painter, int col, int row, const QRect& rect) {
  const int s = SelectedRaceSlot(flow_);
  if (s < 0) return;
  CellCanvas c(painter, rect);
  c.SetPixels(12);
  const int runner = row - 1;
  if (row == 0 || runner >= kRunnerSlots) {
    c.BottomLine();
    return;
  }
  const DetailedRaceCardRow& t = Row(s, runner);
  if (col >= kFirstRecordColumn) {
    DrawRecordColumn(c, col, t.records);
  } else if (col >= kDetailedFirstPastRunColumn) {
    DrawPastRunColumn(c, col, t.past);
  } else {
    switch (col) {
      case 0:
      case 1:
        PaintCardNumberCell(c, col == 0, t);
        break;
      case 2:
        PaintHorseNameCell(c, t.name, true);
        break;
      case 3:
        c.Fill(kWhite);
        c.SetPoints(9, true);
        c.SetColour(kBlack);
        c.Text(c.x0, c.T + 20, t.weightCarried);
        break;
      case 4:
        c.Fill(kWhite);
        c.SetBold(true);
        Put(c, c.L + c.w - 1, c.T + 20, t.interval);
        break;
      case 5:
        PaintWinRateCell(c, t.winRate);
        break;
      default: {
        c.Fill(kWhite);
        c.SetPoints(9);
        c.SetColour(kBlack);
        int y = c.T + 1;
        y += c.Text(c.x0, y, t.jockey) + 8;
        y += c.Text(c.x0, y, t.trainer) + 8;
        c.Text(c.x0, y, t.owner);
        c.Line(c.L, c.T + 16, c.R, c.T + 16, kSilver);
        c.Line(c.L, c.T + 35, c.R, c.T + 35, kSilver);
        break;
      }
    }
  }
  c.BottomLine();
}

const DetailedRaceCardRow& DetailedRaceCardView::Row(int slot, int runner) {
  if (row_.pass != grid_->PaintPass() || row_.slot != slot || row_.runner != runner) {
    const RunnerAnalysis& a = flow_.Analyzer().Runners()[static_cast<std::size_t>(slot)][static_cast<std::size_t>(runner)];
    row_ = {grid_->PaintPass(), slot, runner, MakeDetailedRaceCardRow(flow_.Day(), a, slot, runner)};
  }
  return row_.texts;
}

void DetailedRaceCardView::DrawPastRunColumn(CellCanvas& c, int col, const std::array<DetailedPastRunLine, kPastRuns>& lines) {
  Rgb background = kWhite;
  if (col == 28 || col == 29) background = kDetailPaleYellow;
  if (col == 30) background = kDetailPalePink;
  if (col >= 31 && col <= 33) background = kDetailPaleGreen;
  c.Fill(background);
  // The silver lines between the runs go under the texts: a kanji reaches the
  // top of its line and would otherwise lose its top row of pixels.
  for (int line = 1; line <= 4; ++line) c.Line(c.L, c.T + kLineStep * line, c.R, c.T + kLineStep * line, kSilver);
  c.SetPixels(kLinePixels);

  int x = c.x0;
  if (col == 9) x = c.L + c.w + 10;
  if (col == 10) x = c.L + c.w + 3;
  if (col == 23) x = c.L + c.w + 5;
  const DetailedPastRunColumn& column =
      kDetailedPastRunColumns[static_cast<std::size_t>(col - kDetailedFirstPastRunColumn)];
  int y = c.T + 1;
  // The fifth-last run at the top, the last run at the bottom.
  for (auto run = lines.rbegin(); run != lines.rend(); ++run, y += kLineStep) {
    if (column.text) {
      Put(c, x, y, (*run).*column.text);
      continue;
    }
    // The corner positions 18 pixels apart, each but the fourth followed by a black dash.
    for (std::size_t v = 0; v < run->corners.size(); ++v) {
      const CardText& corner = run->corners[v];
      if (corner.text.empty()) continue;
      const int cx = c.L + c.w + 18 * static_cast<int>(v);
      Put(c, cx, y, corner);
      if (v < 3) {
        c.SetColour(kBlack);
        c.Text(cx + 13, y, "-");
      }
    }
  }
}

void DetailedRaceCardView::DrawRecordColumn(CellCanvas& c, int col, const DetailedRecordTexts& t) {
  c.Fill(kDetailPaleCyan);
  c.SetPixels(kLinePixels);
  const auto& lines = col == 34 ? t.placings : col == 35 ? t.distancePlacings : t.placeRates;
  int y = c.T + 1;
  for (const CardText& line : lines) {
    Put(c, c.x0, y, line);
    y += kLineStep;
  }
}

}  // namespace furlong
