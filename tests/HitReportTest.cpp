#include "reports/HitReport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/TextFormat.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;
using test::Put;
using test::PutNum;

std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

void SetPair(PayoutEntry& e, std::string_view pair, int amount) {
  std::memcpy(e.pair, pair.data(), pair.size());
  e.pairLength = static_cast<char>(pair.size());
  e.amount = amount;
  e.popularity = 1;
}

std::string RaceRecordOf(std::string_view date, std::string_view course, int race) {
  std::string ra = test::RaceHead("RA", kRaLength, date, course, race);
  Put(ra, 593, S("ジャンプ特別"));
  return ra;
}

const std::array<std::string, 6> kBets = {" 2- 5", " 5-11", " 2-11", " 5- 7", " 1- 5", " 5- 9"};

struct Lines {
  std::vector<std::string> report, log;
};

Lines Collect(std::string_view ra, const RacePayouts& p, HitReportKind kind, std::array<std::string, 6> bets = kBets) {
  Lines l;
  CollectRaceHits(ra, bets, p, ThresholdsOf(kind), l.report, l.log);
  return l;
}

// ---- the lines of one race ------------------------------------------------------

TEST(HitReport, HitLinesCarryIconColourCourseRaceTagPairPayoutAndRaceName) {
  RacePayouts p;
  SetPair(p.wide[0], " 2- 5", 450);
  SetPair(p.quinella[0], " 2- 5", 1230);
  Lines l = Collect(RaceRecordOf("20040105", "06", 1), p, HitReportKind::kAll);
  // One pair that paid both ways: the wide line first.
  ASSERT_EQ(l.report.size(), 2u);
  EXPECT_EQ(SjisToUtf8(l.report[0]), "<img src=\"./image/lis2.gif\"><font color=\"blue\">中山 1R[ワイド]：　 2- 5"
                                     "/配当     450円　ジャンプ特別</font>");
  EXPECT_EQ(SjisToUtf8(l.report[1]), "<img src=\"./image/lis2.gif\"><font color=\"blue\">中山 1R[馬連　]：　 2- 5"
                                     "/配当    1230円　ジャンプ特別</font>");
  ASSERT_EQ(l.log.size(), 2u);
  EXPECT_EQ(SjisToUtf8(l.log[0]), "200401050601R[ワイド]：　 2- 5/配当     450円");
  EXPECT_EQ(SjisToUtf8(l.log[1]), "200401050601R[馬連　]：　 2- 5/配当    1230円");
}

TEST(HitReport, ThresholdsAndRedFromValues) {
  const std::string ra = RaceRecordOf("20040105", "09", 11);
  RacePayouts p;
  SetPair(p.wide[0], " 2- 5", 3000);
  SetPair(p.wide[1], " 5-11", 3010);
  SetPair(p.wide[2], " 2-11", 5000);
  SetPair(p.quinella[0], " 5- 7", 5000);
  SetPair(p.quinella[1], " 1- 5", 9990);
  SetPair(p.quinella[2], " 5- 9", 10000);

  Lines longshot = Collect(ra, p, HitReportKind::kLongshot);
  ASSERT_EQ(longshot.report.size(), 4u);  // wide 3000 and quinella 5000 are not greater
  EXPECT_NE(longshot.report[0].find(" 5-11"), std::string::npos);
  EXPECT_EQ(longshot.report[0].rfind(R"(<img src="./image/lis2.gif"><font color="blue">)", 0), 0u);
  EXPECT_NE(longshot.report[1].find(" 2-11"), std::string::npos);
  EXPECT_EQ(longshot.report[1].rfind(R"(<img src="./image/lis1.gif"><font color="red">)", 0), 0u);
  EXPECT_NE(longshot.report[2].find(" 1- 5"), std::string::npos);
  EXPECT_EQ(longshot.report[2].rfind(R"(<img src="./image/lis2.gif"><font color="blue">)", 0), 0u);
  EXPECT_NE(longshot.report[3].find(" 5- 9"), std::string::npos);
  EXPECT_EQ(longshot.report[3].rfind(R"(<img src="./image/lis1.gif"><font color="red">)", 0), 0u);
  EXPECT_NE(SjisToUtf8(longshot.report[3]).find("阪神11R[馬連　]：　 5- 9/配当   10000円"), std::string::npos);

  Lines all = Collect(ra, p, HitReportKind::kAll);
  EXPECT_EQ(all.report.size(), 6u);
  EXPECT_EQ(all.report[0].rfind(R"(<img src="./image/lis2.gif"><font color="blue">)", 0), 0u);  // wide 3000
}

