#include "views/IndexTableView.h"

#include <QVBoxLayout>

#include <array>

#include "analysis/IndexTableTexts.h"
#include "analysis/MeetingFlow.h"
#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"
#include "views/GridPainting.h"
#include "views/ViewSupport.h"
#include "views/PaintedGrid.h"
#include "views/RunnerCells.h"

namespace furlong {

namespace {

constexpr int kColumns = 13;
constexpr int kHeaderHeight = 15;
constexpr int kRowHeight = 27;
constexpr std::array<int, kColumns> kWidths{20, 20, 180, 40, 40, 40, 100, 100, 100, 100, 100, 70, 70};
constexpr std::array<const char*, kColumns> kHeaders{"枠",     "馬",     "馬名",   "能力",   "ﾀﾞｯｼｭ",
                                                       "脚力",   "５走前", "４走前", "３走前", "２走前",
                                                       "前走",   "平均値", "最大値"};

Rgb FillIfValue(std::string_view text, Rgb colour) { return IsBlank(text) ? kWhite : colour; }

}  // namespace

IndexTableView::IndexTableView(MeetingFlow& flow, QWidget* parent) : QWidget(parent), flow_(flow) {
  setObjectName("IndexTableView");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  grid_ = MakeRaceGrid(this, "StringGrid4", {kWidths.begin(), kWidths.end()}, 0, kHeaderHeight, kRowHeight, {},
                       [this](QPainter& p, int col, int row, const QRect& rect) { StringGrid4DrawCell(p, col, row, rect); });
  layout->addWidget(grid_);
  refresh();
}

void IndexTableView::refresh() {
  ShowRows(*grid_, SelectedRaceGridRows(flow_));
}

void IndexTableView::StringGrid4DrawCell(QPainter& painter, int col, int row, const QRect& rect) {
  const int s = SelectedRaceSlot(flow_);
  if (s < 0) return;
  CellCanvas c(painter, rect);
  c.SetPixels(12);
  if (row == 0) {
    c.SetPoints(10);
    c.SetColour(kBlack);
    c.TextQ(col <= 3 ? c.x0 : c.L + c.w - 1, c.y0, QString::fromUtf8(kHeaders[static_cast<std::size_t>(col)]));
    c.BottomLine();
    return;
  }
  const int runner = row - 1;
  if (runner >= kRunnerSlots) return;
  const IndexTableRow t = MakeIndexTableRow(
      flow_.Day(), flow_.Analyzer().Runners()[static_cast<std::size_t>(s)][static_cast<std::size_t>(runner)], s, runner);

  switch (col) {
    case 0:
      PaintFrameCell(c, t.frameNumber, t.frame, {c.L + c.w + 5, c.T + c.w + 5}, PointFont(11, true));
      break;
    case 1:
      PaintHorseNumberCell(c, t.horse, {c.x0, c.T + c.w + 5}, PointFont(11, true));
      break;
    case 2:
      PaintPlacingBackground(c, t.finish);
      c.SetPoints(11, true);
      c.SetColour(kBlack);
      c.Text(c.x0, c.T + c.w + 5, t.name);
      break;
    case 3:
    case 4:
    case 5: {
      const std::size_t i = static_cast<std::size_t>(col - 3);
      c.Fill(kCream);
      c.SetPoints(10, true);
      c.SetColour(kBlue);
      c.Text(c.L + c.w + 5, c.T + c.w + 5, t.meanRank[i]);
      c.SetColour(kFuchsia);
      c.Text(c.L + 26, c.T + c.w + 5, t.bestRank[i]);
      c.Line(c.L + 20, c.T, c.L + 20, c.B, kSilver);
      c.Line(c.R, c.T, c.R, c.B, kBlack);
      if (col == 3) c.Line(c.L, c.T, c.L, c.B, kBlack);
      break;
    }
    case 11:
    case 12: {
      c.Fill(kWhite);
      c.SetBold(true);
      const bool mean = col == 11;
      const auto& v = mean ? t.mean : t.best;
      c.Rectangle(c.L, c.T, c.R, c.T + 14, FillIfValue(v[0], kIndexPalePink), kSilver);
      c.SetColour(mean ? kBlue : kPurple);
      const int y = c.y0 + c.Text(c.L + 20, c.y0, v[0]);
      c.Rectangle(c.L, c.T + 13, c.L + 35, c.B, FillIfValue(v[1], kIndexPaleCyan), kSilver);
      c.SetColour(kBlack);
      c.Text(c.L, y, v[1]);
      c.Rectangle(c.L + 34, c.T + 13, c.R, c.B, FillIfValue(v[2], kIndexPaleYellow), kSilver);
      c.Text(c.L + 35, y, v[2]);
      c.Line(c.R, c.T, c.R, c.B, kBlack);
      break;
    }
    default: {
      if (col < 6 || col > 10) break;
      const IndexTablePastRun& run = t.past[static_cast<std::size_t>(10 - col)];
      c.Fill(kWhite);
      // The surface box with the distance below it.
      const Rgb box = run.box == SurfaceBox::kTurf ? kTurfGreen : run.box == SurfaceBox::kDirt ? kDirtMaroon : kWhite;
      c.Rectangle(c.L, c.T, c.L + 30, c.B, box, kSilver);
      c.SetColour(kWhite);
      const int y = c.y0 + c.Text(c.x0, c.y0, run.surface);
      c.Text(c.x0, y, run.distance);
      // The three values of the run.
      c.SetBold(true);
      c.SetColour(kBlack);
      c.Rectangle(c.L + 29, c.T, c.R, c.T + 14, FillIfValue(run.ability, kIndexPalePink), kSilver);
      c.Text(c.L + 50, c.y0, run.ability);
      c.Rectangle(c.L + 30, c.T + 13, c.L + 65, c.B, FillIfValue(run.dIndex, kIndexPaleCyan), kSilver);
      c.Text(c.L + 30, y, run.dIndex);
      c.Rectangle(c.L + 64, c.T + 13, c.R, c.B, FillIfValue(run.legPower, kIndexPaleYellow), kSilver);
      c.Text(c.L + 70, y, run.legPower);
      c.Line(c.R, c.T, c.R, c.B, kBlack);
      break;
    }
  }
  c.BottomLine();
}

}  // namespace furlong
