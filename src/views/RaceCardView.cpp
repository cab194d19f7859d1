#include "views/RaceCardView.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaMethod>
#include <QToolButton>
#include <QVBoxLayout>

#include <cstdlib>

#include "analysis/MeetingFlow.h"
#include "analysis/PastRunIndices.h"
#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/KeibaFunc.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"
#include "views/GridPainting.h"
#include "views/ViewSupport.h"
#include "views/PaintedGrid.h"
#include "views/RunnerCells.h"

namespace furlong {

namespace {

constexpr int kColumns = 19;
constexpr int kFixedColumns = 6;
constexpr int kHeaderHeight = 17;
constexpr int kRowHeight = 67;
constexpr std::array<int, kColumns> kWidths{25, 25, 40, 40, 30, 220, 45, 35, 35, 35, 35, 35, 90, 50, 128, 128, 128, 128, 128};
constexpr std::array<const char*, kColumns> kHeaders{"枠", "馬", "単ｵｯｽﾞ", "複ｵｯｽﾞ", "予想", "馬名", "斤量",
                                                       "重量", "脚質", "短", "中", "長", "勝率", "騎手",
                                                       "５走前", "４走前", "３走前", "２走前", "前走"};

QToolButton* FilterButton(const char* name, const char* caption, QWidget* parent) {
  auto* b = new QToolButton(parent);
  b->setObjectName(name);
  b->setText(QString::fromUtf8(caption));
  b->setCheckable(true);
  b->setMinimumWidth(56);
  return b;
}

// Course text of a track code, "" for a blank code.
std::string_view CourseText(std::string_view track) {
  if (IsBlank(track)) return {};
  const std::string& text = TrackCourseText(static_cast<int>(ReadNumber(track)));
  return text.empty() ? std::string_view("   ") : std::string_view(text);
}

Rgb CourseColour(int t) {
  if (IsTurnedTurf(t)) return kTurfGreen;
  if (IsTurnedDirt(t)) return kDirtMaroon;
  return kBlack;
}

Rgb PlaceColour(int position) {
  if (position == 1) return kRed;
  if (position == 2 || position == 3) return kBlue;
  return kBlack;
}

}  // namespace

RaceCardView::RaceCardView(MeetingFlow& flow, QWidget* parent) : QWidget(parent), flow_(flow) {
  setObjectName("RaceCardView");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);

  auto* panel = new QWidget(this);
  auto* row = new QHBoxLayout(panel);
  row->setContentsMargins(4, 2, 4, 2);
  auto* surfaceBox = new QGroupBox(QString::fromUtf8("馬場選択"), panel);
  auto* surfaceRow = new QHBoxLayout(surfaceBox);
  surfaceRow->setContentsMargins(4, 2, 4, 2);
  surfaceGroup_ = new QButtonGroup(this);
  const char* surfaceNames[] = {"selBaBtn1", "selBaBtn2", "selBaBtn3"};
  const char* surfaceCaptions[] = {"全表示", "芝", "ﾀﾞｰﾄ"};
  for (int i = 0; i < 3; ++i) {
    auto* b = FilterButton(surfaceNames[i], surfaceCaptions[i], surfaceBox);
    surfaceGroup_->addButton(b, i);
    surfaceRow->addWidget(b);
    surfaceButtons_[static_cast<std::size_t>(i)] = b;
  }
  auto* distanceBox = new QGroupBox(QString::fromUtf8("距離選択"), panel);
  auto* distanceRow = new QHBoxLayout(distanceBox);
  distanceRow->setContentsMargins(4, 2, 4, 2);
  distanceGroup_ = new QButtonGroup(this);
  const char* distanceNames[] = {"selkyoriBtn1", "selkyoriBtn2", "selkyoriBtn3"};
  const char* distanceCaptions[] = {"無指定", "同距離", "+/-400m"};
  for (int i = 0; i < 3; ++i) {
    auto* b = FilterButton(distanceNames[i], distanceCaptions[i], distanceBox);
    distanceGroup_->addButton(b, i);
    distanceRow->addWidget(b);
    distanceButtons_[static_cast<std::size_t>(i)] = b;
  }
  surfaceButtons_[0]->setChecked(true);
  distanceButtons_[0]->setChecked(true);
  connect(surfaceGroup_, &QButtonGroup::idClicked, this, &RaceCardView::selBaBtn1Click);
  connect(distanceGroup_, &QButtonGroup::idClicked, this, &RaceCardView::selBaBtn1Click);