TEST(HitReport, EmptyBetsNeverMatchAndAllSevenWideEntriesCount) {
  const std::string ra = RaceRecordOf("20040105", "06", 2);
  RacePayouts p;
  p.wide[0].amount = 100;  // an entry with an empty pair text
  SetPair(p.wide[6], " 5- 9", 800);  // a dead heat's seventh entry
  EXPECT_TRUE(Collect(ra, p, HitReportKind::kAll, {"", "     ", "", "", "", ""}).report.empty());
  Lines l = Collect(ra, p, HitReportKind::kAll);
  ASSERT_EQ(l.report.size(), 1u);
  EXPECT_NE(SjisToUtf8(l.report[0]).find(" 5- 9/配当     800円"), std::string::npos);
}

// ---- whole dates through the meeting flow ---------------------------------------

// A store with meetings whose races the analysis gives six bets: every
// runner has three earlier runs with their race records.
class HitStore {
 public:
  explicit HitStore(const fs::path& root) : store(root) {}

  // `unnumberedRace`: a race whose first runner has no horse number.
  void AddMeeting(const std::string& date, const std::string& course, int races, int runners, int unnumberedRace = 0) {
    for (int race = 1; race <= races; ++race) {
      std::string ra = RaceRecordOf(date, course, race);
      Put(ra, 22, "01");
      Put(ra, 24, "01");
      PutNum(ra, 698, 4, 1600);
      Put(ra, 706, "11");
      PutNum(ra, 882, 2, runners);
      store.MergeByRaceKey(store.RaceFile(MeetingBaseName(ra)), ZeroRecordStamp(ra), true);
      for (int r = 0; r < runners; ++r) AddRunner(date, course, race, r, runners, race == unnumberedRace);
    }
  }

  // Files an HR record of the race with the given wide and quinella pairs.
  void AddPayouts(const std::string& date, const std::string& course, int race,
                  const std::vector<std::pair<std::string, int>>& wide,
                  const std::vector<std::pair<std::string, int>>& quinella) {
    std::string hr = test::RaceHead("HR", kHrLength, date, course, race);
    auto put = [&](std::size_t col, const std::string& pair, int amount) {
      const int a = static_cast<int>(ReadNumber(pair.substr(0, 2))), b = static_cast<int>(ReadNumber(pair.substr(3, 2)));
      PutNum(hr, col, 2, a);
      PutNum(hr, col + 2, 2, b);
      PutNum(hr, col + 4, 9, amount);
      PutNum(hr, col + 13, 3, 1);
    };
    for (std::size_t e = 0; e < wide.size(); ++e) put(294 + 16 * e, wide[e].first, wide[e].second);
    for (std::size_t e = 0; e < quinella.size(); ++e) put(246 + 16 * e, quinella[e].first, quinella[e].second);
    store.MergeByRaceKey(store.PayoutFile(MeetingBaseName(hr)), ZeroRecordStamp(hr), false);
  }

  Store store;

