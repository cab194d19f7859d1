#include "views/RaceCardView.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMetaMethod>
#include <QToolButton>
#include <QVBoxLayout>

#include "analysis/MeetingFlow.h"
#include "analysis/PastRunIndices.h"
#include "analysis/RaceCardTexts.h"
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
  const int runner = row - 1;
  if (runner >= kRunnerSlots) return;
  const DayTables& day = flow_.Day();
  const RunnerAnalysis& a = flow_.Analyzer().Runners()[static_cast<std::size_t>(s)][static_cast<std::size_t>(runner)];
  if (col >= 14 && col <= 18) {
    DrawPastRun(c, MakeRaceCardPastRun(day, a, s, runner, 18 - col, Surface(), Distance()));
    return;  // draws its own bottom line, or none for an empty run
  }
  const RaceCardRow t = MakeRaceCardRow(day, a, s, runner, Surface(), Distance());

  switch (col) {
    case 0:
    case 1:
      PaintCardNumberCell(c, col == 0, t);
      break;
    case 2:
    case 3:
      c.Fill(kWhite);
      c.SetBold(true);
      c.SetColour(kBlue);
      c.Text(c.x0, c.T + 20, col == 2 ? t.winOdds : t.placeOdds);
      break;
    case 4:
      c.Fill(kWhite);
      c.SetPoints(13, true);
      c.SetColour(kBlack);
      c.Text(c.x0, c.y0, t.mark);
      break;
    case 5:
      PaintHorseNameCell(c, t.name, false);
      break;
    case 6:
      c.Fill(kWhite);
      c.SetPoints(9, true);
      c.SetColour(kBlack);
      c.Text(c.L + c.w + 5, c.T + 10, t.weightCarried);
      c.Text(c.x0, c.T + 40, t.weightChange);
      break;
    case 7: {
      c.Fill(kWhite);
      c.SetPoints(9, true);
      int y = c.T + 10;
      y += Put(c, c.x0, y, t.turfWeight) + 10;
      Put(c, c.x0, y, t.dirtWeight);
      break;
    }
    case 8: {
      c.Fill(kWhite);
      c.SetPoints(9, true);
      c.SetColour(kBlack);
      int y = c.T + 10;
      y += c.Text(c.L + c.w - 1, y, t.style);
      c.Text(c.L + c.w + 20, y, t.styleLetter);
      c.SetColour(kRed);
      y = c.T + 40;
      y += c.Text(c.L + c.w - 1, y, t.styleRecent);
      c.Text(c.L + c.w + 20, y, t.styleRecentLetter);
      break;
    }
    case 9:
    case 10:
    case 11: {
      const std::size_t band = static_cast<std::size_t>(col - 9);
      c.Fill(t.distanceBand == col - 9 ? kLightBlue : kWhite);
      if (col == 9) c.SetPoints(9);
      c.SetBold(true);
      int y = c.T + 10;
      y += Put(c, c.L + c.w - 1, y, t.turf[band]) + 10;
      Put(c, c.L + c.w - 1, y, t.dirt[band]);
      break;
    }
    case 12:
      PaintWinRateCell(c, t.winRate);
      break;
    case 13:
      c.Fill(kWhite);
      c.SetPoints(9);
      c.SetColour(kBlack);
      c.Text(c.x0, c.T + 1, t.jockey);
      break;
    default:
      break;
  }
  c.BottomLine();
}

void RaceCardView::DrawPastRun(CellCanvas& c, const RaceCardPastRun& run) {
  if (!run.present) return;
  c.Fill(kWhite);
  const int L = c.L + c.w;  // the items' offsets count from L + w

  // Line 1: date and short race name.
  c.SetPoints(8);
  int y = c.T;
  y += Put(c, c.x0, y, run.dateName);
  // Line 2: class, weight rule, jockey.
  Put(c, c.x0, y, run.raceClass);
  Put(c, L + 40, y, run.weightRule);
  y += Put(c, L + 70, y, run.jockey);
  // Line 3: racecourse, going, course, distance, weight carried.
  Put(c, c.x0, y, run.racecourse);
  Put(c, L + 27, y, run.going);
  Put(c, L + 50, y, run.course);  // clear of a two-character going (稍重, 不良)
  Put(c, L + 73, y, run.distance);
  y += Put(c, L + 97, y, run.weightCarried);
  // Line 4: runners, popularity, corner positions, finishing position.
  Put(c, c.x0, y, run.runners);
  Put(c, L + 25, y, run.popularity);
  c.SetPoints(9);
  for (int corner = 0; corner < 4; ++corner) Put(c, L + 50 + 12 * corner, y, run.corners[static_cast<std::size_t>(corner)]);
  c.SetBold(true);
  y += Put(c, L + 100, y, run.finish);
  // Line 5: front 3F, last 3F, ability, time difference.
  c.SetPoints(8);
  Put(c, c.x0, y, run.front3F);
  Put(c, L + 35, y, run.last3F);
  Put(c, L + 60, y, run.ability);
  y += Put(c, L + 95, y, run.timeDifference);
  // Line 6: the winner, or the second when this runner won.
  Put(c, c.x0, y, run.otherHorse);
  c.BottomLine();
}

}  // namespace furlong
