#include "analysis/RanksAndMarks.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "RaceDayBuilder.h"
#include "store/Encoding.h"
#include "store/TextFormat.h"

namespace furlong {
namespace {

// A runner record in the blank forms the past-run step leaves for a horse
// without runs; tests set the figures they need.
RunnerAnalysis BlankRunner() {
  RunnerAnalysis a;
  for (int k = 0; k < kPastRuns; ++k) {
    a.PastWeightValue[k] = "    ";
    a.PastAbility[k] = "     ";
    a.PastDIndex[k] = "    ";
    a.PastLegPower[k] = "    ";
    a.PastTotal[k] = "     ";
  }
  a.AbilityAvg = a.AbilityBest = "     ";
  a.DIndexAvg = a.DIndexBest = "     ";
  a.LegPowerAvg = a.LegPowerBest = "     ";
  a.ResultFinishText = "  ";
  return a;
}

struct Race {
  std::unique_ptr<RaceRunners> runners = std::make_unique<RaceRunners>();
  std::unique_ptr<RaceAnalysisResult> out = std::make_unique<RaceAnalysisResult>();
  explicit Race(int n) {
    for (int r = 0; r < n; ++r) (*runners)[r] = BlankRunner();
  }
  RunnerAnalysis& operator[](int r) { return (*runners)[r]; }
};

TEST(RanksAndMarks, ParseTenthsReadsOneDecimalTextsExactly) {
  EXPECT_EQ(ParseTenths("  60.5"), 605);
  EXPECT_EQ(ParseTenths(" 100"), 1000);
  EXPECT_EQ(ParseTenths(" -12"), -120);
  EXPECT_EQ(ParseTenths("  -0.3"), -3);
  EXPECT_EQ(ParseTenths("     "), 0);
  EXPECT_EQ(ParseTenths("1.25"), 13);  // half away from zero on a second decimal
}

TEST(RanksAndMarks, EqualValuesRankTheLowerHorseNumberFirstAndBlanksKeepZero) {
  Race race(4);
  race[0].AbilityAvg = " 51.1";
  race[1].AbilityAvg = " 60.0";
  race[2].AbilityAvg = " 51.1";
  // race[3] has no value
  race[3].AbilityAvgRank = 7;  // stale rank from an earlier run
  (*race.runners)[10].TotalLastRank = 5;  // slot beyond the field
  RankRunners(*race.runners, 4);
  EXPECT_EQ(race[1].AbilityAvgRank, 1);
  EXPECT_EQ(race[0].AbilityAvgRank, 2);
  EXPECT_EQ(race[2].AbilityAvgRank, 3);
  EXPECT_EQ(race[3].AbilityAvgRank, 0);
  EXPECT_EQ((*race.runners)[10].TotalLastRank, 0);
}

TEST(RanksAndMarks, NegativeFiguresRankByValue) {
  Race race(3);
  race[0].PastDIndex[0] = " -12";
  race[1].PastDIndex[0] = "   5";
  race[2].PastDIndex[0] = "  -3";
  RankRunners(*race.runners, 3);
  EXPECT_EQ(race[1].DIndexLastRank, 1);
  EXPECT_EQ(race[2].DIndexLastRank, 2);
  EXPECT_EQ(race[0].DIndexLastRank, 3);
}

TEST(RanksAndMarks, EachFigureGoesToItsOwnRankField) {
  Race race(2);
  race[0].AbilityBest = " 70.0";
  race[1].AbilityBest = " 80.0";
  race[0].PastAbility[0] = " 90.0";
  race[1].PastAbility[0] = " 10.0";
  race[0].DIndexAvg = " 99.0";
  race[1].DIndexBest = " 101";
  race[0].LegPowerAvg = " 95.0";
  race[1].LegPowerBest = " 99.0";
  race[1].PastLegPower[0] = "  98";
  race[0].PastTotal[0] = " 70.1";
  RankRunners(*race.runners, 2);
  EXPECT_EQ(race[1].AbilityBestRank, 1);
  EXPECT_EQ(race[0].AbilityBestRank, 2);
  EXPECT_EQ(race[0].AbilityLastRank, 1);
  EXPECT_EQ(race[0].DIndexAvgRank, 1);
  EXPECT_EQ(race[1].DIndexAvgRank, 0);
  EXPECT_EQ(race[1].DIndexBestRank, 1);
  EXPECT_EQ(race[0].LegPowerAvgRank, 1);
  EXPECT_EQ(race[1].LegPowerBestRank, 1);
  EXPECT_EQ(race[1].LegPowerLastRank, 1);
  EXPECT_EQ(race[0].TotalLastRank, 1);
  EXPECT_EQ(race[1].TotalLastRank, 0);
}

// Six runners; the third best last ability is g.
Race EliminationRace(const char* g, const char* a3, const char* a4) {
  Race race(6);
  race[0].PastAbility[0] = " 95.0";
  race[1].PastAbility[0] = " 90.0";
  race[2].PastAbility[0] = g;
  race[3].PastAbility[0] = a3;
  race[4].PastAbility[0] = a4;
  race[5].PastAbility[0] = " 20.0";
  return race;
}

TEST(RanksAndMarks, EliminationKeepsARunnerExactly20Below) {
  Race race = EliminationRace(" 80.0", " 60.0", " 59.9");
  RankRunners(*race.runners, 6);
  EXPECT_EQ(EliminateRunners(*race.runners, 6), 800);
  EXPECT_EQ(race[3].Eliminated, 0);
  EXPECT_TRUE(race[3].Mark.empty());
  EXPECT_EQ(race[4].Eliminated, 1);
  EXPECT_EQ(race[4].Mark, SJ("消"));
  EXPECT_EQ(race[5].Eliminated, 1);
  EXPECT_EQ(race[0].Eliminated, 0);
}

TEST(RanksAndMarks, EliminationComparesTenthsNotBinaryDifferences) {
  // 80.3 - 20 is not 60.3 in a double.
  Race race = EliminationRace(" 80.3", " 60.3", " 60.2");
  RankRunners(*race.runners, 6);
  EliminateRunners(*race.runners, 6);
  EXPECT_EQ(race[3].Eliminated, 0);
  EXPECT_EQ(race[4].Eliminated, 1);
}

TEST(RanksAndMarks, ATopFourDIndexOrLegPowerRankSavesFromElimination) {
  Race race = EliminationRace(" 80.0", " 50.0", " 50.0");
  race[3].DIndexBest = "  90";  // only value: rank 1
  for (int r = 0; r < 5; ++r) race[r].LegPowerAvg = FormatFixed(100 - r, 5, 1);
  // runner 4 ranks 5th on LegPowerAvg: not saved
  RankRunners(*race.runners, 6);
  ASSERT_EQ(race[4].LegPowerAvgRank, 5);
  EliminateRunners(*race.runners, 6);
  EXPECT_EQ(race[3].Eliminated, 0);
  EXPECT_EQ(race[4].Eliminated, 1);
}

TEST(RanksAndMarks, WithoutAThirdRankedRunnerNobodyIsEliminated) {
  Race race(4);
  race[0].PastAbility[0] = " 95.0";
  race[1].PastAbility[0] = "  0.0";
  race[2].Mark = SJ("◎");  // cleared first
  race[2].Eliminated = 1;
  RankRunners(*race.runners, 4);
  EXPECT_EQ(EliminateRunners(*race.runners, 4), 0);
  for (int r = 0; r < 4; ++r) {
    EXPECT_EQ(race[r].Eliminated, 0);
    EXPECT_TRUE(race[r].Mark.empty());
  }
}

TEST(RanksAndMarks, GridCellsOfARunnerWithAndWithoutALastRun) {
  auto day = test::BlankDay();
  Race race(2);
  SeRecord& se = day->RunnerRecords[0][0];
  test::PutAt(se, 28, "3");
  test::PutAt(se, 29, "01");
  const std::string name = SJ("アイウエオカキクケコサシスセソタチツ");  // 36 bytes
  test::PutAt(se, 41, name);
  test::PutAt(se, 91, SJ("調教師名"));
  test::PutAt(se, 307, SJ("騎手名前"));
  test::PutAt(se, 335, "03");
  test::PutAt(day->RunnerRecords[0][1], 29, "02");
  test::PutAt(day->PredictedOddsRecords[0], 20, "  12.3");
  test::PutAt(day->PredictedOddsRecords[0], 26, "   0.0");

  race[0].PastAbility[0] = " 61.5";
  race[0].PastWeightValue[0] = "56.0";
  race[0].AbilityAvg = " 51.1";
  race[0].PastLegPower[0] = " 102";
  race[0].PastDIndex[0] = "  98";
  race[0].PastTotal[0] = " 77.3";
  race[0].PastDevelopment[0][2] = 12.25;
  race[0].LegPowerLastRank = 1;
  race[0].DIndexLastRank = 2;
  race[0].TotalLastRank = 11;
  race[0].ResultFinishText = " 3";

  FillGridCells(*day, 0, *race.runners, 2, *race.out);
  const VerificationRow& v = race.out->verificationRows[0];
  EXPECT_EQ(v[kVerFrame], "3");
  EXPECT_EQ(v[kVerHorse], " 1");
  EXPECT_EQ(v[kVerName], name.substr(0, 18));
  EXPECT_EQ(v[kVerOdds], "  12.3");
  EXPECT_EQ(v[kVerDevelopment], " 12.3");
  EXPECT_EQ(v[kVerAbility], "");
  EXPECT_EQ(v[kVerLegPower], " 102");
  EXPECT_EQ(v[kVerLegPowerRank], " 1");
  EXPECT_EQ(v[kVerDIndex], "  98");
  EXPECT_EQ(v[kVerDIndexRank], " 2");
  EXPECT_EQ(v[kVerTotal], " 77.3");
  EXPECT_EQ(v[kVerTotalRank], "11");
  EXPECT_EQ(v[kVerFinish], " 3");
  const PredictionRow& p = race.out->predictionRows[0];
  EXPECT_EQ(p[kPreName], name);
  EXPECT_EQ(p[kPreJockey], SJ("騎手名前"));
  EXPECT_EQ(p[kPreTrainer], SJ("調教師名"));
  EXPECT_EQ(p[kPreAxis], " 117.5");
  EXPECT_EQ(p[kPreCombo], "  51.1");
  EXPECT_EQ(p[kPreFinish], " 3");

  // No last run: blank figures, "―" ranks, no odds for 0.0.
  const VerificationRow& v2 = race.out->verificationRows[1];
  EXPECT_EQ(v2[kVerOdds], "");
  EXPECT_EQ(v2[kVerDevelopment], SJ("―"));
  EXPECT_EQ(v2[kVerLegPower], "    ");
  EXPECT_EQ(v2[kVerLegPowerRank], SJ("―"));
  EXPECT_EQ(v2[kVerDIndexRank], SJ("―"));
  EXPECT_EQ(v2[kVerTotalRank], SJ("―"));
  const PredictionRow& p2 = race.out->predictionRows[1];
  EXPECT_EQ(p2[kPreAxis], "");
  EXPECT_EQ(p2[kPreCombo], "      ");
  EXPECT_EQ(p2[kPreFinish], "");
}

TEST(RanksAndMarks, PredictedOddsShowOnlyWhenTheirWholeDigitsReadAboveZero) {
  auto day = test::BlankDay();
  Race race(5);
  for (int r = 0; r < 5; ++r) test::PutAt(day->RunnerRecords[0][r], 29, FormatInt(r + 1, 2));
  test::PutAt(day->PredictedOddsRecords[0], 20, "   1.0");
  test::PutAt(day->PredictedOddsRecords[0], 26, "   0.8");
  test::PutAt(day->PredictedOddsRecords[0], 32, "    .5");
  test::PutAt(day->PredictedOddsRecords[0], 38, "0012.0");
  test::PutAt(day->PredictedOddsRecords[0], 44, "  -3.0");
  FillGridCells(*day, 0, *race.runners, 5, *race.out);
  EXPECT_EQ(race.out->verificationRows[0][kVerOdds], "   1.0");
  EXPECT_EQ(race.out->verificationRows[1][kVerOdds], "");
  EXPECT_EQ(race.out->verificationRows[2][kVerOdds], "");
  EXPECT_EQ(race.out->verificationRows[3][kVerOdds], "0012.0");
  EXPECT_EQ(race.out->verificationRows[4][kVerOdds], "");
}

TEST(RanksAndMarks, DataSufficiencyCountsRowsWithBothIndices) {
  Race race(16);
  for (int r = 0; r < 16; ++r) {
    race.out->predictionRows[r][kPreAxis] = r < 12 ? " 110.0" : "";
    race.out->predictionRows[r][kPreCombo] = r == 0 ? "      " : "  50.0";
  }
  SetDataSufficiency(16, *race.out);  // rows 1-11 have both
  EXPECT_DOUBLE_EQ(race.out->dataSufficiency, 68.75);
  EXPECT_EQ(race.out->dataSufficiencyText, " 68.8");
  SetDataSufficiency(0, *race.out);
  EXPECT_EQ(race.out->dataSufficiencyText, "  0.0");
}

TEST(RanksAndMarks, LongshotPointsAndIndex) {
  EXPECT_EQ(LongshotPoints(1), 4);
  EXPECT_EQ(LongshotPoints(4), 1);
  EXPECT_EQ(LongshotPoints(5), 0);
  EXPECT_EQ(LongshotPoints(0), 0);
  Race race(2);
  race[0].DIndexAvgRank = race[0].DIndexBestRank = race[0].LegPowerAvgRank = race[0].LegPowerBestRank = 1;
  race[1].DIndexAvgRank = 2;
  race[1].DIndexBestRank = 5;
  race[1].LegPowerAvgRank = 1;
  race[1].LegPowerBestRank = 0;
  GiveMarks(*race.runners, 2, *race.out);
  EXPECT_EQ(race[0].LongshotIndex, 16);
  EXPECT_EQ(race[1].LongshotIndex, 7);
  EXPECT_EQ(race.out->predictionRows[0][kPreLongshot], " 16");
  EXPECT_EQ(race.out->predictionRows[1][kPreLongshot], "  7");
}

TEST(RanksAndMarks, AxisTieGoesToTheHigherHorseAndComboTiesToo) {
  Race race(5);
  auto& rows = race.out->predictionRows;
  rows[0][kPreAxis] = " 110.0";
  rows[2][kPreAxis] = " 110.0";  // equal: horse 3 wins ◎
  rows[1][kPreAxis] = " 100.0";
  rows[0][kPreCombo] = "  60.0";
  rows[1][kPreCombo] = "  55.0";
  rows[2][kPreCombo] = "  70.0";  // ◎ itself is not a ○ candidate
  rows[3][kPreCombo] = "  55.0";  // equal to horse 2: horse 4 first
  rows[4][kPreCombo] = "      ";
  GiveMarks(*race.runners, 5, *race.out);
  EXPECT_EQ(race[2].Mark, SJ("◎"));
  EXPECT_EQ(race[0].Mark, SJ("○"));
  EXPECT_EQ(race[3].Mark, SJ("▲"));
  EXPECT_TRUE(race[1].Mark.empty());
  EXPECT_EQ(rows[2][kPreMark], SJ("◎"));
  EXPECT_EQ(rows[3][kPreMark], SJ("▲"));
  EXPECT_EQ(rows[1][kPreMark], "");
}

TEST(RanksAndMarks, NoAxisIndexMeansNoDoubleCircleCircleOrTriangle) {
  Race race(3);
  for (int r = 0; r < 3; ++r) race.out->predictionRows[r][kPreCombo] = "  60.0";
  GiveMarks(*race.runners, 3, *race.out);
  for (int r = 0; r < 3; ++r) EXPECT_TRUE(race[r].Mark.empty());
}

TEST(RanksAndMarks, AnEliminatedRunnerMayGetCircleButNeverATriangle) {
  Race race(9);
  auto& rows = race.out->predictionRows;
  rows[0][kPreAxis] = " 120.0";
  for (int r = 0; r < 9; ++r) {
    rows[r][kPreCombo] = FormatFixed(r == 8 ? 30 : 40 + r, 6, 1);
    race[r].AbilityAvg = FormatFixed(r == 8 ? 30 : 40 + r, 5, 1);
  }
  // Horses 7, 8 and 9 were eliminated; 7 and 8 have the best 連指数.
  for (int r : {6, 7, 8}) {
    race[r].Eliminated = 1;
    race[r].Mark = SJ("消");
  }
  race[8].DIndexBestRank = 1;  // a 穴指数, but 消 keeps it from a △
  race[1].DIndexAvgRank = 1;     // 4 points
  race[2].DIndexAvgRank = 2;     // 3 points, mean ability 42.0
  race[3].DIndexAvgRank = 2;     // 3 points, mean ability 43.0: before horse 3
  race[4].LegPowerBestRank = 4;  // 1 point, 44.0
  race[5].LegPowerAvgRank = 4;   // 1 point, 45.0: before horse 5, which gets none
  GiveMarks(*race.runners, 9, *race.out);
  EXPECT_EQ(race[0].Mark, SJ("◎"));
  EXPECT_EQ(race[7].Mark, SJ("○"));
  EXPECT_EQ(race[6].Mark, SJ("▲"));
  EXPECT_EQ(race[7].Eliminated, 1);
  EXPECT_EQ(race[6].Eliminated, 1);
  EXPECT_EQ(race[1].Mark, SJ("△4"));
  EXPECT_EQ(race[3].Mark, SJ("△5"));
  EXPECT_EQ(race[2].Mark, SJ("△6"));
  EXPECT_EQ(race[5].Mark, SJ("△7"));
  EXPECT_TRUE(race[4].Mark.empty());
  EXPECT_EQ(race[8].Mark, SJ("消"));
  EXPECT_EQ(rows[8][kPreMark], SJ("消"));
  EXPECT_EQ(rows[8][kPreLongshot], "  4");
  EXPECT_EQ(rows[5][kPreMark], SJ("△7"));
  EXPECT_EQ(rows[4][kPreMark], "");
}

TEST(RanksAndMarks, TriangleTiesGoToTheHigherHorseNumber) {
  Race race(3);
  race.out->predictionRows[0][kPreAxis] = " 100.0";  // ◎ horse 1, no ○ candidates
  for (int r = 1; r < 3; ++r) {
    race[r].AbilityAvg = " 50.0";
    race[r].DIndexAvgRank = 1;
  }
  GiveMarks(*race.runners, 3, *race.out);
  EXPECT_EQ(race[2].Mark, SJ("△4"));
  EXPECT_EQ(race[1].Mark, SJ("△5"));
}

}  // namespace
}  // namespace furlong
