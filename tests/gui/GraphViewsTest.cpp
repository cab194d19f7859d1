// The index and development graphs: the bars per runner, the filters and
// the show/hide rule of the chart panels.
#include <gtest/gtest.h>

#include <QAreaSeries>
#include <QChart>
#include <QLineSeries>
#include <QPointer>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "MeetingStoreBuilder.h"
#include "analysis/GraphData.h"
#include "views/GraphViews.h"
#include "views/RangeChart.h"
#include "views/ToggleButtonGroup.h"

namespace furlong {
namespace {

using test::FormHarness;
using test::ScratchDir;
using test::Sjis;

struct Tables {
  std::unique_ptr<DayTables> day = std::make_unique<DayTables>();
  std::unique_ptr<RunnerAnalysisTable> runners = std::make_unique<RunnerAnalysisTable>();
  explicit Tables(int n) {
    day->BlankAll();
    std::string ra = test::BlankRecord("RA", kRaLength);
    test::PutNum(ra, 882, 2, n);
    day->RaceRecords[0].Assign(ra);
  }
  void PastRun(int r, int k, const char* ability, const char* track) {
    (*runners)[0][r].PastAbility[k] = ability;
    std::string ra = test::BlankRecord("RA", kRaLength);
    test::Put(ra, 706, track);
    day->PastRaceRecords[0][r][k].Assign(ra);
  }
};

TEST(GraphData, IndexBarsSpanTheRunnersValuesWithTheSurfaceFilter) {
  Tables t(4);
  t.PastRun(0, 0, " 85.3", "17");
  t.PastRun(0, 1, " 92.0", "24");
  t.PastRun(0, 2, " 78.6", "54");
  t.PastRun(1, 0, " 70.0", "23");  // runner 2: dirt only
  t.PastRun(2, 4, " 66.6", "00");  // runner 3: no track code
  // runner 4: no values at all
  auto all = IndexGraphBars(*t.day, *t.runners, 0, IndexGraphKind::kAbility, SurfaceFilter::kAll);
  ASSERT_EQ(all.size(), 3u);
  EXPECT_EQ(all[0].horse, 1);
  EXPECT_DOUBLE_EQ(all[0].low, 78.6);
  EXPECT_DOUBLE_EQ(all[0].high, 92.0);
  EXPECT_EQ(all[2].horse, 3);
  EXPECT_DOUBLE_EQ(all[2].low, all[2].high) << "one value: a bar of zero length";

  auto turf = IndexGraphBars(*t.day, *t.runners, 0, IndexGraphKind::kAbility, SurfaceFilter::kTurf);
  ASSERT_EQ(turf.size(), 1u);
  EXPECT_DOUBLE_EQ(turf[0].low, 85.3);
  EXPECT_DOUBLE_EQ(turf[0].high, 85.3);

  auto dirt = IndexGraphBars(*t.day, *t.runners, 0, IndexGraphKind::kAbility, SurfaceFilter::kDirt);
  ASSERT_EQ(dirt.size(), 2u) << "jump races count as dirt, track 00 as neither";
  EXPECT_DOUBLE_EQ(dirt[0].low, 78.6);
  EXPECT_DOUBLE_EQ(dirt[0].high, 92.0);
  EXPECT_EQ(dirt[1].horse, 2);

  EXPECT_TRUE(IndexGraphBars(*t.day, *t.runners, 0, IndexGraphKind::kDIndex, SurfaceFilter::kAll).empty());
}

TEST(GraphData, IndexBarsOrderNegativeValuesByValue) {
  Tables t(1);
  (*t.runners)[0][0].PastDIndex = {" -12", "  -3", "  40", "    ", "    "};
  auto bars = IndexGraphBars(*t.day, *t.runners, 0, IndexGraphKind::kDIndex, SurfaceFilter::kAll);
  ASSERT_EQ(bars.size(), 1u);
  EXPECT_DOUBLE_EQ(bars[0].low, -12);
  EXPECT_DOUBLE_EQ(bars[0].high, 40);
}

TEST(GraphData, DevelopmentBarsIgnoreNonPositiveValuesAndTheSideFilters) {
  Tables t(3);
  (*t.runners)[0][0].PastDevelopment[0] = {2.5, 3.1, 0, 4.0};
  (*t.runners)[0][0].PastDevelopment[3] = {0.04, 9.96, -1, 0};
  (*t.runners)[0][2].PastDevelopment[1] = {5.55, 0, 0, 0};
  auto last = DevelopmentGraphBars(*t.day, *t.runners, 0, DevelopmentGraphKind::kLastRun, CourseFilter::kAll);
  ASSERT_EQ(last.size(), 1u);
  EXPECT_DOUBLE_EQ(last[0].low, 2.5);
  EXPECT_DOUBLE_EQ(last[0].high, 4.0);
  auto five = DevelopmentGraphBars(*t.day, *t.runners, 0, DevelopmentGraphKind::kLastFiveRuns, CourseFilter::kAll);
  ASSERT_EQ(five.size(), 2u);
  EXPECT_DOUBLE_EQ(five[0].low, 0.0) << "0.04 shown at one decimal";
  EXPECT_DOUBLE_EQ(five[0].high, 10.0);
  EXPECT_EQ(five[1].horse, 3);
  EXPECT_DOUBLE_EQ(five[1].low, 5.6);
  EXPECT_TRUE(DevelopmentGraphBars(*t.day, *t.runners, 0, DevelopmentGraphKind::kLastRun, CourseFilter::kLeft).empty());
  EXPECT_TRUE(DevelopmentGraphBars(*t.day, *t.runners, 0, DevelopmentGraphKind::kLastRun, CourseFilter::kRight).empty());
}

TEST(GraphData, MarkValuesAndRowLabels) {
  EXPECT_EQ(FormatMarkValue(92.0), "92");
  EXPECT_EQ(FormatMarkValue(78.6), "78.6");
  EXPECT_EQ(FormatMarkValue(1234.56), "1,234.6");
  EXPECT_EQ(FormatMarkValue(-3.5), "-3.5");
  EXPECT_EQ(FormatMarkValue(-0.01), "0");
  EXPECT_EQ(SjisToUtf8(RunnerRowLabel(7)), " 7番");
  EXPECT_EQ(SjisToUtf8(RunnerRowLabel(12)), "12番");
}

TEST(GraphViews, ChartsOfADemoRaceShowAndFollowTheirFilters) {
  ScratchDir settings;
  FormHarness h(test::DemoRoot(), settings.path());
  h.Show();
  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2024年11月16日東京")));
  ASSERT_TRUE(h.form->ChooseRace(11));
  IndexGraphView& index = *h.form->IndexGraphs();
  DevelopmentGraphView& development = *h.form->DevelopmentGraphs();
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(index.Chart(i)->isHidden()) << i;
    EXPECT_FALSE(index.Chart(i)->Bars().empty()) << i;
    EXPECT_TRUE(test::SameRgb(index.Chart(i)->BarColour(), kBlue));
  }
  for (int i = 0; i < 2; ++i) EXPECT_FALSE(development.Chart(i)->isHidden()) << i;
  EXPECT_TRUE(test::SameRgb(development.Chart(0)->BarColour(), kNavy));

