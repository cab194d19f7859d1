// The yes/no signals of the signal study table and its result column.
#include "analysis/RunnerSignals.h"

#include <gtest/gtest.h>

#include <string>

#include "RaceDayBuilder.h"
#include "store/Encoding.h"

namespace furlong {
namespace {

// This race's runner record, its five past runs (blank unless set) and its
// analysis record.
struct Runner {
  SeRecord today;
  std::array<SeRecord, kPastRuns> past;
  RunnerAnalysis analysis;
  Runner() {
    today.Blank();
    for (SeRecord& run : past) run.Blank();
    analysis.DaysSinceLastRun = "    ";
  }
  SeRecord& Last() { return past[0]; }
  RunnerSignals Signals() const { return ComputeSignals(today.view(), past, analysis); }
  bool Has(Signal s) const { return Signals()[static_cast<std::size_t>(s)]; }
};

TEST(RunnerSignals, ARunnerWithoutPastRunsShowsNoSignal) {
  Runner r;
  test::PutAt(r.today, 297, "01234");
  test::PutAt(r.today, 289, "550");
  for (bool on : r.Signals()) EXPECT_FALSE(on);
}

TEST(RunnerSignals, JockeyChangeNeedsTheLastJockeyCode) {
  Runner r;
  test::PutAt(r.today, 297, "01234");
  test::PutAt(r.Last(), 297, "01234");
  EXPECT_FALSE(r.Has(kJockeyChange));
  test::PutAt(r.Last(), 297, "05678");
  EXPECT_TRUE(r.Has(kJockeyChange));
  test::PutAt(r.Last(), 297, "00000");
  EXPECT_FALSE(r.Has(kJockeyChange));
  test::PutAt(r.Last(), 297, "     ");
  EXPECT_FALSE(r.Has(kJockeyChange));
}

TEST(RunnerSignals, MoreWeightWhenBothWeightsAreKnownAndTodaysIsHigher) {
  Runner r;
  test::PutAt(r.Last(), 289, "550");
  test::PutAt(r.today, 289, "555");
  EXPECT_TRUE(r.Has(kMoreWeight));
  test::PutAt(r.today, 289, "550");
  EXPECT_FALSE(r.Has(kMoreWeight));
  test::PutAt(r.today, 289, "560");
  test::PutAt(r.Last(), 289, "000");
  EXPECT_FALSE(r.Has(kMoreWeight));
}

TEST(RunnerSignals, BlinkersTodayMarkFirstOrSecondTimeByThePastRuns) {
  Runner r;
  test::PutAt(r.today, 295, "1");
  EXPECT_TRUE(r.Has(kFirstBlinkers));
  EXPECT_FALSE(r.Has(kSecondBlinkers));
  test::PutAt(r.past[3], 295, "1");
  EXPECT_FALSE(r.Has(kFirstBlinkers));
  EXPECT_TRUE(r.Has(kSecondBlinkers));
  test::PutAt(r.past[1], 295, "1");
  EXPECT_FALSE(r.Has(kFirstBlinkers));
  EXPECT_FALSE(r.Has(kSecondBlinkers));
  test::PutAt(r.today, 295, "0");
  test::PutAt(r.past[1], 295, "0");
  EXPECT_FALSE(r.Has(kSecondBlinkers));
}

TEST(RunnerSignals, BackToBackUpToEightDaysAndRestFromSixty) {
  Runner r;
  const std::pair<const char*, std::pair<bool, bool>> cases[] = {
      {"   8", {true, false}}, {"   9", {false, false}}, {"  59", {false, false}}, {"  60", {false, true}},
      {"    ", {false, false}}};
  for (const auto& [days, expected] : cases) {
    r.analysis.DaysSinceLastRun = days;
    EXPECT_EQ(r.Has(kBackToBack), expected.first) << days;
    EXPECT_EQ(r.Has(kAfterRest), expected.second) << days;
  }
}

TEST(RunnerSignals, BeatenFavouriteAndNarrowlyBeatenReadTheLastRun) {
  Runner r;
  test::PutAt(r.Last(), 335, "04");
  test::PutAt(r.Last(), 364, "01");
  EXPECT_TRUE(r.Has(kBeatenFavourite));
  test::PutAt(r.Last(), 335, "03");
  EXPECT_FALSE(r.Has(kBeatenFavourite));

  test::PutAt(r.Last(), 532, "+003");
  EXPECT_TRUE(r.Has(kNarrowlyBeaten));
  test::PutAt(r.Last(), 532, "+004");
  EXPECT_FALSE(r.Has(kNarrowlyBeaten));
  // A winner's difference starts with "-".
  test::PutAt(r.Last(), 335, "01");
  test::PutAt(r.Last(), 532, "-002");
  EXPECT_FALSE(r.Has(kNarrowlyBeaten));
}

TEST(RunnerSignals, SwitchedToTheFrontComparesCornerThreeDevelopments) {
  Runner r;
  r.analysis.PastDevelopment[0][2] = 1.99;
  r.analysis.PastDevelopment[1][2] = 7.0;
  EXPECT_TRUE(r.Has(kSwitchedToFront));
  r.analysis.PastDevelopment[0][2] = 2.0;
  EXPECT_FALSE(r.Has(kSwitchedToFront));
  r.analysis.PastDevelopment[0][2] = 0;
  EXPECT_FALSE(r.Has(kSwitchedToFront));

  r.analysis.PastDevelopment[1][2] = 1.5;
  r.analysis.PastDevelopment[2][2] = 8.0;
  test::PutAt(r.Last(), 335, "04");
  EXPECT_TRUE(r.Has(kSwitchedEarlier));
  test::PutAt(r.Last(), 335, "03");
  EXPECT_FALSE(r.Has(kSwitchedEarlier));
}

TEST(RunnerSignals, FrontAndFastNeedsAFrontPositionAndAFastFinish) {
  Runner r;
  test::PutAt(r.Last(), 352, "05040201");
  test::PutAt(r.Last(), 391, "358");
  EXPECT_TRUE(r.Has(kFrontAndFast));
  test::PutAt(r.Last(), 391, "359");
  EXPECT_FALSE(r.Has(kFrontAndFast));
  test::PutAt(r.Last(), 391, "000");
  EXPECT_FALSE(r.Has(kFrontAndFast));
  // A missing last-3-furlong time is not a fast one.
  test::PutAt(r.Last(), 391, "   ");
  EXPECT_FALSE(r.Has(kFrontAndFast));
  test::PutAt(r.Last(), 391, "340");
  test::PutAt(r.Last(), 352, "01010303");
  EXPECT_FALSE(r.Has(kFrontAndFast));
}

TEST(RunnerSignals, CameAgainAfterFallingBackThroughTheCorners) {
  Runner r;
  test::PutAt(r.Last(), 352, "05070900");
  test::PutAt(r.Last(), 335, "05");
  test::PutAt(r.Last(), 532, "+008");
  EXPECT_TRUE(r.Has(kCameAgain));
  test::PutAt(r.Last(), 335, "06");
  EXPECT_FALSE(r.Has(kCameAgain));
  test::PutAt(r.Last(), 335, "05");
  test::PutAt(r.Last(), 352, "00050709");  // a corner without a position is skipped
  EXPECT_TRUE(r.Has(kCameAgain));
  test::PutAt(r.Last(), 532, "+015");
  EXPECT_FALSE(r.Has(kCameAgain));
  test::PutAt(r.Last(), 532, "+014");
  test::PutAt(r.Last(), 352, "00000709");  // only two positions
  EXPECT_FALSE(r.Has(kCameAgain));
}

TEST(RunnerSignals, ResultTextKeepsItsWidthBeforeTheRace) {
  RunnerAnalysis a;
  a.ResultFinishText = "  ";
  a.ResultPopularityText = "  ";
  a.ResultOddsText = "     ";
  a.ResultTimeText = "      ";
  EXPECT_EQ(ResultSummaryText(a), std::string(24, ' '));
  a.ResultFinishText = " 1";
  a.ResultPopularityText = " 3";
  a.ResultOddsText = "  5.4";
  a.ResultTimeText = "1.34.5";
  EXPECT_EQ(SjisToUtf8(ResultSummaryText(a)), " 1着  3人   5.4倍 1.34.5");
}

}  // namespace
}  // namespace furlong
