#include "analysis/RaceAnalysis.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "RaceDayBuilder.h"
#include "store/Encoding.h"
#include "store/TextFormat.h"

namespace furlong {
namespace {

// A race of n runners whose runners have varied last runs.
void BuildRace(DayTables& day, int slot, int n, int raceNumber) {
  test::SetRace(day, slot, "20040105", "06", n);
  test::PutNumAt(day.RaceRecords[slot], 26, 2, raceNumber);
  for (int r = 0; r < n; ++r) {
    SeRecord& se = day.RunnerRecords[slot][r];
    test::PutAt(se, 1, "SE");
    test::PutNumAt(se, 28, 1, r / 2 + 1 > 8 ? 8 : r / 2 + 1);
    test::PutNumAt(se, 29, 2, r + 1);
    test::PutNumAt(se, 289, 3, 540 + r);
    for (int k = 0; k < 3; ++k) {
      if ((r + k) % 7 == 6) continue;  // some runners miss some runs
      test::PastRun p;
      p.carried = std::to_string(530 + 3 * r + k);
      p.time = std::to_string(1338 + (r * 7 + k * 3) % 20);
      p.last3F = std::to_string(335 + (r * 5 + k) % 17);
      char corners[9];
      std::snprintf(corners, sizeof corners, "%02d%02d%02d%02d", (r + k) % n + 1, (r * 3 + k) % n + 1,
                    (r * 5) % n + 1, (r * 2 + k) % n + 1);
      p.corners = corners;
      char difference[8];
      std::snprintf(difference, sizeof difference, "+%03d", r * 2);
      p.difference = difference;
      p.date = "2003120" + std::to_string(k + 1);
      test::SetPastRun(day, slot, r, k, p);
    }
  }
}

std::string Dump(const RaceAnalysisResult& res, const RaceRunners& runners) {
  std::string s;
  for (int r = 0; r < res.runnerCount; ++r) {
    for (const auto& c : res.verificationRows[r]) s += c + "|";
    for (const auto& c : res.predictionRows[r]) s += c + "|";
    const RunnerAnalysis& a = runners[r];
    s += a.Mark + a.AbilityAvg + std::to_string(a.LongshotIndex) + std::to_string(a.AbilityAvgRank) +
         std::to_string(a.Eliminated) + "\n";
  }
  for (int i = 0; i < 6; ++i) s += res.bets[i] + res.betPayouts[i] + BetColourName(res.betColours[i]);
  for (const auto& c : res.diagram)
    for (int i = 0; i < c.count; ++i)
      s += std::to_string(c.numbers[i].horse) + "," + std::to_string(c.numbers[i].x) + "," +
           std::to_string(c.numbers[i].y) + ";";
  s += res.dataSufficiencyText + res.headerLabels[0] + res.headerLabels[2];
  return s;
}

TEST(RaceAnalysis, ARaceWithoutAFirstHorseNumberIsNotAnalysed) {
  auto day = test::BlankDay();
  BuildRace(*day, 0, 10, 1);
  test::SetRace(*day, 4, "20040105", "06", 10);
  test::PutAt(day->RaceRecords[4], 26, "05");
  RaceAnalyzer a(*day);
  a.DatListClick(0);
  a.SetBatchAnalysis(true);
  const RaceAnalysisResult& batch = a.DatListClick(4);
  EXPECT_FALSE(batch.analysed);
  EXPECT_FALSE(batch.messageShown);
  EXPECT_FALSE(batch.gridsVisible);
  EXPECT_FALSE(batch.pageVisible);
  EXPECT_EQ(a.SelectedRace(), 0);
  a.SetBatchAnalysis(false);
  const RaceAnalysisResult& shown = a.DatListClick(4);
  EXPECT_TRUE(shown.messageShown);
  EXPECT_EQ(SjisToUtf8(shown.message),
            " 5レースは予想に必要なデータ量がありません。時間をおいて再取得してください。");
  // A slot outside 0-11 does nothing.
  EXPECT_EQ(&a.DatListClick(12), &a.Result());
  EXPECT_EQ(a.Result().slot, 4);
}

TEST(RaceAnalysis, AnalysingTwiceGivesIdenticalResults) {
  auto day = test::BlankDay();
  BuildRace(*day, 0, 16, 1);
  BuildRace(*day, 1, 8, 2);
  RaceAnalyzer a(*day);
  a.DatListClick(0);
  const std::string first = Dump(a.Result(), a.Runners()[0]);
  a.DatListClick(1);
  a.DatListClick(0);
  EXPECT_EQ(Dump(a.Result(), a.Runners()[0]), first);
  EXPECT_TRUE(a.Result().analysed);
  EXPECT_TRUE(a.Result().pageVisible);
  // The fixture gives a real analysis: marks were handed out.
  int marked = 0;
  for (int r = 0; r < 16; ++r) marked += !a.Runners()[0][r].Mark.empty();
  EXPECT_GT(marked, 0);
}

TEST(RaceAnalysis, GridsTakeTheRowCountOfTheRaceAndOldRowsAreEmptied) {
  auto day = test::BlankDay();
  BuildRace(*day, 0, 18, 1);
  BuildRace(*day, 1, 8, 2);
  RaceAnalyzer a(*day);
  EXPECT_EQ(a.DatListClick(0).rowCount, 19);
  const RaceAnalysisResult& res = a.DatListClick(1);
  EXPECT_EQ(res.rowCount, 9);
  EXPECT_EQ(res.runnerCount, 8);
  EXPECT_EQ(res.verificationRows[8][kVerHorse], "");
  EXPECT_EQ(res.predictionRows[17][kPreName], "");
  EXPECT_EQ(a.SelectedRace(), 1);
}

TEST(RaceAnalysis, VerificationReturnsToHorseOrderButThePredictionSortStays) {
  auto day = test::BlankDay();
  BuildRace(*day, 0, 12, 1);
  RaceAnalyzer a(*day);
  a.DatListClick(0);
  a.PressVerificationSort(VerificationSort::kTotal);
  a.PressPredictionSort(PredictionSort::kAxisIndex);
  EXPECT_EQ(a.Result().verificationSort, VerificationSort::kTotal);
  const RaceAnalysisResult& res = a.DatListClick(0);
  EXPECT_EQ(res.verificationSort, VerificationSort::kHorseNumber);
  EXPECT_EQ(res.predictionSort, PredictionSort::kAxisIndex);
  for (int r = 0; r < 12; ++r) EXPECT_EQ(res.verificationRows[r][kVerHorse], FormatInt(r + 1, 2));
  // The ◎ runner has the largest 軸指数, so it comes first unless an equal
  // text of a lower horse number exists.
  EXPECT_FALSE(IsBlank(res.predictionRows[0][kPreAxis]));
  for (int r = 1; r < 12; ++r) {
    if (IsBlank(res.predictionRows[r][kPreAxis])) continue;
    EXPECT_GE(ParseStoredNumber(res.predictionRows[0][kPreAxis]), ParseStoredNumber(res.predictionRows[r][kPreAxis]));
  }
  // Releasing the pressed button sorts by frame, then horse number.
  a.PressPredictionSort(PredictionSort::kAxisIndex);
  EXPECT_EQ(a.Result().predictionSort, PredictionSort::kNone);
  EXPECT_EQ(a.Result().predictionRows[0][kPreHorse], " 1");
  EXPECT_EQ(a.Result().predictionRows[11][kPreHorse], "12");
}

TEST(RaceAnalysis, TheRunLeavesTheRanksTheGraphsAreRedrawnFrom) {
  auto day = test::BlankDay();
  BuildRace(*day, 2, 9, 3);
  RaceAnalyzer a(*day);
  // The window redraws the graphs once the run has returned; what they
  // read must be in place by then, for the slot just analysed.
  const RaceAnalysisResult& res = a.DatListClick(2);
  EXPECT_EQ(res.slot, 2);
  EXPECT_EQ(a.SelectedRace(), 2);
  EXPECT_NE(a.Runners()[2][0].AbilityLastRank + a.Runners()[2][1].AbilityLastRank, 0);
}

}  // namespace
}  // namespace furlong