  legend_ = new QLabel(panel);
  legend_->setObjectName("RaceCardLegend");
  legend_->setTextFormat(Qt::PlainText);
  legend_->setFont(PixelFont(12));
  legend_->setText(QString::fromUtf8(
      "1行目=開催日、レース名　　　2行目=クラス、条件、騎手名\n"
      "3行目=場所、馬場状態、コース、距離、斤量　　　4行目=頭数、人気、ｺｰﾅｰ順位、確定着順\n"
      "5行目=前3F、上3F、能力値、着差     6行目=１着馬名(当該馬1着時は2着馬)"));
  row->addWidget(surfaceBox);
  row->addWidget(distanceBox);
  row->addWidget(legend_, 1);
  layout->addWidget(panel);

  grid_ = MakeRaceGrid(this, "StringGrid2", {kWidths.begin(), kWidths.end()}, kFixedColumns, kHeaderHeight, kRowHeight, {kHeaders.begin(), kHeaders.end()},
                       [this](QPainter& p, int col, int row, const QRect& rect) { StringGrid2DrawCell(p, col, row, rect); });
  layout->addWidget(grid_, 1);
  refresh();
}

RaceCardView::SurfaceFilter RaceCardView::Surface() const {
  switch (surfaceGroup_->checkedId()) {
    case 1: return SurfaceFilter::kTurf;
    case 2: return SurfaceFilter::kDirt;
    default: return SurfaceFilter::kAll;
  }
}

RaceCardView::DistanceFilter RaceCardView::Distance() const {
  switch (distanceGroup_->checkedId()) {
    case 1: return DistanceFilter::kSame;
    case 2: return DistanceFilter::kWithin400;
    default: return DistanceFilter::kAny;
  }
}

void RaceCardView::refresh() {
  ShowRows(*grid_, SelectedRaceGridRows(flow_));
}

void RaceCardView::selBaBtn1Click() {
  if (isSignalConnected(QMetaMethod::fromSignal(&RaceCardView::filterClicked))) {
    emit filterClicked();
    return;
  }
  if (flow_.SelectedItem() < 0) return;
  flow_.DatListClick(flow_.SelectedItem());
  refresh();
}

