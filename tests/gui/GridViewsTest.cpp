// The four painted race grids: race card, detailed race card, index table
// and signal table. A small meeting is written to a scratch store and
// loaded; its day tables are then patched in memory (frames, finishing
// positions, past runs) and the race analysed again, as a click in the race
// list would. Grids are rendered whole with aliased text so that sampled
// pixels hold exact colours.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QImage>
#include <QPainter>

#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MeetingStoreBuilder.h"
#include "RaceDayBuilder.h"
#include "StoreTestSupport.h"
#include "analysis/MeetingFlow.h"
#include "store/Encoding.h"
#include "store/Store.h"
#include "views/DetailedRaceCardView.h"
#include "views/GridPainting.h"
#include "views/IndexTableView.h"
#include "views/PaintedGrid.h"
#include "views/RaceCardView.h"
#include "views/SignalTableView.h"

namespace furlong {
namespace {

const std::string& Meeting() {
  static const std::string name = Utf8ToSjis("2004年01月05日中山");
  return name;
}

// A loaded meeting of the given races (race number i + 1 in slot i).
struct LoadedMeeting {
  test::ScratchDir dir;
  Store store{dir.path()};
  MeetingFlow flow{store};

  explicit LoadedMeeting(const std::vector<test::MeetingRace>& races) {
    test::MeetingStoreBuilder builder(store, Meeting());
    for (const auto& race : races) builder.Add(race);
    builder.Write();
    flow.MakeDataListBtnClick();
    EXPECT_TRUE(flow.DateComboChange(Meeting()));
    flow.DatListClick(0);
  }

