#include "views/DetailedRaceCardView.h"

#include <QVBoxLayout>

#include <array>

#include "analysis/MeetingFlow.h"
#include "analysis/PastRunIndices.h"
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
constexpr std::array<int, kColumns> kWidths{25, 25, 220, 30, 30, 90, 180, 65, 28, 40, 30, 40, 40,
                                            30, 40, 52,  30, 30, 30, 50, 30, 30, 30, 40, 70, 130,
                                            30, 30, 35,  35, 40, 40, 40, 40, 145, 170, 80};
constexpr std::array<const char*, kColumns> kHeaders{
    "枠",   "馬",   "馬名", "斤量",   "間隔",     "勝率",   "騎手･調教師･馬主", "開催日", "間隔", "馬体重",
    "増減", "競馬場", "クラス", "条件", "ﾚｰｽ名",   "コース", "距離",             "斤量",   "ﾌﾞﾘﾝｶ", "騎手",
    "頭数", "馬番", "人気", "単ｵｯｽﾞ", "コーナー", "展開指数", "着順",           "着差",   "前3F", "上3F",
    "能力", "D指数", "脚力", "重量値", "実績",    "距離別実績", "複勝率"};

// Red for 8 days or less, blue for 60 or more, black in between.
Rgb IntervalColour(std::string_view days) {
  const double v = ParseStoredNumber(days);
  if (v <= 8) return kRed;
  if (v >= 60) return kBlue;
  return kBlack;
}

Rgb PlaceColour(int position) {
  if (position == 1) return kRed;
  if (position == 2 || position == 3) return kBlue;
  return kBlack;
}

// " " + "%2d" of a two-digit field; " " and two spaces when blank or "00".
std::string SpacedNumber(std::string_view field) {
  if (IsBlank(field) || TrimSpaces(field) == "00") return "   ";
  return " " + FormatInt(ReadNumber(field), 2);
}

// Course and going of a past race: "芝右･良" and the like.
std::string CourseAndGoing(std::string_view pr) {
  const int t = TrackCode(pr);
  const std::string& course = TrackCourseText(t);
  std::string text = course.empty() ? std::string("     ") : course + SJ("･");
  text += GoingName(GoingCode(pr));
  return text;
}

// The development values of one run: " " and four "%4.1f" (four spaces for
// 0), each followed by "-" except the last and the blank ones.
std::string DevelopmentText(const std::array<double, 4>& values) {
  std::string text = " ";
  for (std::size_t i = 0; i < values.size(); ++i) {
    const bool blank = values[i] == 0;
    text += blank ? std::string("    ") : FormatFixed(values[i], 4, 1);
    text += (i == 3 || blank) ? ' ' : '-';
  }
  return text;
}

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
  const std::size_t slot = static_cast<std::size_t>(s), r = static_cast<std::size_t>(runner);
  const DayTables& day = flow_.Day();
  const std::string_view se = day.RunnerRecords[slot][r].view();
  const std::string_view um = day.HorseRecords[slot][r].view();
  const RunnerAnalysis& a = flow_.Analyzer().Runners()[slot][r];

  switch (col) {
    case 0: {
      const int frame = FieldNumber(se, se::kBracket);
      PaintFrameCell(c, frame, FormatInt(frame, 2), {c.x0, c.y0}, PointFont(13, true));
      break;
    }
    case 1:
      PaintHorseNumberCell(c, FormatInt(FieldNumber(se, se::kHorseNumber), 2), {c.x0, c.y0}, PointFont(13, true));
      break;
    case 2:
      PaintHorseNameCell(c, MakeHorseNameTexts(se, um), true);
      break;
    case 3:
      c.Fill(kWhite);
      c.SetPoints(9, true);
      c.SetColour(kBlack);
      c.Text(c.x0, c.T + 20, FormatFixed(FieldNumber(se, se::kWeightCarried) / 10.0, 4, 1));
      break;
    case 4:
      c.Fill(kWhite);
      c.SetBold(true);
      c.SetColour(IsBlank(a.DaysSinceLastRun) ? kBlack : IntervalColour(a.DaysSinceLastRun));
      c.Text(c.L + c.w - 1, c.T + 20, a.DaysSinceLastRun);
      break;
    case 5:
      PaintWinRateCell(c, MakeWinRateTexts(um));
      break;
    case 6: {
      c.Fill(kWhite);
      c.SetPoints(9);
      c.SetColour(kBlack);
      int y = c.T + 1;
      y += c.Text(c.x0, y, se::JockeyShort(se)) + 8;
      y += c.Text(c.x0, y, se::TrainerShort(se)) + 8;
      c.Text(c.x0, y, DisplayName(um::OwnerName(um)));
      c.Line(c.L, c.T + 16, c.R, c.T + 16, kSilver);
      c.Line(c.L, c.T + 35, c.R, c.T + 35, kSilver);
      break;
    }
    default:
      if (col >= 7 && col <= 33)
        DrawPastRunColumn(c, col, runner);
      else
        DrawRecordColumn(c, col, runner);
      break;
  }
  c.BottomLine();
}

