#include "views/SignalTableView.h"

#include <QVBoxLayout>

#include <array>

#include "analysis/MeetingFlow.h"
#include "store/Encoding.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"
#include "views/GridPainting.h"
#include "views/ViewSupport.h"
#include "views/PaintedGrid.h"
#include "views/RunnerCells.h"
#include "analysis/RunnerSignals.h"

namespace furlong {

namespace {

constexpr int kColumns = 21;
// Two header lines of the 10-point bold font need a taller header row than
// the 18-pixel runner rows.
constexpr int kHeaderHeight = 32;
constexpr int kRowHeight = 18;
constexpr int kHeaderTop = 3;
// The last column (成績) is as wide as its text: finishing position,
// popularity, odds and time in 24 characters.
constexpr std::array<int, kColumns> kWidths{22, 22, 170, 59, 42, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30, 30,
                                            46, 45, 148};
constexpr std::array<const char*, kColumns> kCaptions{"枠", "馬", "馬名", "騎手", "単ｵｯｽﾞ", "替", "増",
                                                        "Ｂ", "B2", "連", "休", "人", "差", "転",
                                                        "2転", "逃", "Ｒ", "消", "重量値", "能力値", "成績"};

}  // namespace

SignalTableView::SignalTableView(MeetingFlow& flow, QWidget* parent) : QWidget(parent), flow_(flow) {
  setObjectName("SignalTableView");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  grid_ = MakeRaceGrid(this, "StringGrid3", {kWidths.begin(), kWidths.end()}, 0, kHeaderHeight, kRowHeight, {},
                       [this](QPainter& p, int col, int row, const QRect& rect) { StringGrid3DrawCell(p, col, row, rect); });
  layout->addWidget(grid_);
  refresh();
}

void SignalTableView::refresh() {
  ShowRows(*grid_, SelectedRaceGridRows(flow_));
}

void SignalTableView::StringGrid3DrawCell(QPainter& painter, int col, int row, const QRect& rect) {
  const int s = SelectedRaceSlot(flow_);
  if (s < 0) return;
  CellCanvas c(painter, rect);
  c.SetPixels(12);
  if (row == 0) {
    c.SetPoints(10, true);
    c.SetColour(kBlack);
    const char* group = col >= 5 && col <= 10 ? "S①" : col >= 11 && col <= 16 ? "S②" : " ";
    // The circled digits fill their whole em box: the two lines start a
    // little lower and two pixels apart, so that no circle is cut at the
    // cell's top edge or touches the caption under it.
    const int y = c.T + kHeaderTop + c.TextQ(c.L + 1, c.T + kHeaderTop, QString::fromUtf8(group)) + 2;
    c.TextQ(c.L + 1, y, QString::fromUtf8(kCaptions[static_cast<std::size_t>(col)]));
    c.BottomLine();
    return;
  }
  const int runner = row - 1;
  if (runner >= kRunnerSlots) return;
  const std::size_t slot = static_cast<std::size_t>(s), r = static_cast<std::size_t>(runner);
  const DayTables& day = flow_.Day();
  const std::string_view se = day.RunnerRecords[slot][r].view();
  const RunnerAnalysis& a = flow_.Analyzer().Runners()[slot][r];
  const int x = c.L + 1, y = c.T + 1;

  c.SetBold(true);
  c.SetColour(kBlack);
  if (col == 0) {
    const int frame = FieldNumber(se, se::kBracket);
    PaintFrameCell(c, frame, FormatInt(frame, 1), {x, y}, PointFont(10, true));
  } else if (col == 1) {
    PaintHorseNumberCell(c, FormatInt(FieldNumber(se, se::kHorseNumber), 2), {x, y}, PointFont(10, true));
  } else if (col == 2) {
    PaintPlacingBackground(c, FieldNumber(se, se::kFinishingPosition));
    c.SetPoints(11, true);
    c.Text(x, y, DisplayName(se::HorseName(se)));
  } else if (col == 3) {
    c.Fill(kWhite);
    c.SetPoints(9);
    c.Text(x, y, se::JockeyShort(se));
  } else if (col == 4) {
    c.Fill(kLightOrange);
    c.SetColour(kBlue);
    const std::string_view odds = PredictedWinOdds(day.PredictedOddsRecords[slot].view(), row);
    c.Text(x, y, HasOdds(odds) ? odds : std::string_view(" "));
  } else if (col >= 5 && col <= 16) {
    c.Fill(col <= 10 ? kSignalYellow : kSignalCyan);
    const RunnerSignals flags = ComputeSignals(se, day.PastRunRecords[slot][r], a);
    c.Text(x, y, flags[static_cast<std::size_t>(col - 5)] ? " *" : "  ");
  } else if (col == 17) {
    c.Fill(kEliminationBack);
    c.Text(x, y, a.Eliminated == 1 ? SJ(" 消") : SJ("　"));
  } else if (col == 18 || col == 19) {
    c.Fill(kBestValueBack);
    c.Text(x, y, col == 18 ? a.BestWeightValue : a.AbilityBest);
  } else if (col == 20) {
    c.Fill(kResultBack);
    c.Text(x, y, ResultSummaryText(a));
  }
  c.BottomLine();
}

}  // namespace furlong
