#include "analysis/RunnerSummaries.h"

#include <gtest/gtest.h>

#include "RaceDayBuilder.h"
#include "store/Encoding.h"

namespace furlong {
namespace {

using test::PastRun;
using test::PutAt;
using test::SetPastRun;

constexpr int kSlot = 4;
constexpr int kRunner = 0;

class RunnerSummariesTest : public testing::Test {
 protected:
  void SetUp() override {
    day_ = test::BlankDay();
    test::SetRace(*day_, kSlot, "20040105", "06", 12);
    for (int k = 0; k < 5; ++k) {
      ra_.PastWeightValue[k] = "    ";
      ra_.PastAbility[k] = "     ";
      ra_.PastDIndex[k] = "    ";
      ra_.PastLegPower[k] = "    ";
      ra_.PastStyleValue[k] = "     ";
    }
  }
  // Past race k on the given surface and distance.
  void SetRun(int k, const char* track, const char* distance, const char* date = "20031221") {
    PastRun run;
    run.track = track;
    run.distance = distance;
    run.date = date;
    SetPastRun(*day_, kSlot, kRunner, k, run);
  }
  void Compute() { ComputeRunnerSummaries(*day_, kSlot, kRunner, sums_, ra_); }
  std::string Utf8(const std::string& s) { return SjisToUtf8(s); }

