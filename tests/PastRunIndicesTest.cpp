#include "analysis/PastRunIndices.h"

#include <gtest/gtest.h>

#include <vector>

#include "RaceDayBuilder.h"
#include "store/Encoding.h"

namespace furlong {
namespace {

using test::PastRun;
using test::PutAt;
using test::SetPastRun;

constexpr int kSlot = 2;
constexpr int kRunner = 5;

class PastRunIndicesTest : public testing::Test {
 protected:
  void SetUp() override {
    day_ = test::BlankDay();
    test::SetRace(*day_, kSlot, "20040105", "06", 10);
  }
  // Computes runner kRunner with past run 0 as given and no other run.
  void Run(const PastRun& run) {
    SetPastRun(*day_, kSlot, kRunner, 0, run);
    Compute();
  }
  void Compute() { ComputePastRunIndices(*day_, kSlot, kRunner, ra_, sums_); }

  std::unique_ptr<DayTables> day_;
  RunnerAnalysis ra_;
  RunnerSums sums_;
};

TEST(ClassBonus, FirstMatchingRowInTableOrderThenSpecialRaceBonus) {
  auto day = test::BlankDay();
  RaRecord& race = day->PastRaceRecords[0][0][0];
  auto bonus = [&](const char* grade, const char* condition) {
    PutAt(race, 615, grade);
    PutAt(race, 635, condition);
    return ClassBonus(race.view());
  };
  EXPECT_DOUBLE_EQ(bonus("A", "999"), 1.2);
  EXPECT_DOUBLE_EQ(bonus("B", "703"), 1.1);
  EXPECT_DOUBLE_EQ(bonus("C", "010"), 1.0);
  EXPECT_DOUBLE_EQ(bonus(" ", "999"), 0.8);
  EXPECT_DOUBLE_EQ(bonus(" ", "701"), 0.1);
  EXPECT_DOUBLE_EQ(bonus(" ", "702"), 0.0);
  EXPECT_DOUBLE_EQ(bonus(" ", "703"), 0.0);
  EXPECT_DOUBLE_EQ(bonus(" ", "005"), 0.2);
  EXPECT_DOUBLE_EQ(bonus(" ", "006"), 0.4);
  EXPECT_DOUBLE_EQ(bonus(" ", "009"), 0.4);
  EXPECT_DOUBLE_EQ(bonus(" ", "010"), 0.6);
  EXPECT_DOUBLE_EQ(bonus(" ", "016"), 0.6);
  EXPECT_DOUBLE_EQ(bonus(" ", "017"), 0.0);
  EXPECT_DOUBLE_EQ(bonus(" ", "   "), 0.2);  // blank condition reads 0
  EXPECT_DOUBLE_EQ(bonus("E", "016"), 0.7);
  EXPECT_DOUBLE_EQ(bonus("E", "999"), 0.9);
  EXPECT_DOUBLE_EQ(bonus("D", "999"), 0.8);
}

TEST_F(PastRunIndicesTest, WeightValueIsCarriedLessTimeLostPlusClassBonus) {
  PastRun winner;
  winner.carried = "550";
  winner.difference = "-003";
  winner.grade = "C";
  Run(winner);
  EXPECT_EQ(ra_.PastWeightValue[0], "56.0");

  PastRun beaten;
  beaten.carried = "540";
  beaten.condition = "010";
  beaten.difference = "+015";  // more than 1.2 s counts as 1.2 s
  Run(beaten);
  EXPECT_EQ(ra_.PastWeightValue[0], "48.6");
  beaten.difference = "+004";
  Run(beaten);
  EXPECT_EQ(ra_.PastWeightValue[0], "52.6");
  beaten.difference = "+012";
  Run(beaten);
  EXPECT_EQ(ra_.PastWeightValue[0], "48.6");
  beaten.difference = "+000";
  Run(beaten);
  EXPECT_EQ(ra_.PastWeightValue[0], "54.6");

  PastRun special;
  special.carried = "500";
  special.grade = "E";
  special.condition = "016";
  special.difference = "+001";
  Run(special);
  EXPECT_EQ(ra_.PastWeightValue[0], "50.2");  // 50.0 - 0.5 + 0.6 + 0.1
}

TEST_F(PastRunIndicesTest, WeightValueIsBlankWithoutTimeDifference) {
  PastRun run;
  for (const char* difference : {"    ", "0000", "9999"}) {
    run.difference = difference;
    Run(run);
    EXPECT_EQ(ra_.PastWeightValue[0], "    ") << difference;
  }
}

TEST_F(PastRunIndicesTest, TimeIndicesMeasureTheRunAgainstTheCourseStandards) {
  // Tokyo turf 1600 m (standards 33.1, 33.2, 35.2), time 1:34.5, last 3F 34.5.
  PastRun run;
  run.carried = "550";
  run.difference = "-003";
  run.grade = "C";
  Run(run);
  EXPECT_EQ(ra_.PastFront3F[0], " 36.0");  // 60.0 * 600 / 1000
  // x = 2.9 * 1.3 / 8 = 0.47125; 100 - 9.425 = 90.575 -> 90.6
  EXPECT_EQ(ra_.PastAbility[0], " 90.6");
  // ((36.0 + 34.5) / 2 + 34.5) / 2 = 34.875 -> 34.9
  EXPECT_EQ(ra_.PastClosing[0], " 34.9");
  // (1 - 34.9 / 35.2) * 300 + 100 = 102.56 (uses the displayed 34.9)
  EXPECT_EQ(ra_.PastLegPower[0], " 103");
  // (1 - 36.0 / 35.1) * 300 + 100 = 92.31
  EXPECT_EQ(ra_.PastDIndex[0], "  92");
  // (90.6 + 92 + 103 + 2 * 56.0) / 4 = 99.4
  EXPECT_EQ(ra_.PastTotal[0], " 99.4");
}

TEST_F(PastRunIndicesTest, JumpRaceTriplesLastThreeFurlongsAndUsesDirtStandards) {
  // Fukushima jump 2750 m (dirt standards 35.7, 35.1, 37.2), 3:10.5, last 3F 13.5.
  PastRun run;
  run.course = "03";
  run.track = "51";
  run.distance = "2750";
  run.time = "3105";
  run.last3F = "135";
  run.difference = "+002";
  run.carried = "600";
  run.condition = "999";
  Run(run);
  // L = 40.5; (190.5 - 40.5) * 600 / 2150 = 41.86
  EXPECT_EQ(ra_.PastFront3F[0], " 41.9");
  // x = 6.2 * 5.4 / 13.75 = 2.4349; 100 - 48.698 = 51.30
  EXPECT_EQ(ra_.PastAbility[0], " 51.3");
  // ((41.9 + 40.5) / 2 + 40.5) / 2 = 40.85 -> 40.9
  EXPECT_EQ(ra_.PastClosing[0], " 40.9");
  EXPECT_EQ(ra_.PastLegPower[0], "  70");  // (1 - 40.9 / 37.2) * 300 + 100 = 70.16
  EXPECT_EQ(ra_.PastDIndex[0], "  67");    // (1 - 41.9 / 37.7) * 300 + 100 = 66.58
  EXPECT_EQ(ra_.PastWeightValue[0], "59.8");  // 60.0 - 0.2 / 0.2 + 0.8
}

TEST_F(PastRunIndicesTest, NegativeAbilityShowsZero) {
  // Tokyo turf 1600 m, 1:48.7, last 3F 37.5: front 42.7, x = 9.6 * 4.3 / 8 = 5.16.
  PastRun run;
  run.time = "1487";
  run.last3F = "375";
  run.difference = "+020";
  run.carried = "560";
  Run(run);
  EXPECT_EQ(ra_.PastFront3F[0], " 42.7");
  EXPECT_EQ(ra_.PastAbility[0], "  0.0");  // 100 - 103.2 = -3.2
  // TOTAL counts the ability as 0.0: D index (1 - 42.7 / 35.1) * 300 + 100 = 35.04,
  // closing ((42.7 + 37.5) / 2 + 37.5) / 2 = 38.8, leg power 69.3, weight 56.0 - 6.0 + 0.6.
  EXPECT_EQ(ra_.PastDIndex[0], "  35");
  EXPECT_EQ(ra_.PastClosing[0], " 38.8");
  EXPECT_EQ(ra_.PastLegPower[0], "  69");
  EXPECT_EQ(ra_.PastWeightValue[0], "50.6");
  EXPECT_EQ(ra_.PastTotal[0], " 51.3");  // (0 + 35 + 69 + 101.2) / 4 = 51.3
}

TEST_F(PastRunIndicesTest, MissingTimeLastThreeFurlongsOrShortDistanceGiveBlankForms) {
  PastRun base;
  std::vector<PastRun> runs(4, base);
  runs[0].time = "0000";
  runs[1].last3F = "   ";
  runs[2].distance = "0600";
  runs[3].distance = "    ";
  for (const PastRun& run : runs) {
    Run(run);
    EXPECT_EQ(ra_.PastFront3F[0], "     ");
    EXPECT_EQ(ra_.PastAbility[0], "     ");
    EXPECT_EQ(ra_.PastClosing[0], "     ");
    EXPECT_EQ(ra_.PastTotal[0], "     ");
    EXPECT_EQ(ra_.PastDIndex[0], "    ");
    EXPECT_EQ(ra_.PastLegPower[0], "    ");
    EXPECT_EQ(ra_.PastWeightValue[0], "54.1");  // computed regardless
  }
  PastRun justLonger = base;
  justLonger.distance = "0601";
  justLonger.time = "0400";
  justLonger.last3F = "399";
  Run(justLonger);
  EXPECT_EQ(ra_.PastFront3F[0], " 60.0");  // (40.0 - 39.9) * 600 / 1
}

TEST_F(PastRunIndicesTest, LocalAndOverseasRacesKeepOnlyTheFrontThreeFurlongs) {
  for (const char* course : {"44", "A6"}) {
    PastRun run;
    run.course = course;
    Run(run);
    EXPECT_EQ(ra_.PastWeightValue[0], "    ") << course;
    EXPECT_EQ(ra_.PastFront3F[0], " 36.0") << course;
    EXPECT_EQ(ra_.PastAbility[0], "     ") << course;
    EXPECT_EQ(ra_.PastClosing[0], "     ") << course;
    EXPECT_EQ(ra_.PastTotal[0], "     ") << course;
    EXPECT_EQ(ra_.PastDIndex[0], "    ") << course;
    EXPECT_EQ(ra_.PastLegPower[0], "    ") << course;
    for (double v : ra_.PastDevelopment[0]) EXPECT_EQ(v, 0.0);
  }
}

TEST_F(PastRunIndicesTest, RunWithoutRaceRecordIsStillARun) {
  PastRun run;
  run.withRace = false;
  run.carried = "550";
  run.difference = "+002";
  run.corners = "03030202";
  Run(run);
  EXPECT_EQ(ra_.PastWeightValue[0], "54.2");  // 55.0 - 1.0 + 0.2 (blank condition)
  EXPECT_EQ(ra_.PastFront3F[0], "     ");
  EXPECT_EQ(ra_.PastDIndex[0], "    ");
  EXPECT_EQ(ra_.PastStyleValue[0], "  3.0");
  EXPECT_EQ(sums_.distanceCount, 0);
}

TEST_F(PastRunIndicesTest, RunningPositionUsesFirstCornerWithAPositionAndTheFieldSize) {
  PastRun run;
  run.corners = "00050302";
  Run(run);
  EXPECT_EQ(ra_.PastStyleValue[0], "  5.0");  // 5 / 10 * 10
  // Development values: q / n * 10 / D index * 100, D index 92.
  EXPECT_EQ(ra_.PastDevelopment[0][0], 0.0);
  EXPECT_DOUBLE_EQ(ra_.PastDevelopment[0][1], 5.0 / 92 * 100);
  EXPECT_DOUBLE_EQ(ra_.PastDevelopment[0][2], 3.0 / 92 * 100);
  EXPECT_DOUBLE_EQ(ra_.PastDevelopment[0][3], 2.0 / 92 * 100);

  // The field size is the analysed race's, and the style sum is unrounded.
  PutAt(day_->RaceRecords[kSlot], 882, "16");
  run.corners = "03040404";
  Run(run);
  EXPECT_EQ(ra_.PastStyleValue[0], "  1.9");
  EXPECT_DOUBLE_EQ(sums_.styleSum, 1.875);
  EXPECT_EQ(sums_.styleCount, 1);

  // More than 18 registered runners counts as 18.
  PutAt(day_->RaceRecords[kSlot], 882, "20");
  run.corners = "09000000";
  Run(run);
  EXPECT_EQ(ra_.PastStyleValue[0], "  5.0");
}

TEST_F(PastRunIndicesTest, NoCornerPositionGivesBlankStyleAndZeroDevelopment) {
  PastRun run;
  run.corners = "00000000";
  Run(run);
  EXPECT_EQ(ra_.PastStyleValue[0], "     ");
  EXPECT_EQ(sums_.styleCount, 0);
  for (double v : ra_.PastDevelopment[0]) EXPECT_EQ(v, 0.0);

  // A blank D index gives development values of 0 even with positions.
  run.corners = "01010101";
  run.time = "0000";
  Run(run);
  EXPECT_EQ(ra_.PastStyleValue[0], "  1.0");
  for (double v : ra_.PastDevelopment[0]) EXPECT_EQ(v, 0.0);
}

TEST_F(PastRunIndicesTest, MissingRunGivesBlankFormsAndLeavesDevelopmentUntouched) {
  ra_.PastDevelopment[3] = {1, 2, 3, 4};
  ra_.PastWeightValue[3] = "55.0";
  PastRun run;
  run.course = "00";
  SetPastRun(*day_, kSlot, kRunner, 3, run);
  Compute();
  for (int k = 0; k < 5; ++k) {
    EXPECT_EQ(ra_.PastWeightValue[k], "    ") << k;
    EXPECT_EQ(ra_.PastFront3F[k], "     ") << k;
    EXPECT_EQ(ra_.PastAbility[k], "     ") << k;
    EXPECT_EQ(ra_.PastStyleValue[k], "     ") << k;
    EXPECT_EQ(ra_.PastClosing[k], "     ") << k;
    EXPECT_EQ(ra_.PastTotal[k], "     ") << k;
    EXPECT_EQ(ra_.PastDIndex[k], "    ") << k;
    EXPECT_EQ(ra_.PastLegPower[k], "    ") << k;
  }
  EXPECT_EQ(ra_.PastDevelopment[3], (std::array<double, 4>{1, 2, 3, 4}));
  EXPECT_EQ(sums_.distanceCount, 0);  // a run "00" adds no distance
}

TEST_F(PastRunIndicesTest, SumsStartFromZeroAndCollectEveryRun) {
  sums_.styleSum = 99;
  sums_.distanceCount = 7;
  PastRun run;
  run.corners = "02000000";
  SetPastRun(*day_, kSlot, kRunner, 0, run);
  run.distance = "1800";
  run.corners = "04000000";
  SetPastRun(*day_, kSlot, kRunner, 2, run);
  run.distance = "2400";
  run.corners = "00000000";
  SetPastRun(*day_, kSlot, kRunner, 4, run);
  Compute();
  EXPECT_DOUBLE_EQ(sums_.styleSum, 6.0);
  EXPECT_EQ(sums_.styleCount, 2);
  EXPECT_EQ(sums_.distanceSum, 1600 + 1800 + 2400);
  EXPECT_EQ(sums_.distanceCount, 3);
}

}  // namespace
}  // namespace furlong