void RaceCardView::StringGrid2DrawCell(QPainter& painter, int col, int row, const QRect& rect) {
  const int s = SelectedRaceSlot(flow_);
  if (s < 0) return;
  CellCanvas c(painter, rect);
  c.SetPixels(12);
  if (row == 0) {
    c.BottomLine();
    return;
  }
  const std::size_t slot = static_cast<std::size_t>(s);
  const std::size_t runner = static_cast<std::size_t>(row - 1);
  if (runner >= static_cast<std::size_t>(kRunnerSlots)) return;
  const DayTables& day = flow_.Day();
  const std::string_view ra = day.RaceRecords[slot].view();
  const std::string_view se = day.RunnerRecords[slot][runner].view();
  const std::string_view um = day.HorseRecords[slot][runner].view();
  const RunnerAnalysis& a = flow_.Analyzer().Runners()[slot][runner];
  const bool dirtOnly = Surface() == SurfaceFilter::kDirt;
  const bool turfOnly = Surface() == SurfaceFilter::kTurf;

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
    case 3: {
      c.Fill(kWhite);
      c.SetBold(true);
      c.SetColour(kBlue);
      const std::string_view odds = day.PredictedOddsRecords[slot].view();
      const std::string_view field = col == 2 ? PredictedWinOdds(odds, row) : PredictedPlaceOdds(odds, row);
      c.Text(c.x0, c.T + 20, HasOdds(field) ? field.substr(1) : std::string_view(" "));
      break;
    }
    case 4:
      c.Fill(kWhite);
      c.SetPoints(13, true);
      c.SetColour(kBlack);
      c.Text(c.x0, c.y0, a.Mark);
      break;
    case 5:
      PaintHorseNameCell(c, se, um, false);
      break;
    case 6:
      c.Fill(kWhite);
      c.SetPoints(9, true);
      c.SetColour(kBlack);
      c.Text(c.L + c.w + 5, c.T + 10, FormatFixed(FieldNumber(se, se::kWeightCarried) / 10.0, 4, 1));
      c.Text(c.x0, c.T + 40, a.WeightCarriedChange);
      break;
    case 7: {
      c.Fill(kWhite);
      c.SetPoints(9, true);
      c.SetColour(dirtOnly ? kSilver : kTurfGreen);
      int y = c.T + 10;
      y += c.Text(c.x0, y, a.TurfWeightValue) + 10;
      c.SetColour(turfOnly ? kSilver : kDirtMaroon);
      c.Text(c.x0, y, a.DirtWeightValue);
      break;
    }
    case 8: {
      c.Fill(kWhite);
      c.SetPoints(9, true);
      c.SetColour(kBlack);
      int y = c.T + 10;
      y += c.Text(c.L + c.w - 1, y, a.StyleValue);
      c.Text(c.L + c.w + 20, y, StyleLetter(a.StyleValue));
      c.SetColour(kRed);
      y = c.T + 40;
      y += c.Text(c.L + c.w - 1, y, a.StyleValueRecent);
      c.Text(c.L + c.w + 20, y, StyleLetter(a.StyleValueRecent));
      break;
    }
    case 9:
    case 10:
    case 11: {
      const int d = FieldNumber(ra, ra::kDistance);
      const bool band = static_cast<int>(DistanceBandOf(d)) == col - 9;
      c.Fill(band ? kLightBlue : kWhite);
      if (col == 9) c.SetPoints(9);
      c.SetBold(true);
      const std::string& turf = col == 9 ? a.TurfShort : col == 10 ? a.TurfMiddle : a.TurfLong;
      const std::string& dirt = col == 9 ? a.DirtShort : col == 10 ? a.DirtMiddle : a.DirtLong;
      c.SetColour(dirtOnly ? kSilver : kTurfGreen);
      int y = c.T + 10;
      y += c.Text(c.L + c.w - 1, y, turf) + 10;
      c.SetColour(turfOnly ? kSilver : kDirtMaroon);
      c.Text(c.L + c.w - 1, y, dirt);
      break;
    }
    case 12:
      PaintWinRateCell(c, um);
      break;
    case 13:
      c.Fill(kWhite);
      c.SetPoints(9);
      c.SetColour(kBlack);
      c.Text(c.x0, c.T + 1, se::JockeyShort(se));
      break;
    default:
      if (col >= 14 && col <= 18) {
        DrawPastRun(c, static_cast<int>(runner), 18 - col);
        return;  // draws its own bottom line, or none for an empty run
      }
      break;
  }
  c.BottomLine();
}

