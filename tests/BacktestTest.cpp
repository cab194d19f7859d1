// The return on the analysis's own bets: the counting rules of one race, the
// groups of a race record, and the whole run over demo stores.
#include "reports/Backtest.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "CliTestSupport.h"
#include "DemoTestStore.h"
#include "StoreTestSupport.h"
#include "demo/DemoStore.h"
#include "reports/HitReport.h"
#include "store/Encoding.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;
using test::Put;
using test::PutNum;

void SetPair(PayoutEntry& e, std::string_view pair, int amount) {
  std::memcpy(e.pair, pair.data(), pair.size());
  e.pairLength = static_cast<char>(pair.size());
  e.amount = amount;
}

void SetHorse(PayoutEntry& e, int horse, int amount) {
  e.horse = horse;
  e.amount = amount;
}

const std::array<std::string, 6> kBets = {" 2- 5", " 5-11", " 2-11", " 5- 7", " 1- 5", " 5- 9"};

// A run race: 5 won (a dead heat with 2), 2-5 paid as quinella, 2-5 and 5-11
// as wides, with a dead-heat wide 5-11 in the seventh entry.
RacePayouts RunRace() {
  RacePayouts p;
  SetHorse(p.win[0], 5, 350);
  SetHorse(p.win[1], 2, 420);
  SetHorse(p.place[0], 5, 150);
  SetHorse(p.place[1], 2, 160);
  SetHorse(p.place[2], 11, 300);
  SetPair(p.quinella[0], " 2- 5", 1230);
  SetPair(p.wide[0], " 2- 5", 450);
  SetPair(p.wide[1], " 5-11", 900);
  SetPair(p.wide[2], " 2-11", 0);
  SetPair(p.wide[6], " 5-11", 700);
  return p;
}

TEST(BacktestRace, DeadHeatsPayEveryMatchingEntryAndAHitIsABetThatReturned) {
  const RaceReturn r = ScoreRace(true, kBets, 5, RunRace());
  ASSERT_TRUE(r.counted);
  const BetTotals& wide = r.totals[BetKind::kWide];
  EXPECT_EQ(wide, (BetTotals{1, 6, 2, 600, 450 + 900 + 700}));  // 2-11 paid 0: no hit
  EXPECT_EQ(r.totals[BetKind::kQuinella], (BetTotals{1, 6, 1, 600, 1230}));
  EXPECT_EQ(r.totals[BetKind::kWin], (BetTotals{1, 1, 1, 100, 350}));
  EXPECT_EQ(r.totals[BetKind::kPlace], (BetTotals{1, 1, 1, 100, 150}));
  // ◎ on the other dead-heat winner is paid its own entry; on a loser, nothing.
  EXPECT_EQ(ScoreRace(true, kBets, 2, RunRace()).totals[BetKind::kWin].returned, 420);
  EXPECT_EQ(ScoreRace(true, kBets, 9, RunRace()).totals[BetKind::kWin], (BetTotals{1, 1, 0, 100, 0}));
}

TEST(BacktestRace, WithoutMarkOrBetsNothingOfThatKindIsStaked) {
  const std::array<std::string, 6> none{};
  const RaceReturn r = ScoreRace(true, none, 0, RunRace());
  EXPECT_TRUE(r.counted);
  for (BetKind k : kAllBetKinds) EXPECT_EQ(r.totals[k], BetTotals{}) << BetKindKey(k);

  // Pairs without any wide payout above 0 are not staked as wides.
  RacePayouts noWide = RunRace();
  noWide.wide = {};
  const RaceReturn w = ScoreRace(true, kBets, 5, noWide);
  EXPECT_EQ(w.totals[BetKind::kWide], BetTotals{});
  EXPECT_EQ(w.totals[BetKind::kQuinella].bets, 6);
}

TEST(BacktestRace, UnrunAndStoppedRacesDoNotCount) {
  EXPECT_FALSE(ScoreRace(true, kBets, 5, RacePayouts{}).counted);
  RacePayouts zeroWin = RunRace();
  SetHorse(zeroWin.win[0], 5, 0);
  SetHorse(zeroWin.win[1], 2, 0);
  EXPECT_FALSE(ScoreRace(true, kBets, 5, zeroWin).counted);
  EXPECT_FALSE(ScoreRace(false, kBets, 5, RunRace()).counted);
}