void DetailedRaceCardView::DrawPastRunColumn(CellCanvas& c, int col, int runner) {
  const std::size_t slot = static_cast<std::size_t>(flow_.Analyzer().SelectedRace());
  const std::size_t r = static_cast<std::size_t>(runner);
  const DayTables& day = flow_.Day();
  const RunnerAnalysis& a = flow_.Analyzer().Runners()[slot][r];

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
  const int runners = FieldNumber(day.RaceRecords[slot].view(), ra::kRegisteredRunners);

  Rgb previous = kBlack;
  int y = c.T + 1;
  for (int line = 0; line < kPastRuns; ++line) {
    const int k = kPastRuns - 1 - line;  // the fifth-last run at the top, the last run at the bottom
    const std::size_t kk = static_cast<std::size_t>(k);
    const std::string_view pr = day.PastRaceRecords[slot][r][kk].view();
    const std::string_view ps = day.PastRunRecords[slot][r][kk].view();
    const bool greyed = IsLocalOrOverseas(CourseCode(pr));
    const Rgb byTrack = SurfaceColour(TrackCode(pr));
    auto colour = [greyed](Rgb own) { return greyed ? kGreyed : own; };
    std::string text;
    Rgb own = kBlack;
    switch (col) {
      case 7:
        text = IsBlank(ra::Year(pr)) ? std::string(" ") : RaceDateText(pr);
        break;
      case 8:
        text = a.PastInterval[kk];
        if (IsBlank(text)) {
          if (!IsBlank(ra::Year(pr))) text = " -- ";
          own = previous;
        } else {
          own = IntervalColour(text);
        }
        break;
      case 9: {
        const std::string_view weight = se::BodyWeight(ps);
        text = weight == "000" ? std::string("---") : std::string(weight);
        break;
      }
      case 10:
        text = PrefixedCount(se::BodyWeightSign(ps), se::BodyWeightChange(ps));
        break;
      case 11:
        text = CourseShortName(CourseCode(pr));
        break;
      case 12:
        text = ClassText(pr);
        break;
      case 13:
        text = WeightRuleName(pr, " ");
        break;
      case 14:
        text = ra::ShortName3(pr);
        break;
      case 15:
        text = CourseAndGoing(pr);
        break;
      case 16:
        text = ra::Distance(pr);
        break;
      case 17: {
        const std::string_view carried = se::WeightCarried(ps);
        text = IsBlank(carried) ? std::string(" ") : FormatFixed(ReadNumber(carried) / 10.0, 4, 1);
        break;
      }
      case 18:
        text = se::Blinkers(ps) == "1" ? SJ(" ブ") : std::string("  ");
        break;
      case 19:
        text = se::JockeyShort(ps);
        break;
      case 20:
        text = SpacedNumber(ra::RegisteredRunners(pr));
        break;
      case 21:
        text = SpacedNumber(se::HorseNumber(ps));
        break;
      case 22:
        text = SpacedNumber(se::WinPopularity(ps));
        own = PlaceColour(FieldNumber(ps, se::kWinPopularity));
        break;
      case 23: {
        const std::string_view odds = se::WinOdds(ps);
        text = IsBlank(odds) || TrimSpaces(odds) == "0000" ? std::string(" ") : FormatFixed(ReadNumber(odds) / 10.0, 5, 1);
        break;
      }
      case 24: {
        const std::string_view course = CourseCode(pr);
        const bool noCourse = IsBlank(course) || course == "00";
        for (int v = 0; v < 4; ++v) {
          const int p = static_cast<int>(ReadNumber(se::Corner(ps, static_cast<std::size_t>(v))));
          const int cx = c.L + c.w + 18 * v;
          if (p < 1) continue;
          Rgb pc = p == 1 ? kRed : (runners > 0 && 2 * p <= runners ? kBlue : kBlack);
          c.SetColour(colour(pc));
          c.Text(cx, y, noCourse ? std::string("  ") : FormatInt(p, 2));
          if (v < 3) {
            c.SetColour(kBlack);
            c.Text(cx + 13, y, "-");
          }
        }
        y += kLineStep;
        continue;
      }
      case 25:
        text = DevelopmentText(a.PastDevelopment[kk]);
        own = byTrack;
        break;
      case 26:
        text = SpacedNumber(se::FinishingPosition(ps));
        own = PlaceColour(FieldNumber(ps, se::kFinishingPosition));
        break;
      case 27:
        text = FormatRaceTime(se::TimeDifference(ps));
        own = !text.empty() && text[0] == '-' ? kRed : kBlack;
        break;
      case 28:
        text = a.PastFront3F[kk];
        own = byTrack;
        break;
      case 29: {
        const std::string last3f = LastThreeFurlongsText(ps, pr);
        text = " " + (last3f.empty() ? std::string(" ") : last3f);
        own = byTrack;
        break;
      }
      case 30:
        text = a.PastAbility[kk];
        own = byTrack;
        break;
      case 31:
        text = a.PastDIndex[kk];
        own = byTrack;
        break;
      case 32:
        text = TrimSpaces(a.PastLegPower[kk]) == "400" ? std::string(" ") : " " + a.PastLegPower[kk];
        own = byTrack;
        break;
      case 33:
        text = " " + a.PastWeightValue[kk];
        own = byTrack;
        break;
      default:
        break;
    }
    previous = own;
    c.SetColour(colour(own));
    c.Text(x, y, text);
    y += kLineStep;
  }
}

