// The index and development graphs: the bars per runner, the filters and
// the show/hide rule of the chart panels.
#include <gtest/gtest.h>

#include <QImage>
#include <QPointer>
#include <QToolButton>

#include "GuiTestSupport.h"
#include "MeetingStoreBuilder.h"
#include "analysis/GraphData.h"
#include "views/DateLineChart.h"
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

TEST(ChartAxes, RoundScalesAndDateTicksByRange) {
  AxisScale s = NiceScale(71.2, 96.9);
  EXPECT_EQ(s.from, 70);
  EXPECT_EQ(s.to, 100);
  EXPECT_EQ(s.step, 5);
  EXPECT_EQ(s.Ticks().size(), 7u);
  // Small development values still get whole-number ticks; one value gets room.
  s = NiceScale(2.3, 4.4, 5, 1.0);
  EXPECT_EQ(s.step, 1);
  EXPECT_EQ(s.from, 2);
  EXPECT_EQ(s.to, 5);
  s = NiceScale(50, 50);
  EXPECT_LT(s.from, 50);
  EXPECT_GT(s.to, 50);

  auto labels = [](QDate a, QDate b) {
    QStringList l;
    for (const DateTick& t : DateTicks(a, b)) l << t.label;
    return l;
  };
  EXPECT_EQ(labels(QDate(2024, 11, 16), QDate(2024, 11, 17)), QStringList({"11/16", "11/17"}));
  EXPECT_EQ(labels(QDate(2024, 11, 2), QDate(2024, 11, 30)).size(), 5);  // every week
  EXPECT_EQ(labels(QDate(2024, 1, 6), QDate(2024, 6, 30)).first(), "2024/02");
  const QStringList decade = labels(QDate(2015, 1, 4), QDate(2024, 12, 28));
  EXPECT_LE(decade.size(), 8);
  EXPECT_EQ(decade.last(), "2024");
  EXPECT_TRUE(labels(QDate(2024, 2, 1), QDate(2024, 1, 1)).isEmpty());
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

  // The painted chart: runner 1 on top, every bar inside the plot and on its
  // own row, filled with the bar colour, between its values on the axis.
  h.form->PageControl1()->setCurrentWidget(h.form->GraphTabs());
  QApplication::processEvents();
  RangeChart& chart = *index.Chart(0);
  EXPECT_EQ(chart.Title(), "能力指数グラフ");
  EXPECT_EQ(chart.ValueAxisTitle(), "能力指数");
  const QImage picture = chart.grab().toImage();
  const QRect plot = chart.PlotRect();
  int lastTop = -1;
  for (const RangeBar& bar : chart.Bars()) {
    EXPECT_LE(chart.Scale().from, bar.low);
    EXPECT_GE(chart.Scale().to, bar.high);
    const QRect r = chart.BarRect(bar);
    EXPECT_TRUE(plot.contains(r)) << bar.horse;
    EXPECT_GT(r.top(), lastTop) << bar.horse;
    lastTop = r.bottom();
    if (r.width() > 2) {
      EXPECT_TRUE(test::SameRgb(picture.pixelColor(r.center()), kBlue)) << bar.horse;
    }
  }
  EXPECT_EQ(picture.pixelColor(2, 2), QColor(199, 174, 173));

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