 private:
  void AddRunner(const std::string& date, const std::string& course, int race, int r, int n, bool unnumbered) {
    char id[11];
    std::snprintf(id, sizeof id, "2000%02d%02d%02d", std::stoi(course), race, r + 1);
    std::string se = test::RaceHead("SE", kSeLength, date, course, race);
    PutNum(se, 28, 1, r / 2 + 1 > 8 ? 8 : r / 2 + 1);
    PutNum(se, 29, 2, r + 1);
    if (unnumbered && r == 0) Put(se, 29, "  ");
    Put(se, 31, id);
    Put(se, 41, S("テストホース"));
    PutNum(se, 289, 3, 540 + r);
    store.PutRunnerSlot(store.RunnerFile(MeetingBaseName(se)), se, race, r + 1);
    for (int k = 0; k < 3; ++k) {
      if ((r + k) % 7 == 6) continue;  // some runners miss some runs
      const std::string pastDate = "200312" + std::string(k == 0 ? "20" : k == 1 ? "13" : "06");
      const int pastRace = r + 1;
      std::string past = test::RaceHead("SE", kSeLength, pastDate, "05", pastRace);
      PutNum(past, 29, 2, r + 1);
      Put(past, 31, id);
      PutNum(past, 289, 3, 530 + 3 * r + k);
      PutNum(past, 339, 4, 1338 + (r * 7 + k * 3) % 20);
      char corners[9];
      std::snprintf(corners, sizeof corners, "%02d%02d%02d%02d", (r + k) % n + 1, (r * 3 + k) % n + 1, (r * 5) % n + 1,
                    (r * 2 + k) % n + 1);
      Put(past, 352, corners);
      PutNum(past, 391, 3, 335 + (r * 5 + k) % 17);
      char difference[5];
      std::snprintf(difference, sizeof difference, "+%03d", r * 2);
      Put(past, 532, difference);
      store.YearFolder("SEI", "2000", true);
      store.MergeByRaceKey(store.HorseHistoryFile(id), ZeroRecordStamp(past), false);

      std::string pastRa = test::RaceHead("RA", kRaLength, pastDate, "05", pastRace);
      Put(pastRa, 635, "010");
      PutNum(pastRa, 698, 4, 1600);
      Put(pastRa, 706, "11");
      store.YearFolder("SEIR", "2003", true);
      store.MergeByRaceKey(store.ResultsRaceFile(pastRa), ZeroRecordStamp(pastRa), false);
    }
  }
};

std::map<std::string, std::array<std::string, 6>> BetsByRace(const Store& store, MeetingFlow& flow) {
  std::map<std::string, std::array<std::string, 6>> bets;
  for (const std::string& meeting : flow.Calendar()) {
    if (!flow.DateComboChange(meeting)) continue;
    for (int i = 0; i < static_cast<int>(flow.RaceList().size()); ++i) {
      const RaceAnalysisResult* res = flow.DatListClick(i);
      bets[SjisToUtf8(meeting) + std::to_string(res->slot + 1)] = res->bets;
    }
  }
  return bets;
}

std::vector<std::string> FileLines(const fs::path& p) {
  std::string text = ReadWholeFile(p);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find("\r\n", start)) != std::string::npos; start = at + 2)
    lines.push_back(SjisToUtf8(text.substr(start, at - start)));
  EXPECT_EQ(start, text.size()) << "every line ends in CR LF";
  return lines;
}