TEST(BacktestRace, RaceGroupsFollowTheRaceRecord) {
  std::string ra = test::RaceHead("RA", kRaLength, "20240518", "05", 11);
  PutNum(ra, 698, 4, 1600);
  PutNum(ra, 706, 2, 23);
  Put(ra, 635, "999");
  PutNum(ra, 882, 2, 8);
  auto g = RaceGroups(ra);
  EXPECT_EQ(SjisToUtf8(g[0].name), "東京");
  EXPECT_EQ(SjisToUtf8(g[1].name), "ダート");
  EXPECT_EQ(SjisToUtf8(g[2].name), "短");
  EXPECT_EQ(SjisToUtf8(g[3].name), "ｵｰﾌﾟﾝ");
  EXPECT_EQ(SjisToUtf8(g[4].name), "8頭以下");
  EXPECT_EQ(g[5].name, "2024-05");
  PutNum(ra, 698, 4, 2201);
  PutNum(ra, 706, 2, 22);
  Put(ra, 635, "010");
  PutNum(ra, 882, 2, 17);
  g = RaceGroups(ra);
  EXPECT_EQ(SjisToUtf8(g[1].name), "芝");
  EXPECT_EQ(SjisToUtf8(g[2].name), "長");
  EXPECT_EQ(SjisToUtf8(g[3].name), "1000下");
  EXPECT_EQ(SjisToUtf8(g[4].name), "17-18頭");
  PutNum(ra, 706, 2, 51);
  EXPECT_EQ(SjisToUtf8(RaceGroups(ra)[1].name), "障害");
  PutNum(ra, 706, 2, 30);
  EXPECT_EQ(SjisToUtf8(RaceGroups(ra)[1].name), "その他");
}

TEST(BacktestRace, DatesMustBeCalendarDates) {
  EXPECT_TRUE(IsValidDate("20240229"));
  EXPECT_FALSE(IsValidDate("20230229"));
  EXPECT_FALSE(IsValidDate("2024-1-1"));
  EXPECT_FALSE(IsValidDate("20241301"));
  EXPECT_EQ(MeetingDate(Utf8ToSjis("2024年11月16日東京")), "20241116");
}

// ---- the run over the demo store -------------------------------------------

const test::DemoFixture& Demo() {
  static test::DemoFixture demo;  // this file's own
  return demo;
}

int Sum(const std::vector<DateTotals>& dates, BetKind k, const std::string& date) {
  for (const DateTotals& d : dates)
    if (d.date == date) return static_cast<int>(d.totals[k].hits);
  return 0;
}

TEST(Backtest, EveryHitOfTheHitReportIsAHitAndTwoThreadsGiveTheSameResult) {
  Store store(Demo().dir.path(), false);
  BacktestOptions one;
  std::vector<int> progress;
  one.progress = [&](int done, int total) { progress.push_back(done * 100 + total); };
  const BacktestResult r = RunBacktest(store, one);
  EXPECT_EQ(r.meetings, 6);
  EXPECT_EQ(r.races, Demo().summary.finishedRaces);
  EXPECT_EQ(progress.front(), 106);
  EXPECT_EQ(progress.back(), 606);

  BacktestOptions two;
  two.threads = 2;
  EXPECT_EQ(RunBacktest(store, two), r);

  // The hit report of each date: a wide line for each wide hit, a quinella
  // line for each quinella hit (every amount above 0 is reported).
  MeetingFlow flow(store);
  flow.MakeDataListBtnClick();
  int hits = 0;
  for (const char* date : {"20241116", "20241117"}) {
    const std::string calendarDate = Utf8ToSjis(std::string(date).substr(0, 4) + "年" + std::string(date).substr(4, 2) +
                                                "月" + std::string(date).substr(6, 2) + "日");
    const HitReportResult report = RunHitReport(store, flow, calendarDate, HitReportKind::kAll);
    int wide = 0, quinella = 0;
    for (const std::string& line : report.reportLines) {
      wide += line.find(SJ("R[ワイド]")) != std::string::npos;
      quinella += line.find(SJ("R[馬連　]")) != std::string::npos;
    }
    EXPECT_EQ(wide, Sum(r.dates, BetKind::kWide, date)) << date;
    EXPECT_EQ(quinella, Sum(r.dates, BetKind::kQuinella, date)) << date;
    hits += wide + quinella;
  }
  EXPECT_GT(hits, 0);
}

TEST(Backtest, TheRangeIsInclusiveAndAnEmptyRangeGivesAnEmptyResult) {
  Store store(Demo().dir.path(), false);
  BacktestOptions o;
  o.from = "20241117";
  o.to = "20241117";
  const BacktestResult sunday = RunBacktest(store, o);
  EXPECT_EQ(sunday.meetings, 3);
  ASSERT_EQ(sunday.dates.size(), 1u);
  EXPECT_EQ(sunday.dates[0].date, "20241117");
  KindTotals months;
  for (const auto& [key, g] : sunday.by[static_cast<int>(GroupKind::kMonth)]) months += g.totals;
  EXPECT_EQ(months, sunday.total);

  o.from = "20250101";
  o.to.clear();
  const BacktestResult none = RunBacktest(store, o);
  EXPECT_EQ(none.meetings, 0);
  EXPECT_EQ(none.races, 0);
  EXPECT_EQ(none.total, KindTotals{});
}

