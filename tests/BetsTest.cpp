#include "analysis/Bets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "store/Encoding.h"

namespace furlong {
namespace {

struct Race {
  std::unique_ptr<RaceRunners> runners = std::make_unique<RaceRunners>();
  std::unique_ptr<RaceAnalysisResult> out = std::make_unique<RaceAnalysisResult>();
  RacePayouts payouts;
  void Mark(int horse, const char* mark) { (*runners)[horse - 1].Mark = Utf8ToSjis(mark); }
};

void SetPair(PayoutEntry& e, const std::string& pair, int amount, int popularity = 1) {
  std::memcpy(e.pair, pair.data(), pair.size());
  e.pairLength = static_cast<char>(pair.size());
  e.amount = amount;
  e.popularity = popularity;
}

// ◎ 5, ○ 2, ▲ 11, △4 7, △5 1, △6 9.
void MarkAll(Race& race) {
  race.Mark(5, "◎");
  race.Mark(2, "○");
  race.Mark(11, "▲");
  race.Mark(7, "△4");
  race.Mark(1, "△5");
  race.Mark(9, "△6");
  race.Mark(3, "△7");
  race.Mark(4, "消");
}

TEST(Bets, PairsFollowTheMarksLowerNumberFirst) {
  Race race;
  MarkAll(race);
  BetPairs pairs;
  MakeBetPairs(*race.runners, 16, pairs);
  ASSERT_EQ(pairs.count, 6);
  EXPECT_EQ(pairs.texts[0], " 2- 5");
  EXPECT_EQ(pairs.texts[1], " 5-11");
  EXPECT_EQ(pairs.texts[2], " 2-11");
  EXPECT_EQ(pairs.texts[3], " 5- 7");
  EXPECT_EQ(pairs.texts[4], " 1- 5");
  EXPECT_EQ(pairs.texts[5], " 5- 9");
}

TEST(Bets, FewerThanSixPairsShowNoBetsWhateverTheSufficiency) {
  Race race;
  MarkAll(race);
  race.Mark(9, "");  // no △6
  BetPairs pairs;
  MakeBetPairs(*race.runners, 16, pairs);
  EXPECT_EQ(pairs.count, 5);
  race.out->dataSufficiency = 100;
  race.out->bets[5] = "old";
  SetBets(pairs, race.payouts, 16, *race.out);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(race.out->bets[i], "");
    EXPECT_EQ(race.out->betColours[i], BetColour::kInfo);
  }
}

TEST(Bets, BetsNeedASufficiencyOf68) {
  Race race;
  MarkAll(race);
  BetPairs pairs;
  MakeBetPairs(*race.runners, 16, pairs);
  race.out->dataSufficiency = 67.9;
  SetBets(pairs, race.payouts, 16, *race.out);
  EXPECT_EQ(race.out->bets[0], "");
  race.out->dataSufficiency = 68.0;
  SetBets(pairs, race.payouts, 16, *race.out);
  EXPECT_EQ(race.out->bets[0], " 2- 5");
  EXPECT_EQ(race.out->bets[5], " 5- 9");
}

TEST(Bets, HitsOfNineRunnersOrMoreAreWideMagentaThenQuinellaRed) {
  Race race;
  MarkAll(race);
  BetPairs pairs;
  MakeBetPairs(*race.runners, 16, pairs);
  race.out->dataSufficiency = 100;
  SetPair(race.payouts.quinella[0], " 2- 5", 1230);
  SetPair(race.payouts.wide[0], " 2- 5", 450);
  SetPair(race.payouts.wide[1], " 5-11", 780);
  SetPair(race.payouts.wide[5], " 1- 5", 999);  // a sixth wide entry is not checked
  SetPair(race.payouts.bracketQuinella[0], " 5- 9", 640);  // not used with 16 runners
  SetBets(pairs, race.payouts, 16, *race.out);
  EXPECT_EQ(race.out->betColours[0], BetColour::kRed);
  EXPECT_EQ(race.out->betPayouts[0], "   1230");
  EXPECT_EQ(race.out->betColours[1], BetColour::kMagenta);
  EXPECT_EQ(race.out->betPayouts[1], "    780");
  EXPECT_EQ(race.out->betColours[4], BetColour::kInfo);
  EXPECT_EQ(race.out->betPayouts[4], "");
  EXPECT_EQ(race.out->betColours[5], BetColour::kInfo);
  EXPECT_STREQ(BetColourName(race.out->betColours[0]), "red");
  EXPECT_STREQ(BetColourName(race.out->betColours[1]), "magenta");
  EXPECT_STREQ(BetColourName(race.out->betColours[2]), "info");
}

TEST(Bets, SmallFieldsAreCheckedAgainstWideQuinellaThenBracketQuinella) {
  Race race;
  race.Mark(5, "◎");
  race.Mark(2, "○");
  race.Mark(7, "▲");
  race.Mark(6, "△4");
  race.Mark(1, "△5");
  race.Mark(3, "△6");
  BetPairs pairs;
  MakeBetPairs(*race.runners, 7, pairs);
  race.out->dataSufficiency = 100;
  // Seven runners: no bracket quinella is sold, the pairs pay as 馬連 and ワイド.
  SetPair(race.payouts.wide[0], " 2- 5", 450);
  SetPair(race.payouts.quinella[0], " 2- 5", 1230);
  SetPair(race.payouts.wide[1], " 5- 7", 380);
  SetBets(pairs, race.payouts, 7, *race.out);
  EXPECT_EQ(race.out->betColours[0], BetColour::kRed);  // 2-5: quinella after wide
  EXPECT_EQ(race.out->betPayouts[0], "   1230");
  EXPECT_EQ(race.out->betColours[1], BetColour::kMagenta);  // 5-7: wide only
  EXPECT_EQ(race.out->betPayouts[1], "    380");
  EXPECT_EQ(race.out->betColours[2], BetColour::kInfo);

  // A store that still holds a bracket quinella of a small field: it is
  // checked last, and only while the field has 8 runners or fewer.
  SetPair(race.payouts.bracketQuinella[1], " 5- 7", 870);
  SetBets(pairs, race.payouts, 8, *race.out);
  EXPECT_EQ(race.out->betColours[1], BetColour::kRed);
  EXPECT_EQ(race.out->betPayouts[1], "    870");
  SetBets(pairs, race.payouts, 9, *race.out);
  EXPECT_EQ(race.out->betColours[1], BetColour::kMagenta);
  EXPECT_EQ(race.out->betPayouts[1], "    380");
}

TEST(Bets, ResultPanelShowsPaidEntriesAndEmptiesTheRest) {
  RacePayouts p;
  ResultPanel panel;
  panel.win[0].result = "old";
  FillResultPanel(p, panel);  // a race not yet run
  for (const auto& e : panel.win) EXPECT_EQ(e.result + e.popularity + e.payout, "");
  for (const auto& e : panel.wide) EXPECT_EQ(e.result + e.popularity + e.payout, "");

  p.win[0].horse = 3;
  p.win[0].popularity = 1;
  p.win[0].amount = 250;
  p.place[2].horse = 12;
  p.place[2].popularity = 10;
  p.place[2].amount = 1520;
  SetPair(p.quinella[0], " 3-12", 12340, 25);
  SetPair(p.bracketQuinella[0], " 0- 0", 0, 0);
  SetPair(p.wide[6], " 3-12", 4560, 40);  // a seventh (dead-heat) entry is shown
  FillResultPanel(p, panel);
  EXPECT_EQ(panel.win[0].result, " 3");
  EXPECT_EQ(panel.win[0].popularity, " 1");
  EXPECT_EQ(panel.win[0].payout, "     250");
  EXPECT_EQ(panel.place[2].result, "12");
  EXPECT_EQ(panel.place[2].payout, "    1520");
  EXPECT_EQ(panel.quinella[0].result, " 3-12");
  EXPECT_EQ(panel.quinella[0].popularity, "25");
  EXPECT_EQ(panel.quinella[0].payout, "   12340");
  EXPECT_EQ(panel.bracketQuinella[0].result, "");
  EXPECT_EQ(panel.wide[6].result, " 3-12");
  EXPECT_EQ(panel.wide[6].payout, "    4560");
}

}  // namespace
}  // namespace furlong
