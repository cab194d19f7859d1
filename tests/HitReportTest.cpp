#include "reports/HitReport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "HitStoreBuilder.h"
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
  return test::HitRaceRecord(date, course, race);
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

TEST(HitReport, RecordTextIsEscapedForTheWebPage) {
  RacePayouts p;
  SetPair(p.wide[0], " 2- 5", 450);
  std::string ra = RaceRecordOf("20040105", "06", 1);
  ra.replace(592, 12, "<b>&\"x'</b>");
  Lines l = Collect(ra, p, HitReportKind::kAll);
  ASSERT_EQ(l.report.size(), 1u);
  EXPECT_NE(l.report[0].find("&lt;b&gt;&amp;&quot;x&#39;&lt;/b&gt;"), std::string::npos) << l.report[0];
  EXPECT_EQ(l.report[0].find("<b>"), std::string::npos);
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
  test::HitStore hs(dir.path());
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
  test::HitStore hs(dir.path());
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