  // Opening the page builds the chart: one bar series per runner with a value.
  h.form->PageControl1()->setCurrentWidget(h.form->GraphTabs());
  QApplication::processEvents();
  index.Chart(0)->EnsureBuilt();
  int areas = 0;
  for (QAbstractSeries* s : index.Chart(0)->Chart()->series()) areas += s->type() == QAbstractSeries::SeriesTypeArea;
  EXPECT_EQ(areas, static_cast<int>(index.Chart(0)->Bars().size()));
  EXPECT_EQ(index.Chart(0)->Chart()->title(), "能力指数グラフ");
  // A bar's two boundary lines go with it when the chart is drawn anew.
  std::vector<QPointer<QObject>> boundaries;
  for (QAbstractSeries* s : index.Chart(0)->Chart()->series())
    if (auto* area = qobject_cast<QAreaSeries*>(s)) {
      boundaries.emplace_back(area->upperSeries());
      boundaries.emplace_back(area->lowerSeries());
    }
  index.Chart(0)->SetBars(index.Chart(0)->Bars(), index.Chart(0)->BarColour(), 18);
  index.Chart(0)->EnsureBuilt();
  ASSERT_FALSE(boundaries.empty());
  for (const auto& b : boundaries) EXPECT_TRUE(b.isNull());

  index.Filter()->Button(1)->click();  // 芝
  EXPECT_TRUE(test::SameRgb(index.Chart(0)->BarColour(), kGreen));
  index.Filter()->Button(2)->click();  // ﾀﾞｰﾄ
  EXPECT_TRUE(test::SameRgb(index.Chart(0)->BarColour(), kMaroon));

  development.Filter()->Button(1)->click();  // 左
  EXPECT_TRUE(development.Chart(0)->isHidden());
  EXPECT_TRUE(development.Chart(1)->isHidden());
  development.Filter()->Button(0)->click();  // 全表示
  EXPECT_FALSE(development.Chart(0)->isHidden());

  // The next analysis draws with 全表示 again.
  development.Filter()->Button(2)->click();  // 右
  h.form->UpDown1()->Step(-1);
  EXPECT_EQ(index.Filter()->Down(), 0);
  EXPECT_EQ(development.Filter()->Down(), 0);
  EXPECT_FALSE(development.Chart(0)->isHidden());
  EXPECT_TRUE(test::SameRgb(index.Chart(0)->BarColour(), kBlue));
}

TEST(GraphViews, ChartsHideWhenNoRunnerHasAValue) {
  ScratchDir root, settings;
  {
    Store store(root.path());
    test::MeetingStoreBuilder builder(store, Sjis("2004年01月05日中山"));
    builder.Add(test::Race(1, 8));  // runners without any earlier run
    builder.Write();
  }
  FormHarness h(root.path(), settings.path());
  h.Show();
  ASSERT_TRUE(h.form->ChooseMeeting(Sjis("2004年01月05日中山")));
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(h.form->IndexGraphs()->Chart(i)->isHidden()) << i;
  for (int i = 0; i < 2; ++i) EXPECT_TRUE(h.form->DevelopmentGraphs()->Chart(i)->isHidden()) << i;
}

}  // namespace
}  // namespace furlong