TEST(Backtest, AMeetingThatCannotBeLoadedIsSkippedAndNamed) {
  test::ScratchDir dir;
  WriteDemoStore(dir.path());
  // Without its runner file a meeting cannot be chosen.
  Store store(dir.path(), false);
  fs::remove(store.RunnerFile(Utf8ToSjis("2024年11月16日京都")));
  std::vector<std::string> named;
  BacktestOptions o;
  o.skipped = [&](const std::string& meeting, const std::string&) { named.push_back(meeting); };
  const BacktestResult r = RunBacktest(store, o);
  EXPECT_EQ(r.meetings, 5);
  EXPECT_EQ(r.skippedMeetings, 1);
  EXPECT_EQ(named, std::vector<std::string>{"2024年11月16日京都"});
}

TEST(Backtest, ASeasonOfWeekendsIsRunExceptTheDemoSunday) {
  test::ScratchDir dir;
  DemoOptions options;
  options.weeks = 3;
  const DemoSummary s = WriteDemoStore(dir.path(), options);
  EXPECT_EQ(s.meetings.size(), 18u);
  EXPECT_EQ(s.races, 216);
  EXPECT_EQ(s.finishedRaces, 216 - 12);
  Store store(dir.path(), false);
  BacktestOptions o;
  o.threads = 2;
  const BacktestResult r = RunBacktest(store, o);
  EXPECT_EQ(r.races, s.finishedRaces);
  // The analysis tells the runners apart: ◎ wins more often than a runner at random.
  const BetTotals& win = r.total[BetKind::kWin];
  EXPECT_GT(win.hits * 14, win.bets);
  EXPECT_EQ(r.meetings, 18);
}

// ---- the command -------------------------------------------------------------

using test::Cli;
using test::CliRun;

TEST(BacktestCommand, WritesTheDocumentAndRefusesBadDates) {
  const std::string root = PathUtf8(Demo().dir.path());
  CliRun r = Cli({"backtest", "--root", root, "--json", "--from", "20241116"});
  ASSERT_EQ(r.code, 0) << r.err;
  for (const char* key : {"\"from\": \"20241116\"", "\"to\": null", "\"meetings\": 6", "\"races\": 60", "\"by\"",
                          "\"racecourse\"", "\"東京\"", "\"field_size\"", "\"wide\"", "\"return\""})
    EXPECT_NE(r.out.find(key), std::string::npos) << key;

  r = Cli({"backtest", "--root", root, "--csv"});
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out.rfind("group_kind,group,bet,races,bets,hits,stake,return,hit_rate,return_rate\r\ntotal,,win,", 0), 0u);

  r = Cli({"backtest", "--root", root, "--from", "20300101"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.err.find("指定の期間に開催がありません。"), std::string::npos);

  EXPECT_EQ(Cli({"backtest", "--root", root, "--from", "20241131"}).code, 2);
  EXPECT_EQ(Cli({"backtest", "--root", root, "--from", "20241117", "--to", "20241116"}).code, 2);
  EXPECT_EQ(Cli({"backtest", "--root", root, "--json", "--csv"}).code, 2);
}

TEST(BacktestCommand, AnalyzeWritesThePredictionGridsAsCsv) {
  const std::string root = PathUtf8(Demo().dir.path());
  CliRun r = Cli({"analyze", "--root", root, "--meeting", "2024年11月16日東京", "--csv"});
  ASSERT_EQ(r.code, 0) << r.err;
  std::istringstream lines(r.out);
  std::string line;
  int rows = 0;
  std::getline(lines, line);
  EXPECT_EQ(line, "race,label,枠,馬,馬名,騎手,調教師,軸指数,連指数,穴指数,印,着\r");
  while (std::getline(lines, line)) ++rows;
  Store store(Demo().dir.path(), false);
  MeetingFlow flow(store);
  int runners = 0;
  AnalyseEveryRace(flow, Utf8ToSjis("2024年11月16日東京"), {},
                   [&](const RaceAnalysisResult& res) { runners += res.runnerCount; });
  EXPECT_EQ(rows, runners);
  EXPECT_GT(rows, 12 * 8);
}

}  // namespace
}  // namespace furlong
