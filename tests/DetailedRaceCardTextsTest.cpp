// The detailed race card's texts and colour roles, from a small built day.
#include "analysis/DetailedRaceCardTexts.h"

#include <gtest/gtest.h>

#include <string>

#include "RaceDayBuilder.h"
#include "store/Encoding.h"

namespace furlong {
namespace {

std::string Utf8(std::string_view sjis) { return SjisToUtf8(sjis); }

// A runner with two career starts in today's field of 16: the last run at a
// JRA course on dirt, the one before at a local course.
TEST(DetailedRaceCardTexts, TwoRunsOnTheBottomLinesTheLocalRunGreyedAndBlankRunsAbove) {
  auto day = test::BlankDay();
  test::SetRace(*day, 0, "20040105", "06", 16);
  test::PastRun last;
  last.track = "24";
  last.corners = "01080900";
  test::SetPastRun(*day, 0, 0, 0, last);
  SeRecord& ps = day->PastRunRecords[0][0][0];
  test::PutAt(ps, 325, "000");  // no body weight
  test::PutAt(ps, 335, "02");   // finished second
  test::PutAt(ps, 364, "01");   // the favourite
  test::PastRun local;
  local.course = "30";
  local.date = "20031102";
  test::SetPastRun(*day, 0, 0, 1, local);
  RunnerAnalysis a;
  a.PastInterval = {"    ", "  60", "    ", "    ", "    "};
  a.PastLegPower = {" 400", "  98", "    ", "    ", "    "};
  a.DaysSinceLastRun = "   8";

  const DetailedRaceCardRow row = MakeDetailedRaceCardRow(*day, a, 0, 0);
  EXPECT_EQ(row.interval.colour, CardColour::kRed);

  const DetailedPastRunLine& l = row.past[0];
  EXPECT_EQ(l.bodyWeight.text, "---");
  EXPECT_EQ(l.popularity.text, "  1");
  EXPECT_EQ(l.popularity.colour, CardColour::kRed);
  EXPECT_EQ(l.finish.colour, CardColour::kBlue);
  EXPECT_EQ(l.development.colour, CardColour::kDirt);
  EXPECT_EQ(l.legPower.text, " ");
  // Corners against today's 16 runners: the leader red, 8th blue, 9th black,
  // nothing for a corner without a position.
  EXPECT_EQ(l.corners[0].text, " 1");
  EXPECT_EQ(l.corners[0].colour, CardColour::kRed);
  EXPECT_EQ(l.corners[1].colour, CardColour::kBlue);
  EXPECT_EQ(l.corners[2].colour, CardColour::kBlack);
  EXPECT_EQ(l.corners[3].text, "");
  // A run without an interval keeps the colour of the line above: the local
  // run's own blue, not its grey.
  EXPECT_EQ(l.interval.text, " -- ");
  EXPECT_EQ(l.interval.colour, CardColour::kBlue);

  const DetailedPastRunLine& greyed = row.past[1];
  EXPECT_EQ(Utf8(greyed.racecourse.text), "地方  ");
  for (const DetailedPastRunColumn& column : kDetailedPastRunColumns)
    if (column.text) {
      EXPECT_EQ((greyed.*column.text).colour, CardColour::kGreyed) << column.key;
    }

  // The three lines above the runs: blank texts, no " -- ", no corners.
  for (int k = 2; k < kPastRuns; ++k) {
    const DetailedPastRunLine& blank = row.past[static_cast<std::size_t>(k)];
    EXPECT_EQ(blank.date.text, " ");
    EXPECT_EQ(blank.interval.text, "    ");
    EXPECT_EQ(blank.runners.text, "   ");
    EXPECT_EQ(blank.weightCarried.text, " ");
    EXPECT_EQ(blank.winOdds.text, " ");
    EXPECT_EQ(blank.legPower.text, "     ");
    EXPECT_EQ(blank.corners[0].text, "");
  }
}

TEST(DetailedRaceCardTexts, RecordColumnsAddTheDistanceBandsAndLeaveARateBlankWithoutRuns) {
  auto day = test::BlankDay();
  UmRecord& um = day->HorseRecords[0][0];
  test::PutAt(um, 1107, "003002001000000004");  // all runs
  test::PutAt(um, 1485, "001000000000000001");  // turf up to 1600
  test::PutAt(um, 1539, "002000001000000000");  // dirt up to 1600
  RunnerAnalysis a;
  a.AvgDistanceText5 = "5";
  a.AvgDistanceText2 = "2";
  const DetailedRecordTexts t = MakeDetailedRecordTexts(um.view(), a);
  EXPECT_EQ(Utf8(t.placings[0].text), "全実績  3- 2- 1- 0- 0- 4");
  EXPECT_EQ(Utf8(t.placeRates[0].text), "全実績  60.0%");
  EXPECT_EQ(Utf8(t.placings[3].text), "ダ・右  0- 0- 0- 0- 0- 0");
  EXPECT_EQ(t.placeRates[3].text, " ");
  EXPECT_EQ(t.placeRates[3].colour, CardColour::kDirt);
  EXPECT_EQ(t.placings[1].colour, CardColour::kTurf);
  EXPECT_EQ(Utf8(t.distancePlacings[0].text), "    ～1600  3- 0- 1- 0- 0- 1");
  EXPECT_EQ(t.distancePlacings[3].text, "5");
  EXPECT_EQ(t.distancePlacings[4].text, "2");
}

}  // namespace
}  // namespace furlong
