// The race analysis over the demo store: every race of every demo meeting,
// analysed twice, gives the same results.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Command.h"
#include "DemoTestStore.h"
#include "StoreTestSupport.h"
#include "analysis/MeetingFlow.h"
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

}  // namespace
}  // namespace furlong