  std::unique_ptr<DayTables> day_;
  RunnerAnalysis ra_;
  RunnerSums sums_;
};

TEST_F(RunnerSummariesTest, AbilityMeanOfNonBlankRunsRoundsTheDisplayedValue) {
  ra_.PastAbility = {" 45.0", "     ", " 60.5", " 60.5", " 38.2"};
  Compute();
  EXPECT_EQ(ra_.AbilityAvg, " 51.1");  // 204.2 / 4 = 51.05
  EXPECT_EQ(ra_.AbilityBest, " 60.5");
}

TEST_F(RunnerSummariesTest, NoValuesGiveBlankForms) {
  Compute();
  EXPECT_EQ(ra_.AbilityAvg, "     ");
  EXPECT_EQ(ra_.AbilityBest, "     ");
  EXPECT_EQ(ra_.BestWeightValue, "     ");
  EXPECT_EQ(ra_.TurfWeightValue, "");
  EXPECT_EQ(ra_.DirtWeightValue, "");
  EXPECT_EQ(ra_.DIndexAvg, "     ");
  EXPECT_EQ(ra_.DIndexBest, "     ");
  EXPECT_EQ(ra_.LegPowerAvg, "     ");
  EXPECT_EQ(ra_.LegPowerBest, "     ");
  EXPECT_EQ(ra_.StyleValue, "     ");
  EXPECT_EQ(ra_.StyleValueRecent, "     ");
  for (const std::string* band : {&ra_.TurfShort, &ra_.TurfMiddle, &ra_.TurfLong, &ra_.DirtShort,
                                  &ra_.DirtMiddle, &ra_.DirtLong})
    EXPECT_EQ(*band, "     ");
  EXPECT_EQ(ra_.WeightCarriedChange, "      ");
  for (const std::string& interval : ra_.PastInterval) EXPECT_EQ(interval, "    ");
  EXPECT_EQ(ra_.DaysSinceLastRun, "    ");
  EXPECT_EQ(ra_.AvgDistanceText5, "    ");
  EXPECT_EQ(ra_.AvgDistanceText2, "    ");
}

TEST_F(RunnerSummariesTest, BandsSplitAt1600And2200Metres) {
  SetRun(0, "17", "1600");
  SetRun(1, "17", "1601");
  SetRun(2, "11", "2200");
  SetRun(3, "17", "2201");
  ra_.PastAbility = {" 70.0", " 71.0", " 72.0", " 73.0", "     "};
  Compute();
  EXPECT_EQ(ra_.TurfShort, " 70.0");
  EXPECT_EQ(ra_.TurfMiddle, " 72.0");
  EXPECT_EQ(ra_.TurfLong, " 73.0");
  EXPECT_EQ(ra_.DirtShort, "     ");
  EXPECT_EQ(ra_.DirtMiddle, "     ");
  EXPECT_EQ(ra_.DirtLong, "     ");
}

TEST_F(RunnerSummariesTest, DirtAndJumpRunsCountAsDirt) {
  SetRun(0, "23", "1200");
  SetRun(1, "52", "3000");
  SetRun(2, "29", "1800");
  ra_.PastAbility = {" 80.0", " 60.0", " 55.0", "     ", "     "};
  ra_.PastWeightValue = {"55.0", "57.5", "54.0", "    ", "    "};
  Compute();
  EXPECT_EQ(ra_.DirtShort, " 80.0");
  EXPECT_EQ(ra_.DirtMiddle, " 55.0");
  EXPECT_EQ(ra_.DirtLong, " 60.0");
  EXPECT_EQ(ra_.TurfShort, "     ");
  EXPECT_EQ(ra_.TurfMiddle, "     ");
  EXPECT_EQ(ra_.TurfLong, "     ");
  EXPECT_EQ(ra_.DirtWeightValue, "57.5");
  EXPECT_EQ(ra_.TurfWeightValue, "");
  EXPECT_EQ(ra_.BestWeightValue, "57.5");
}

TEST_F(RunnerSummariesTest, RunWithoutRaceRecordCountsAsTurfWithoutBand) {
  SetRun(0, "17", "1800");
  PastRun missing;
  missing.withRace = false;
  SetPastRun(*day_, kSlot, kRunner, 1, missing);
  ra_.PastAbility = {" 40.0", " 90.0", "     ", "     ", "     "};
  ra_.PastWeightValue = {"52.0", "56.5", "    ", "    ", "    "};
  Compute();
  EXPECT_EQ(ra_.TurfMiddle, " 40.0");
  EXPECT_EQ(ra_.AbilityBest, " 90.0");
  EXPECT_EQ(ra_.TurfWeightValue, "56.5");
  EXPECT_EQ(ra_.DirtWeightValue, "");
  EXPECT_EQ(ra_.PastInterval[1], "    ");
}

TEST_F(RunnerSummariesTest, BestsCompareValuesSoNegativeFiguresOrderCorrectly) {
  ra_.PastDIndex = {" -12", "  -5", "    ", " -30", "    "};
  ra_.PastLegPower = {"  -8", " -10", "  95", "    ", "    "};
  Compute();
  EXPECT_EQ(ra_.DIndexBest, "  -5");
  EXPECT_EQ(ra_.DIndexAvg, "-15.7");  // -47 / 3
  EXPECT_EQ(ra_.LegPowerBest, " 95.0");
  EXPECT_EQ(ra_.LegPowerAvg, " 25.7");  // 77 / 3
}

TEST_F(RunnerSummariesTest, DIndexBestKeepsItsTextLegPowerBestIsReformatted) {
  ra_.PastDIndex = {"  92", " 103", " 101", "    ", "    "};
  ra_.PastLegPower = {" 103", "  99", "    ", "    ", "    "};
  Compute();
  EXPECT_EQ(ra_.DIndexBest, " 103");
  EXPECT_EQ(ra_.DIndexAvg, " 98.7");  // 296 / 3
  EXPECT_EQ(ra_.LegPowerBest, "103.0");
  EXPECT_EQ(ra_.LegPowerAvg, "101.0");
}

TEST_F(RunnerSummariesTest, StyleValueUsesUnroundedSumRecentUsesDisplayedTexts) {
  sums_.styleSum = 1.875 + 5.0;
  sums_.styleCount = 2;
  ra_.PastStyleValue = {"  1.9", "  5.0", "     ", "     ", "     "};
  Compute();
  EXPECT_EQ(ra_.StyleValue, "  3.4");        // 6.875 / 2 = 3.4375
  EXPECT_EQ(ra_.StyleValueRecent, "  3.5");  // (1.9 + 5.0) * 0.5 = 3.45
  ra_.PastStyleValue[1] = "     ";
  Compute();
  EXPECT_EQ(ra_.StyleValueRecent, "     ");
}

TEST_F(RunnerSummariesTest, WeightCarriedChangeSinceTheLastRun) {
  auto change = [&](const char* last, const char* now) {
    PutAt(day_->PastRunRecords[kSlot][kRunner][0], 289, last);
    PutAt(day_->RunnerRecords[kSlot][kRunner], 289, now);
    Compute();
    return Utf8(ra_.WeightCarriedChange);
  };
  EXPECT_EQ(change("550", "570"), " 2.0増");
  EXPECT_EQ(change("570", "550"), " 2.0減");
  EXPECT_EQ(change("545", "560"), " 1.5増");
  EXPECT_EQ(change("560", "560"), "増減ﾅｼ");
  EXPECT_EQ(change("   ", "560"), "      ");
  EXPECT_EQ(change("560", "000"), "      ");
}

TEST_F(RunnerSummariesTest, IntervalsCountCivilDaysToTheAnalysedRace) {
  SetRun(0, "17", "1600", "20040104");
  SetRun(1, "17", "1600", "20031228");
  SetRun(2, "17", "1600", "20030105");
  SetRun(3, "17", "1600", "20020105");
  SetRun(4, "17", "1600", "20000228");
  Compute();
  EXPECT_EQ(ra_.PastInterval[0], "   1");
  EXPECT_EQ(ra_.DaysSinceLastRun, "   1");
  EXPECT_EQ(ra_.PastInterval[1], "   8");
  EXPECT_EQ(ra_.PastInterval[2], " 365");
  EXPECT_EQ(ra_.PastInterval[3], " 730");
  EXPECT_EQ(ra_.PastInterval[4], "1407");  // the fifth run's own date, 29 February 2000 included
}

TEST_F(RunnerSummariesTest, IntervalNeedsSixNonZeroDateNumbers) {
  SetRun(0, "17", "1600", "20031200");
  SetRun(1, "17", "1600", "20031331");
  SetRun(2, "17", "1600", "20030229");
  SetRun(3, "17", "1600", "20040229");
  Compute();
  EXPECT_EQ(ra_.PastInterval[0], "    ");
  EXPECT_EQ(ra_.DaysSinceLastRun, "    ");
  EXPECT_EQ(ra_.PastInterval[1], "    ");  // no such date
  EXPECT_EQ(ra_.PastInterval[2], "    ");
  EXPECT_EQ(ra_.PastInterval[3], " -55");  // a later date is counted as it stands
  PutAt(day_->RaceRecords[kSlot], 12, "0000");
  Compute();
  EXPECT_EQ(ra_.PastInterval[3], "    ");
}

TEST_F(RunnerSummariesTest, MeanDistancesOfFiveAndTwoRuns) {
  SetRun(0, "17", "1600");
  SetRun(1, "17", "1800");
  sums_.distanceSum = 1600 + 1800;
  sums_.distanceCount = 2;
  Compute();
  EXPECT_EQ(Utf8(ra_.AvgDistanceText5), "前5走平均距離：1700");
  EXPECT_EQ(Utf8(ra_.AvgDistanceText2), "前2走平均距離：1700");

  SetRun(1, "17", "1700");
  sums_.distanceSum = 1600 + 1700 + 1001;
  sums_.distanceCount = 3;
  Compute();
  EXPECT_EQ(Utf8(ra_.AvgDistanceText5), "前5走平均距離：1433");  // integer division
  EXPECT_EQ(Utf8(ra_.AvgDistanceText2), "前2走平均距離：1650");
  EXPECT_EQ(ra_.AvgDistanceText5.size(), 19u);
}

TEST_F(RunnerSummariesTest, OnePastRunGivesBlankTwoRunMean) {
  SetRun(0, "23", "1200");
  sums_.distanceSum = 1200;
  sums_.distanceCount = 1;
  Compute();
  EXPECT_EQ(Utf8(ra_.AvgDistanceText5), "前5走平均距離：1200");
  EXPECT_EQ(ra_.AvgDistanceText2, "    ");
}

TEST(RunnerSummaries, PastRunsAndSummariesTogether) {
  auto day = test::BlankDay();
  test::SetRace(*day, 0, "20040105", "06", 10);
  PutAt(day->RunnerRecords[0][2], 289, "560");
  PastRun run;  // Tokyo turf 1600, 1:34.5, last 3F 34.5, grade C winner
  run.carried = "550";
  run.difference = "-003";
  run.grade = "C";
  run.corners = "02020101";
  run.date = "20031221";
  SetPastRun(*day, 0, 2, 0, run);
  run.corners = "05050403";
  run.date = "20031123";
  run.distance = "1800";  // standards 34.0, 33.1, 35.4
  run.time = "1480";
  SetPastRun(*day, 0, 2, 1, run);
  RunnerAnalysis ra;
  RunnerSums sums;
  ComputePastRunIndices(*day, 0, 2, ra, sums);
  ComputeRunnerSummaries(*day, 0, 2, sums, ra);
  EXPECT_EQ(ra.PastAbility[0], " 90.6");
  EXPECT_EQ(ra.PastFront3F[1], " 36.8");  // 73.5 * 600 / 1200 = 36.75
  EXPECT_EQ(ra.PastAbility[1], " 91.3");  // 100 - 2.8 * 1.4 / 9 * 20
  EXPECT_EQ(ra.AbilityAvg, " 91.0");      // 181.9 / 2 = 90.95
  EXPECT_EQ(ra.AbilityBest, " 91.3");
  EXPECT_EQ(ra.TurfShort, " 90.6");
  EXPECT_EQ(ra.TurfMiddle, " 91.3");
  EXPECT_EQ(ra.BestWeightValue, "56.0");
  EXPECT_EQ(ra.TurfWeightValue, "56.0");
  EXPECT_EQ(ra.StyleValue, "  3.5");
  EXPECT_EQ(ra.StyleValueRecent, "  3.5");
  EXPECT_EQ(SjisToUtf8(ra.WeightCarriedChange), " 1.0増");
  EXPECT_EQ(ra.PastInterval[0], "  15");
  EXPECT_EQ(ra.PastInterval[1], "  43");
  EXPECT_EQ(SjisToUtf8(ra.AvgDistanceText5), "前5走平均距離：1700");
}

}  // namespace
}  // namespace furlong