void RaceCardView::DrawPastRun(CellCanvas& c, int runner, int k) {
  const std::size_t slot = static_cast<std::size_t>(flow_.Analyzer().SelectedRace());
  const std::size_t r = static_cast<std::size_t>(runner), kk = static_cast<std::size_t>(k);
  const DayTables& day = flow_.Day();
  const std::string_view pr = day.PastRaceRecords[slot][r][kk].view();
  const std::string_view ps = day.PastRunRecords[slot][r][kk].view();
  const RunnerAnalysis& a = flow_.Analyzer().Runners()[slot][r];
  if (IsBlank(ra::Year(pr))) return;

  c.Fill(kWhite);
  // Greying: local and overseas runs always; runs outside the surface or
  // distance the filter buttons ask for.
  bool active = true;
  Rgb base = kBlack;
  if (IsLocalOrOverseas(CourseCode(pr))) {
    active = false;
    base = kGreyed;
  }
  const std::string_view track = ra::TrackCode(pr);
  const int t = static_cast<int>(ReadNumber(track));
  const SurfaceFilter surface = Surface();
  if (surface != SurfaceFilter::kAll) {
    const bool outside = surface == SurfaceFilter::kTurf ? !IsTurnedTurf(t) : !IsTurnedDirt(t);
    if (IsBlank(track)) {
      base = kBlack;
    } else if (outside) {
      active = false;
      base = kGreyed;
    }
  }
  const int distance = FieldNumber(day.RaceRecords[slot].view(), ra::kDistance);
  const int pastDistance = FieldNumber(pr, ra::kDistance);
  const DistanceFilter filter = Distance();
  if ((filter == DistanceFilter::kSame && pastDistance != distance) ||
      (filter == DistanceFilter::kWithin400 && std::abs(pastDistance - distance) > 400)) {
    active = false;
    base = kGreyed;
  }
  auto own = [active](Rgb colour) { return active ? colour : kGreyed; };
  const int L = c.L + c.w;  // the items' offsets count from L + w

  // Line 1: date and short race name.
  c.SetPoints(8);
  c.SetColour(base);
  int y = c.T;
  y += c.Text(c.x0, y, RaceDateText(pr) + " " + std::string(ra::ShortName3(pr)));
  // Line 2: class, weight rule, jockey.
  c.Text(c.x0, y, ClassText(pr));
  c.Text(L + 40, y, WeightRuleName(pr, "  "));
  y += c.Text(L + 70, y, se::JockeyShort(ps));
  // Line 3: racecourse, going, course, distance, weight carried.
  c.Text(c.x0, y, TrimSpaces(CourseShortName(CourseCode(pr))));
  c.Text(L + 27, y, GoingName(GoingCode(pr)));
  c.SetColour(own(CourseColour(t)));
  c.Text(L + 47, y, CourseText(track));
  c.SetColour(own(kBlue));
  c.Text(L + 71, y, ra::Distance(pr));
  c.SetColour(own(kBlack));
  const std::string_view carried = se::WeightCarried(ps);
  std::string carriedText;
  if (!IsBlank(carried)) carriedText = std::string(carried.substr(0, 2)) + "." + std::string(carried.substr(2, 1));
  y += c.Text(L + 97, y, carriedText);
  // Line 4: runners, popularity, corner positions, finishing position.
  const int n = FieldNumber(pr, ra::kRegisteredRunners);
  c.Text(c.x0, y, n >= 1 ? FormatInt(n, 2) + SJ("ﾄ") : std::string(" "));
  const std::string_view popularity = se::WinPopularity(ps);
  const bool noPopularity = IsBlank(popularity) || TrimSpaces(popularity) == "00";
  c.Text(L + 25, y, noPopularity ? std::string(" ") : FormatInt(ReadNumber(popularity), 2) + SJ("人"));
  c.SetPoints(9);
  const std::string_view course = CourseCode(pr);
  const bool noCourse = IsBlank(course) || course == "00";
  for (int corner = 0; corner < 4; ++corner) {
    const int p = static_cast<int>(ReadNumber(se::Corner(ps, static_cast<std::size_t>(corner))));
    Rgb colour = kBlack;
    if (p == 1)
      colour = kRed;
    else if (n > 0)
      colour = 2 * p > n ? kBlack : kBlue;
    c.SetColour(own(colour));
    c.Text(L + 50 + 12 * corner, y, noCourse ? std::string_view(" ") : CircledNumber(p));
  }
  const std::string_view finish = se::FinishingPosition(ps);
  const bool noFinish = IsBlank(finish) || TrimSpaces(finish) == "00";
  const int position = static_cast<int>(ReadNumber(finish));
  c.SetBold(true);
  c.SetColour(own(PlaceColour(position)));
  y += c.Text(L + 100, y, noFinish ? std::string("  ") : FormatInt(position, 2));
  // Line 5: front 3F, last 3F, ability, time difference.
  c.SetPoints(8);
  c.SetColour(own(kBlack));
  c.Text(c.x0, y, a.PastFront3F[kk]);
  c.SetColour(own(kNavy));
  const std::string last3f = LastThreeFurlongsText(ps, pr);
  c.Text(L + 35, y, last3f.empty() ? std::string(" ") : last3f);
  c.SetColour(own(kMaroon));
  c.Text(L + 60, y, a.PastAbility[kk]);
  const std::string difference = FormatRaceTime(se::TimeDifference(ps));
  c.SetColour(own(!difference.empty() && difference[0] == '-' ? kRed : kBlue));
  y += c.Text(L + 95, y, difference);
  // Line 6: the winner, or the second when this runner won.
  c.SetColour(own(kBlack));
  c.Text(c.x0, y, DisplayName(se::OtherHorseName(ps)));
  c.BottomLine();
}

}  // namespace furlong
