#include "views/IndexTableView.h"

#include <QVBoxLayout>

#include <array>

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

std::string_view RankLetter(int rank) {
  switch (rank) {
    case 1: return "A";
    case 2: return "B";
    case 3: return "C";
    case 4: return "D";
    default: return " ";
  }
}

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
  const std::size_t slot = static_cast<std::size_t>(s), r = static_cast<std::size_t>(runner);
  const DayTables& day = flow_.Day();
  const std::string_view se = day.RunnerRecords[slot][r].view();
  const RunnerAnalysis& a = flow_.Analyzer().Runners()[slot][r];

  switch (col) {
    case 0: {
      const int frame = FieldNumber(se, se::kBracket);
      PaintFrameCell(c, frame, FormatInt(frame, 1), {c.L + c.w + 5, c.T + c.w + 5}, PointFont(11, true));
      break;
    }
    case 1:
      PaintHorseNumberCell(c, FormatInt(FieldNumber(se, se::kHorseNumber), 2), {c.x0, c.T + c.w + 5}, PointFont(11, true));
      break;
    case 2:
      PaintPlacingBackground(c, FieldNumber(se, se::kFinishingPosition));
      c.SetPoints(11, true);
      c.SetColour(kBlack);
      c.Text(c.x0, c.T + c.w + 5, DisplayName(se::HorseName(se)));
      break;
    case 3:
    case 4:
    case 5: {
      c.Fill(kCream);
      c.SetPoints(10, true);
      const int mean = col == 3 ? a.AbilityAvgRank : col == 4 ? a.DIndexAvgRank : a.LegPowerAvgRank;
      const int best = col == 3 ? a.AbilityBestRank : col == 4 ? a.DIndexBestRank : a.LegPowerBestRank;
      c.SetColour(kBlue);
      c.Text(c.L + c.w + 5, c.T + c.w + 5, RankLetter(mean));
      c.SetColour(kFuchsia);
      c.Text(c.L + 26, c.T + c.w + 5, RankLetter(best));
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
      const std::string& ability = mean ? a.AbilityAvg : a.AbilityBest;
      const std::string& dindex = mean ? a.DIndexAvg : a.DIndexBest;
      const std::string& legPower = mean ? a.LegPowerAvg : a.LegPowerBest;
      c.Rectangle(c.L, c.T, c.R, c.T + 14, FillIfValue(ability, kIndexPalePink), kSilver);
      c.SetColour(mean ? kBlue : kPurple);
      const int y = c.y0 + c.Text(c.L + 20, c.y0, ability);
      c.Rectangle(c.L, c.T + 13, c.L + 35, c.B, FillIfValue(dindex, kIndexPaleCyan), kSilver);
      c.SetColour(kBlack);
      c.Text(c.L, y, dindex);
      c.Rectangle(c.L + 34, c.T + 13, c.R, c.B, FillIfValue(legPower, kIndexPaleYellow), kSilver);
      c.Text(c.L + 35, y, legPower);
      c.Line(c.R, c.T, c.R, c.B, kBlack);
      break;
    }
    default: {
      if (col < 6 || col > 10) break;
      const std::size_t k = static_cast<std::size_t>(10 - col);
      const std::string_view pr = day.PastRaceRecords[slot][r][k].view();
      c.Fill(kWhite);
      // The surface box with the distance below it.
      const int t = TrackCode(pr);
      std::string_view surface = "    ";
      Rgb box = kWhite;
      if (t == 0) {
        surface = "    ";
      } else if (!CountsAsDirt(t)) {
        surface = SJ(" 芝 ");
        box = kTurfGreen;
      } else if (t < kFirstJumpTrackCode) {
        surface = SJ("ﾀﾞｰﾄ");
        box = kDirtMaroon;
      } else {
        surface = SJ("障害");
        box = kDirtMaroon;
      }
      c.Rectangle(c.L, c.T, c.L + 30, c.B, box, kSilver);
      c.SetColour(kWhite);
      const int y = c.y0 + c.Text(c.x0, c.y0, surface);
      const int distance = FieldNumber(pr, ra::kDistance);
      c.Text(c.x0, y, distance == 0 ? std::string(" ") : FormatInt(distance, 4));
      // The three values of the run.
      c.SetBold(true);
      c.SetColour(kBlack);
      c.Rectangle(c.L + 29, c.T, c.R, c.T + 14, FillIfValue(a.PastAbility[k], kIndexPalePink), kSilver);
      c.Text(c.L + 50, c.y0, a.PastAbility[k]);
      c.Rectangle(c.L + 30, c.T + 13, c.L + 65, c.B, FillIfValue(a.PastDIndex[k], kIndexPaleCyan), kSilver);
      c.Text(c.L + 30, y, a.PastDIndex[k]);
      c.Rectangle(c.L + 64, c.T + 13, c.R, c.B, FillIfValue(a.PastLegPower[k], kIndexPaleYellow), kSilver);
      c.Text(c.L + 70, y, a.PastLegPower[k]);
      c.Line(c.R, c.T, c.R, c.B, kBlack);
      break;
    }
  }
  c.BottomLine();
}

}  // namespace furlong