  DayTables& Day() { return flow.Day(); }
  RunnerAnalysis& Runner(int slot, int runner) { return flow.Analyzer().Runners()[slot][runner]; }
};

test::MeetingRace Race(int number, int runners, std::vector<int> finish = {}) {
  test::MeetingRace race;
  race.raceNumber = number;
  race.runners = runners;
  race.finish = std::move(finish);
  return race;
}

// The whole grid with aliased text: every painted pixel has one of the
// grid's colours.
QImage Render(const PaintedGrid& grid) {
  QImage image(grid.contentSize(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
  grid.renderAll(painter);
  return image;
}

std::string Describe(QColor c) {
  return "(" + std::to_string(c.red()) + "," + std::to_string(c.green()) + "," + std::to_string(c.blue()) + ")";
}

// The pixel two pixels inside the bottom-right corner of a cell: filled
// background, clear of every text these tests put there.
std::string CornerColour(const QImage& image, const PaintedGrid& grid, int col, int row) {
  const QRect r = grid.contentCellRect(col, row);
  return Describe(image.pixelColor(r.right() - 2, r.bottom() - 2));
}

std::string Colour(Rgb c) { return Describe(QColor(c.r, c.g, c.b)); }

// Pixels of exactly `colour` inside a cell (grid lines excluded).
int CountPixels(const QImage& image, const QRect& cell, Rgb colour) {
  int n = 0;
  for (int y = cell.top(); y <= cell.bottom(); ++y)
    for (int x = cell.left(); x <= cell.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.red() == colour.r && c.green() == colour.g && c.blue() == colour.b) ++n;
    }
  return n;
}

// The four views on one meeting, with their grids.
struct Views {
  RaceCardView raceCard;
  DetailedRaceCardView detailed;
  IndexTableView index;
  SignalTableView signal;
  explicit Views(MeetingFlow& flow) : raceCard(flow), detailed(flow), index(flow), signal(flow) {}
  void Refresh() {
    raceCard.refresh();
    detailed.refresh();
    index.refresh();
    signal.refresh();
  }
  std::vector<PaintedGrid*> Grids() { return {raceCard.StringGrid2(), detailed.Grid(), index.Grid(), signal.Grid()}; }
};

TEST(GridViews, ChoosingARaceSizesEveryGridToItsRunnersPlusTheHeaderRow) {
  LoadedMeeting m({Race(1, 8), Race(2, 16), Race(3, 20)});
  Views views(m.flow);
  for (auto [item, rows] : {std::pair{1, 17}, std::pair{0, 9}, std::pair{2, 19}, std::pair{1, 17}}) {
    m.flow.DatListClick(item);
    for (PaintedGrid* grid : views.Grids()) grid->selectRow(3);
    views.Refresh();
    for (PaintedGrid* grid : views.Grids()) {
      // More than 18 registered runners is shown as 18.
      EXPECT_EQ(grid->rowCount(), rows) << grid->objectName().toStdString() << " item " << item;
      EXPECT_EQ(grid->selectedRow(), -1) << "the analysis leaves no row selected";
    }
  }
}

TEST(GridViews, NothingIsPaintedWhileTheRaceListIsEmpty) {
  test::ScratchDir dir;
  Store store(dir.path());
  MeetingFlow flow(store);
  Views views(flow);
  views.Refresh();
  for (PaintedGrid* grid : views.Grids()) {
    EXPECT_EQ(grid->rowCount(), 1);
    const QImage image = Render(*grid);
    const QRect header = grid->contentCellRect(0, 0);
    // No black line under the header cells: only the grid's own line.
    EXPECT_NE(Describe(image.pixelColor(header.left() + 3, header.bottom() + 1)), Colour(kBlack))
        << grid->objectName().toStdString();
  }
}

TEST(GridViews, FrameCellsHaveTheFrameColoursInEveryGrid) {
  LoadedMeeting m({Race(1, 10)});
  // Frames of the test store: horses 1-8 in frames 1-8, horses 9 and 10 in 8;
  // horse 10 gets an invalid frame 0.
  test::PutAt(m.Day().RunnerRecords[0][9], 28, "0");
  Views views(m.flow);
  views.Refresh();
  const Rgb expected[] = {kWhite, kGray, kRed, kBlue, kYellow, kLime, kOrange, kFuchsia};
  for (PaintedGrid* grid : views.Grids()) {
    const QImage image = Render(*grid);
    for (int frame = 1; frame <= 8; ++frame)
      EXPECT_EQ(CornerColour(image, *grid, 0, frame), Colour(expected[frame - 1]))
          << grid->objectName().toStdString() << " frame " << frame;
    EXPECT_EQ(CornerColour(image, *grid, 0, 9), Colour(kFuchsia));
    // Frame 0 keeps the grid's own colour: the fixed-cell face where the
    // column is fixed, white where it is not.
    const Rgb own = grid->fixedColumns() > 0 ? kButtonFace : kWhite;
    EXPECT_EQ(CornerColour(image, *grid, 0, 10), Colour(own)) << grid->objectName().toStdString();
    // The horse-number column is on the information background.
    EXPECT_EQ(CornerColour(image, *grid, 1, 1), Colour(kInfoBackground)) << grid->objectName().toStdString();
  }
}

TEST(GridViews, HorseNameBackgroundShowsTheFinishingPosition) {
  LoadedMeeting m({Race(1, 5, {1, 2, 3, 4, 0})});
  Views views(m.flow);
  views.Refresh();
  const std::pair<PaintedGrid*, int> nameColumns[] = {
      {views.raceCard.StringGrid2(), 5}, {views.detailed.Grid(), 2}, {views.index.Grid(), 2}, {views.signal.Grid(), 2}};
  for (auto [grid, col] : nameColumns) {
    const QImage image = Render(*grid);
    const std::string name = grid->objectName().toStdString();
    EXPECT_EQ(CornerColour(image, *grid, col, 1), Colour(kPink)) << name;
    EXPECT_EQ(CornerColour(image, *grid, col, 2), Colour(kLightGreen)) << name;
    EXPECT_EQ(CornerColour(image, *grid, col, 3), Colour(kLightYellow)) << name;
    EXPECT_EQ(CornerColour(image, *grid, col, 4), Colour(kWhite)) << name;
    EXPECT_EQ(CornerColour(image, *grid, col, 5), Colour(kWhite)) << name;
  }
}

TEST(GridViews, RunnerRowsAreSeparatedByBlackLines) {
  LoadedMeeting m({Race(1, 3)});
  Views views(m.flow);
  views.Refresh();
  for (PaintedGrid* grid : views.Grids()) {
    const QImage image = Render(*grid);
    for (int row = 0; row <= 3; ++row) {
      const QRect r = grid->contentCellRect(2, row);
      EXPECT_EQ(Describe(image.pixelColor(r.left() + 5, r.bottom() + 1)), Colour(kBlack))
          << grid->objectName().toStdString() << " row " << row;
    }
  }
}

TEST(RaceCard, OnlyTheDistanceBandOfTheRaceIsLightBlue) {
  LoadedMeeting m({Race(1, 2)});
  RaceCardView view(m.flow);
  for (auto [distance, band] : {std::pair{1600, 9}, std::pair{1601, 10}, std::pair{2200, 10}, std::pair{2201, 11}}) {
    test::PutNumAt(m.Day().RaceRecords[0], 698, 4, distance);
    view.refresh();
    const QImage image = Render(*view.StringGrid2());
    for (int col = 9; col <= 11; ++col)
      EXPECT_EQ(CornerColour(image, *view.StringGrid2(), col, 1), Colour(col == band ? kLightBlue : kWhite))
          << "distance " << distance << " column " << col;
  }
}

// Horse 1 of a 1600 m race with five past runs: k = 0 turf 1600 m, k = 1
// dirt 1600 m, k = 2 straight turf 1200 m, k = 3 turf 1150 m, k = 4 at a
// local racecourse.
struct FilterMeeting : LoadedMeeting {
  FilterMeeting() : LoadedMeeting({Race(1, 2)}) {
    const char* tracks[] = {"17", "24", "10", "11", "24"};
    const char* distances[] = {"1600", "1600", "1200", "1150", "1600"};
    const char* dates[] = {"20031221", "20031130", "20031102", "20031012", "20030914"};
    for (int k = 0; k < kPastRuns; ++k) {
      test::PastRun run;
      run.track = tracks[k];
      run.distance = distances[k];
      run.date = dates[k];
      if (k == 4) run.course = "44";
      test::SetPastRun(Day(), 0, 0, k, run);
      test::PutAt(Day().PastRaceRecords[0][0][k], 882, "16");
    }
    flow.DatListClick(0);
  }
};

// Gray pixels in the past-run cells of horse 1, by past run k.
std::vector<int> GreyedPixels(RaceCardView& view) {
  view.refresh();
  const QImage image = Render(*view.StringGrid2());
  std::vector<int> counts;
  for (int k = 0; k < kPastRuns; ++k)
    counts.push_back(CountPixels(image, view.StringGrid2()->contentCellRect(18 - k, 1), kGreyed));
  return counts;
}

TEST(RaceCard, FilterButtonsGreyThePastRunsOutsideTheChosenSurfaceOrDistance) {
  FilterMeeting m;
  RaceCardView view(m.flow);
  EXPECT_TRUE(view.SelBaBtn(1)->isChecked());
  EXPECT_TRUE(view.SelKyoriBtn(1)->isChecked());

  // A greyed run draws its texts gray: well over a hundred pixels. Smoothed
  // black text can hit that gray exactly at a few edges.
  auto greyed = [&](int k) { return GreyedPixels(view)[static_cast<std::size_t>(k)] > 50; };
  // 全表示, 無指定: only the local run is gray.
  EXPECT_FALSE(greyed(0));
  EXPECT_FALSE(greyed(1));
  EXPECT_FALSE(greyed(2));
  EXPECT_FALSE(greyed(3));
  EXPECT_TRUE(greyed(4));

  view.SelBaBtn(2)->click();  // 芝: dirt and the straight turf course are gray
  EXPECT_EQ(view.Surface(), RaceCardView::SurfaceFilter::kTurf);
  EXPECT_FALSE(greyed(0));
  EXPECT_TRUE(greyed(1));
  EXPECT_TRUE(greyed(2));
  EXPECT_FALSE(greyed(3));

  view.SelBaBtn(3)->click();  // ﾀﾞｰﾄ: only dirt tracks 23 and 24 stay
  EXPECT_TRUE(view.SelBaBtn(3)->isChecked());
  EXPECT_FALSE(view.SelBaBtn(2)->isChecked());
  EXPECT_TRUE(greyed(0));
  EXPECT_FALSE(greyed(1));
  EXPECT_TRUE(greyed(2));
  EXPECT_TRUE(greyed(3));

  view.SelBaBtn(1)->click();
  view.SelKyoriBtn(3)->click();  // +/-400m of 1600 m: 1200 m stays, 1150 m is gray
  EXPECT_EQ(view.Distance(), RaceCardView::DistanceFilter::kWithin400);
  EXPECT_FALSE(greyed(0));
  EXPECT_FALSE(greyed(1));
  EXPECT_FALSE(greyed(2));
  EXPECT_TRUE(greyed(3));

  view.SelKyoriBtn(2)->click();  // 同距離
  EXPECT_FALSE(greyed(0));
  EXPECT_FALSE(greyed(1));
  EXPECT_TRUE(greyed(2));
  EXPECT_TRUE(greyed(3));
}

TEST(RaceCard, SurfaceFilterSilversTheOtherSurfacesWeightValues) {
  FilterMeeting m;
  RaceCardView view(m.flow);
  ASSERT_FALSE(IsBlank(m.Runner(0, 0).TurfWeightValue));
  ASSERT_FALSE(IsBlank(m.Runner(0, 0).DirtWeightValue));
  auto silver = [&] {
    view.refresh();
    return CountPixels(Render(*view.StringGrid2()), view.StringGrid2()->contentCellRect(7, 1), kSilver);
  };
  EXPECT_EQ(silver(), 0);
  view.SelBaBtn(2)->click();
  EXPECT_GT(silver(), 0);  // the dirt value
  view.SelBaBtn(3)->click();
  EXPECT_GT(silver(), 0);  // the turf value
}

TEST(RaceCard, EmptyPastRunCellsDrawNothingNotEvenTheBottomLine) {
  LoadedMeeting m({Race(1, 2)});
  test::PastRun run;
  test::SetPastRun(m.Day(), 0, 0, 0, run);  // horse 1 has only a last run
  m.flow.DatListClick(0);
  RaceCardView view(m.flow);
  const QImage image = Render(*view.StringGrid2());
  const PaintedGrid& grid = *view.StringGrid2();
  for (int col = 14; col <= 17; ++col) {
    const QRect r = grid.contentCellRect(col, 1);
    EXPECT_EQ(CountPixels(image, r, kWhite), r.width() * r.height()) << "column " << col;
    EXPECT_EQ(Describe(image.pixelColor(r.left() + 5, r.bottom() + 1)), Colour(kGridLine)) << "column " << col;
  }
  const QRect last = grid.contentCellRect(18, 1);
  EXPECT_GT(CountPixels(image, last, kBlack), 0);
  EXPECT_EQ(Describe(image.pixelColor(last.left() + 5, last.bottom() + 1)), Colour(kBlack));
}

TEST(RaceCard, FilterClickRunsTheAnalysisAgainOrLeavesItToTheWindow) {
  LoadedMeeting m({Race(1, 4)});
  RaceCardView view(m.flow);
  // Without a receiver the page analyses the selected race itself: the
  // analysis rewrites every mark.
  m.Runner(0, 0).Mark = "X";
  view.SelBaBtn(2)->click();
  EXPECT_NE(m.Runner(0, 0).Mark, "X");

  // With a receiver (the window's DatListClick) the page only signals.
  int clicks = 0;
  QObject::connect(&view, &RaceCardView::filterClicked, [&] { ++clicks; });
  m.Runner(0, 0).Mark = "X";
  view.SelKyoriBtn(2)->click();
  view.SelBaBtn(1)->click();
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(m.Runner(0, 0).Mark, "X");
}

TEST(DetailedRaceCard, DaysSinceTheLastRunAreRedUpToEightAndBlueFromSixty) {
  LoadedMeeting m({Race(1, 3)});
  // The race is on 5 January 2004; last runs 8, 9 and 60 days before.
  const char* lastRuns[] = {"20031228", "20031227", "20031106"};
  for (int h = 0; h < 3; ++h) {
    test::PastRun run;
    run.date = lastRuns[h];
    test::SetPastRun(m.Day(), 0, h, 0, run);
  }
  m.flow.DatListClick(0);
  ASSERT_EQ(TrimSpaces(m.Runner(0, 0).DaysSinceLastRun), "8");
  DetailedRaceCardView view(m.flow);
  const QImage image = Render(*view.Grid());
  auto count = [&](int row, Rgb colour) { return CountPixels(image, view.Grid()->contentCellRect(4, row), colour); };
  EXPECT_GT(count(1, kRed), 0);
  EXPECT_EQ(count(1, kBlue), 0);
  EXPECT_EQ(count(2, kRed) + count(2, kBlue), 0);
  EXPECT_GT(count(2, kBlack), 0);
  EXPECT_GT(count(3, kBlue), 0);
  EXPECT_EQ(count(3, kRed), 0);
}

// Pixels of a cell row (grid lines excluded) that visibly differ from
// `colour`: the light fringe of a glyph's antialiasing does not count.
int OtherPixelsInRow(const QImage& image, const QRect& cell, int y, Rgb colour) {
  int n = 0;
  for (int x = cell.left(); x <= cell.right(); ++x) {
    const QColor c = image.pixelColor(x, y);
    if (std::abs(c.red() - colour.r) > 96 || std::abs(c.green() - colour.g) > 96 || std::abs(c.blue() - colour.b) > 96)
      ++n;
  }
  return n;
}

TEST(DetailedRaceCard, TheFiveLinesOfACellKeepClearOfTheSilverLinesAndOfEachOther) {
  LoadedMeeting m({Race(1, 2)});
  // Five runs, so that every past-run column holds five lines of text.
  const char* dates[] = {"20031221", "20031130", "20031102", "20031012", "20030914"};
  for (int k = 0; k < kPastRuns; ++k) {
    test::PastRun run;
    run.date = dates[k];
    run.corners = "05070909";
    test::SetPastRun(m.Day(), 0, 0, k, run);
    test::PutAt(m.Day().PastRaceRecords[0][0][k], 605, Utf8ToSjis("東京杯"));
  }
  m.flow.DatListClick(0);
  DetailedRaceCardView view(m.flow);
  const QImage image = view.Grid()->renderAll();  // antialiased, as on the screen
  for (int col = 7; col <= 36; ++col) {
    const QRect cell = view.Grid()->contentCellRect(col, 1);
    // Past-run cells: the silver lines between the runs are whole; record
    // cells: a row of background parts each line from the next.
    const Rgb between = col <= 33 ? kSilver : kDetailPaleCyan;
    for (int line = 1; line <= 4; ++line)
      EXPECT_EQ(OtherPixelsInRow(image, cell, cell.top() + 11 * line, between), 0)
          << "column " << col << " under line " << line;
  }
}

TEST(IndexTable, SurfaceBoxIsTurfGreenDirtMaroonAndWhiteWithoutARun) {
  LoadedMeeting m({Race(1, 2)});
  const char* tracks[] = {"17", "24", "53"};
  const char* dates[] = {"20031221", "20031130", "20031102"};
  for (int k = 0; k < 3; ++k) {
    test::PastRun run;
    run.track = tracks[k];
    run.date = dates[k];
    test::SetPastRun(m.Day(), 0, 0, k, run);
  }
  m.flow.DatListClick(0);
  IndexTableView view(m.flow);
  const QImage image = Render(*view.Grid());
  auto box = [&](int k) {
    const QRect r = view.Grid()->contentCellRect(10 - k, 1);
    return Describe(image.pixelColor(r.left() + 28, r.top() + 3));
  };
  EXPECT_EQ(box(0), Colour(kTurfGreen));
  EXPECT_EQ(box(1), Colour(kDirtMaroon));
  EXPECT_EQ(box(2), Colour(kDirtMaroon));  // jump
  EXPECT_EQ(box(3), Colour(kWhite));
  EXPECT_EQ(box(4), Colour(kWhite));
  // The rank columns are cream.
  EXPECT_EQ(CornerColour(image, *view.Grid(), 4, 1), Colour(kCream));
}

TEST(SignalTable, SignalGroupsHaveTheirBackgrounds) {
  LoadedMeeting m({Race(1, 2)});
  SignalTableView view(m.flow);
  const QImage image = Render(*view.Grid());
  EXPECT_EQ(CornerColour(image, *view.Grid(), 4, 1), Colour(kLightOrange));
  for (int col = 5; col <= 10; ++col) EXPECT_EQ(CornerColour(image, *view.Grid(), col, 1), Colour(kSignalYellow));
  for (int col = 11; col <= 16; ++col) EXPECT_EQ(CornerColour(image, *view.Grid(), col, 1), Colour(kSignalCyan));
  EXPECT_EQ(CornerColour(image, *view.Grid(), 17, 1), Colour(kEliminationBack));
  EXPECT_EQ(CornerColour(image, *view.Grid(), 18, 1), Colour(kBestValueBack));
  EXPECT_EQ(CornerColour(image, *view.Grid(), 20, 1), Colour(kResultBack));
}

TEST(SignalTable, TheHeaderShowsWholeCirclesOverTheCaptions) {
  LoadedMeeting m({Race(1, 2)});
  SignalTableView view(m.flow);
  const QImage image = view.Grid()->renderAll();
  for (int col = 5; col <= 16; ++col) {
    const QRect cell = view.Grid()->contentCellRect(col, 0);
    // Nothing of "S①" / "S②" reaches the top edge or the black line under the
    // caption, and a clear row parts the two.
    EXPECT_EQ(OtherPixelsInRow(image, cell, cell.top(), kButtonFace), 0) << "column " << col;
    EXPECT_EQ(OtherPixelsInRow(image, cell, cell.bottom(), kButtonFace), 0) << "column " << col;
    bool parted = false;
    for (int y = cell.top() + 8; y <= cell.top() + 20; ++y) parted = parted || OtherPixelsInRow(image, cell, y, kButtonFace) == 0;
    EXPECT_TRUE(parted) << "column " << col;
  }
}

}  // namespace
}  // namespace furlong