TEST(HitReport, ADateWithTwoRacecoursesListsBothAndIsNamedAfterTheLastLoaded) {
  test::ScratchDir dir;
  HitStore hs(dir.path());
  hs.AddMeeting("20040105", "06", 2, 12);  // 中山
  hs.AddMeeting("20040105", "08", 1, 12);  // 京都
  hs.AddMeeting("20040104", "06", 1, 12);
  MeetingFlow flow(hs.store);
  flow.MakeDataListBtnClick();
  auto bets = BetsByRace(hs.store, flow);
  const auto& nakayama1 = bets["2004年01月05日中山1"];
  const auto& kyoto1 = bets["2004年01月05日京都1"];
  for (const auto& [race, six] : bets)
    for (const auto& b : six) ASSERT_EQ(b.size(), 5u) << race << ": the fixture must give six bets";

  // No payouts yet: no hit, nothing written.
  HitReportResult none = RunHitReport(hs.store, flow, S("2004年01月05日中山"), HitReportKind::kAll);
  EXPECT_FALSE(none.written);
  EXPECT_EQ(none.meetings, 2);
  EXPECT_FALSE(fs::exists(dir.path() / "HPupload"));

  hs.AddPayouts("20040105", "06", 1, {{nakayama1[0], 450}, {nakayama1[1], 5000}}, {{nakayama1[0], 1230}});
  hs.AddPayouts("20040105", "06", 2, {{" 1-18", 99999}}, {});
  hs.AddPayouts("20040105", "08", 1, {}, {{" 1-18", 500}, {kyoto1[2], 12000}});
  hs.AddPayouts("20040104", "06", 1, {{bets["2004年01月04日中山1"][0], 700}}, {});

  HitReportResult r = RunHitReport(hs.store, flow, S("2004年01月05日中山"), HitReportKind::kAll);
  ASSERT_TRUE(r.written);
  EXPECT_EQ(r.hits, 4);
  EXPECT_EQ(r.reportPath, dir.path() / "HPupload" / "TK2004010508.txt");
  const std::string name = "　ジャンプ特別</font>";
  const std::vector<std::string> report = {
      "<br /><img src=\"./image/balist.gif\"><font color=\"black\">【ハロンボード for JRA-VAN Data Lab.】</font>",
      // Bet by bet: its wide hits, then its quinella hits.
      "<img src=\"./image/lis2.gif\"><font color=\"blue\">中山 1R[ワイド]：　" + nakayama1[0] + "/配当     450円" + name,
      "<img src=\"./image/lis2.gif\"><font color=\"blue\">中山 1R[馬連　]：　" + nakayama1[0] + "/配当    1230円" + name,
      "<img src=\"./image/lis1.gif\"><font color=\"red\">中山 1R[ワイド]：　" + nakayama1[1] + "/配当    5000円" + name,
      "<img src=\"./image/lis1.gif\"><font color=\"red\">京都 1R[馬連　]：　" + kyoto1[2] + "/配当   12000円" + name,
  };
  EXPECT_EQ(FileLines(r.reportPath), report);
  EXPECT_EQ(r.reportText, ReadWholeFile(r.reportPath));
  EXPECT_EQ(r.logPath, dir.path() / "HPupload" / "Rararavu.txt");
  const std::vector<std::string> log = {
      " ハロンボード for JRA-VAN Data Lab.",
      "200401050601R[ワイド]：　" + nakayama1[0] + "/配当     450円",
      "200401050601R[馬連　]：　" + nakayama1[0] + "/配当    1230円",
      "200401050601R[ワイド]：　" + nakayama1[1] + "/配当    5000円",
      "200401050801R[馬連　]：　" + kyoto1[2] + "/配当   12000円",
  };
  EXPECT_EQ(FileLines(r.logPath), log);
  // The flow is left on the last meeting of the date.
  EXPECT_EQ(SjisToUtf8(flow.Meeting()), "2004年01月05日京都");

  // "穴的中" from the date part alone: only the high-paying hits, appended to the log.
  HitReportResult longshot = RunHitReport(hs.store, flow, S("2004年01月05日"), HitReportKind::kLongshot);
  ASSERT_TRUE(longshot.written);
  EXPECT_EQ(FileLines(longshot.reportPath), (std::vector<std::string>{report[0], report[3], report[4]}));
  std::vector<std::string> grown = log;
  grown.push_back(log[3]);
  grown.push_back(log[4]);
  EXPECT_EQ(FileLines(longshot.logPath), grown);
}

TEST(HitReport, ARaceTheAnalysisStopsAtIsNotComparedWithThePreviousRacesBets) {
  test::ScratchDir dir;
  HitStore hs(dir.path());
  hs.AddMeeting("20040105", "06", 2, 12, 2);
  MeetingFlow flow(hs.store);
  flow.MakeDataListBtnClick();
  auto bets = BetsByRace(hs.store, flow);
  ASSERT_EQ(bets["2004年01月05日中山1"][0].size(), 5u);
  // Race 2 is not analysed; the bets still on show are race 1's.
  hs.AddPayouts("20040105", "06", 2, {{bets["2004年01月05日中山1"][0], 450}}, {});
  HitReportResult r = RunHitReport(hs.store, flow, S("2004年01月05日中山"), HitReportKind::kAll);
  EXPECT_FALSE(r.written);
  EXPECT_EQ(r.hits, 0);
}

}  // namespace
}  // namespace furlong
