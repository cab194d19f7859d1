// The race analysis over the demo store: every race of every demo meeting,
// analysed twice, gives the same results.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Command.h"
#include "DemoTestStore.h"
#include "StoreTestSupport.h"
#include "analysis/IndexTableTexts.h"
#include "analysis/MeetingFlow.h"
#include "analysis/PastRunIndices.h"
#include "analysis/RaceCardTexts.h"
#include "store/CodeTables.h"
#include "store/RecordLayout.h"
#include "store/TextFormat.h"
#include "demo/DemoStore.h"
#include "store/Encoding.h"

namespace furlong {
namespace {

const test::DemoFixture& Demo() {
  static test::DemoFixture demo;  // this file's own
  return demo;
}

// Everything one analysis run shows and stores, as one text.
std::string Dump(const RaceAnalysisResult& res, const RunnerAnalysisTable& table) {
  std::string s = res.analysed ? "A" : "-";
  s += res.message;
  for (const auto& l : res.headerLabels) s += l + "|";
  for (int r = 0; r < res.runnerCount; ++r) {
    for (const auto& c : res.verificationRows[r]) s += c + "|";
    for (const auto& c : res.predictionRows[r]) s += c + "|";
    const RunnerAnalysis& a = table[res.slot][r];
    for (int k = 0; k < kPastRuns; ++k)
      s += a.PastWeightValue[k] + a.PastAbility[k] + a.PastDIndex[k] + a.PastLegPower[k] + a.PastTotal[k] +
           a.PastInterval[k] + a.PastStyleValue[k];
    s += a.AbilityAvg + a.AbilityBest + a.DIndexAvg + a.DIndexBest + a.LegPowerAvg + a.LegPowerBest + a.Mark;
    s += std::to_string(a.AbilityAvgRank) + std::to_string(a.TotalLastRank) + std::to_string(a.LongshotIndex) +
         std::to_string(a.Eliminated) + "\n";
  }
  for (int i = 0; i < 6; ++i) s += res.bets[i] + res.betPayouts[i] + BetColourName(res.betColours[i]);
  for (const auto& c : res.diagram)
    for (int i = 0; i < c.count; ++i)
      s += std::to_string(c.numbers[i].horse) + "," + std::to_string(c.numbers[i].x) + "," +
           std::to_string(c.numbers[i].y) + ";";
  for (const auto& e : res.resultPanel.wide) s += e.result + e.popularity + e.payout;
  return s + res.dataSufficiencyText;
}

TEST(DemoAnalysis, EveryRaceAnalysesTheSameTwice) {
  const test::DemoFixture& demo = Demo();
  ASSERT_FALSE(demo.summary.meetings.empty());
  Store store(demo.dir.path(), false);
  int analysed = 0, withBets = 0, withDoubleCircle = 0;
  for (const std::string& meeting : demo.summary.meetings) {
    MeetingFlow flow(store);
    ASSERT_TRUE(flow.DateComboChange(Utf8ToSjis(meeting))) << meeting;
    const int items = static_cast<int>(flow.RaceList().size());
    ASSERT_GT(items, 0) << meeting;
    std::vector<std::string> first;
    for (int i = 0; i < items; ++i) {
      const RaceAnalysisResult* res = flow.DatListClick(i);
      first.push_back(Dump(*res, flow.Analyzer().Runners()));
      analysed += res->analysed;
      withBets += !res->bets[0].empty();
      for (int r = 0; r < res->runnerCount; ++r)
        withDoubleCircle += flow.Analyzer().Runners()[res->slot][r].Mark == SJ("◎");
    }
    // Again, in reverse order, so no race leans on the one analysed before it.
    for (int i = items - 1; i >= 0; --i)
      EXPECT_EQ(Dump(*flow.DatListClick(i), flow.Analyzer().Runners()), first[i]) << meeting << " item " << i;
  }
  EXPECT_EQ(analysed, demo.summary.races);
  EXPECT_GT(withDoubleCircle, 0);
  EXPECT_GT(withBets, 0);
}

TEST(DemoAnalysis, TheJsonExportOfAMeetingIsTheSameOnEveryRun) {
  const test::DemoFixture& demo = Demo();
  ASSERT_FALSE(demo.summary.meetings.empty());
  const std::string meeting = demo.summary.meetings.front();
  const std::string root = demo.dir.path().string();
  auto run = [&] {
    const char* argv[] = {"furlong-cli", "analyze", "--root", root.c_str(), "--meeting", meeting.c_str(), "--json"};
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli(7, argv, out, err), 0) << err.str();
    return out.str();
  };
  const std::string a = run();
  EXPECT_NE(a.find("\"races\""), std::string::npos);
  EXPECT_EQ(run(), a);
}

// The race card as data: its texts follow the analysis and the records, the
// filters grey exactly the runs they leave out, and furlong-cli prints the
// same rows as JSON and CSV.
TEST(DemoAnalysis, RaceCardAndIndexTableRowsFollowTheAnalysisAndTheFilters) {
  const test::DemoFixture& demo = Demo();
  Store store(demo.dir.path(), false);
  const std::string meeting = demo.summary.meetings.front();
  MeetingFlow flow(store);
  ASSERT_TRUE(flow.DateComboChange(Utf8ToSjis(meeting)));
  int greyedBySurface = 0, keptBySurface = 0, greyedByDistance = 0;
  for (int i = 0; i < static_cast<int>(flow.RaceList().size()); ++i) {
    const RaceAnalysisResult* res = flow.DatListClick(i);
    const int s = res->slot;
    const DayTables& day = flow.Day();
    const int distance = FieldNumber(day.RaceRecords[s].view(), ra::kDistance);
    for (int r = 0; r < res->runnerCount; ++r) {
      const RunnerAnalysis& a = flow.Analyzer().Runners()[s][r];
      const RaceCardRow all = MakeRaceCardRow(day, a, s, r, SurfaceFilter::kAll, DistanceFilter::kAny);
      EXPECT_EQ(all.mark, a.Mark);
      EXPECT_EQ(all.turf[1].text, a.TurfMiddle);
      EXPECT_EQ(all.horse, FormatInt(r + 1, 2));
      EXPECT_EQ(all.turfWeight.colour, CardColour::kTurf);
      const RaceCardRow turf = MakeRaceCardRow(day, a, s, r, SurfaceFilter::kTurf, DistanceFilter::kAny);
      EXPECT_EQ(turf.dirtWeight.colour, CardColour::kSilver);
      const RaceCardRow same = MakeRaceCardRow(day, a, s, r, SurfaceFilter::kAll, DistanceFilter::kSame);
      for (int k = 0; k < kPastRuns; ++k) {
        const std::string_view pr = day.PastRaceRecords[s][r][k].view();
        const RaceCardPastRun& p = all.past[k];
        EXPECT_EQ(p.present, !IsBlank(ra::Year(pr)));
        if (!p.present || IsLocalOrOverseas(CourseCode(pr))) continue;
        EXPECT_EQ(p.ability.text, a.PastAbility[k]);
        EXPECT_NE(p.distance.colour, CardColour::kGreyed);
        const bool turfRun = IsTurnedTurf(FieldNumber(pr, ra::kTrackCode));
        (turf.past[k].distance.colour == CardColour::kGreyed ? greyedBySurface : keptBySurface) += 1;
        EXPECT_EQ(turf.past[k].distance.colour == CardColour::kGreyed, !turfRun);
        const bool sameDistance = FieldNumber(pr, ra::kDistance) == distance;
        EXPECT_EQ(same.past[k].finish.colour == CardColour::kGreyed, !sameDistance);
        greyedByDistance += !sameDistance;
      }
    }
  }
  EXPECT_GT(greyedBySurface, 0);
  EXPECT_GT(keptBySurface, 0);
  EXPECT_GT(greyedByDistance, 0);

  const std::string root = demo.dir.path().string();
  auto run = [&](std::vector<const char*> extra) {
    std::vector<const char*> argv = {"furlong-cli", "analyze", "--root", root.c_str(), "--meeting", meeting.c_str(),
                                     "--race", "1"};
    argv.insert(argv.end(), extra.begin(), extra.end());
    std::ostringstream out, err;
    EXPECT_EQ(cli::RunCli(static_cast<int>(argv.size()), argv.data(), out, err), 0) << err.str();
    return out.str();
  };
  const auto doc = nlohmann::json::parse(run({"--json"}));
  const auto& race = doc["races"][0];
  ASSERT_EQ(race["race_card"].size(), race["runners"].size());
  ASSERT_EQ(race["index_table"].size(), race["runners"].size());
  const auto& index = race["index_table"][0];
  EXPECT_EQ(index["mean"][1], race["runners"][0]["DIndexAvg"]);
  EXPECT_EQ(index["past_runs"][0]["values"][0], race["runners"][0]["PastAbility"][0]);
  EXPECT_EQ(index["best_rank"][0], std::string(RankLetter(race["runners"][0]["AbilityBestRank"].get<int>())));
  const auto& card = race["race_card"][0];
  EXPECT_EQ(card["mark"], race["runners"][0]["Mark"]);
  EXPECT_EQ(card["turf"][1]["text"], race["runners"][0]["TurfMiddle"]);
  EXPECT_EQ(card["past_runs"].size(), 5u);
  // The detailed race card: the same runner slots, its lines from the same analysis.
  ASSERT_EQ(race["detailed_race_card"].size(), race["runners"].size());
  const auto& detailed = race["detailed_race_card"][0];
  EXPECT_EQ(detailed["name"], card["name"]);
  EXPECT_EQ(detailed["past_runs"][0]["ability"]["text"], race["runners"][0]["PastAbility"][0]);
  EXPECT_EQ(detailed["distance_placings"][3]["text"], race["runners"][0]["AvgDistanceText5"]);
  const std::string csv = run({"--csv", "--race-card"});
  EXPECT_EQ(csv.rfind("race,label,枠,馬,", 0), 0u);
  std::size_t lines = 0;
  for (std::size_t at = csv.find("\r\n"); at != std::string::npos; at = csv.find("\r\n", at + 2)) ++lines;
  EXPECT_EQ(lines, race["runners"].size() + 1);
}

}  // namespace
}  // namespace furlong