void DetailedRaceCardView::DrawRecordColumn(CellCanvas& c, int col, int runner) {
  const std::size_t slot = static_cast<std::size_t>(flow_.Analyzer().SelectedRace());
  const std::size_t r = static_cast<std::size_t>(runner);
  const std::string_view um = flow_.Day().HorseRecords[slot][r].view();
  const RunnerAnalysis& a = flow_.Analyzer().Runners()[slot][r];
  c.Fill(kDetailPaleCyan);
  c.SetPixels(kLinePixels);
  int y = c.T + 1;

  struct Block {
    std::string label;  // Shift-JIS
    std::size_t from;
    Rgb colour;
  };
  static const std::array<Block, 5> kBlocks{{{SJ("全実績 "), um::kPlacingsAll.from, kBlack},
                                             {SJ("芝・右 "), um::kPlacingsTurfRight.from, kTurfGreen},
                                             {SJ("芝・左 "), um::kPlacingsTurfLeft.from, kTurfGreen},
                                             {SJ("ダ・右 "), um::kPlacingsDirtRight.from, kDirtMaroon},
                                             {SJ("ダ・左 "), um::kPlacingsDirtLeft.from, kDirtMaroon}}};
  if (col == 34 || col == 36) {
    for (const Block& b : kBlocks) {
      const PlacingCounts n = ReadPlacingCounts(um, b.from);
      std::string text = b.label;
      if (col == 34) {
        text += CountsText(n);
      } else {
        const int s = n[0] + n[1] + n[2] + n[3] + n[4] + n[5];
        text = s == 0 ? std::string(" ") : text + FormatFixed(static_cast<double>(n[0] + n[1] + n[2]) / s * 100, 5, 1) + "%";
      }
      c.SetColour(b.colour);
      c.Text(c.x0, y, text);
      y += kLineStep;
    }
    return;
  }
  // 距離別実績: turf and dirt counts of each distance band added count by count.
  struct Band {
    std::string label;  // Shift-JIS
    std::size_t turf, dirt;
  };
  static const std::array<Band, 3> kBands{{{SJ("    ～1600 "), um::kPlacingsTurfShort.from, um::kPlacingsDirtShort.from},
                                           {SJ("1601～2200 "), um::kPlacingsTurfMiddle.from, um::kPlacingsDirtMiddle.from},
                                           {SJ("2201～     "), um::kPlacingsTurfLong.from, um::kPlacingsDirtLong.from}}};
  c.SetColour(kBlack);
  for (const Band& band : kBands) {
    const PlacingCounts turf = ReadPlacingCounts(um, band.turf);
    const PlacingCounts dirt = ReadPlacingCounts(um, band.dirt);
    PlacingCounts sum{};
    for (std::size_t i = 0; i < sum.size(); ++i) sum[i] = turf[i] + dirt[i];
    c.Text(c.x0, y, band.label + CountsText(sum));
    y += kLineStep;
  }
  c.Text(c.x0, y, a.AvgDistanceText5);
  c.Text(c.x0, y + kLineStep, a.AvgDistanceText2);
}

}  // namespace furlong
