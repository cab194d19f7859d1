// Past meetings made from the results race files and horse histories, and
// one season written week by week against the same season imported as a
// setup and rebuilt.
#include "jvlink/MeetingRebuild.h"

#include <gtest/gtest.h>

#include "CliTestSupport.h"
#include "FeedTestSupport.h"
#include "demo/DemoFeed.h"
#include "demo/DemoStore.h"
#include "store/FilingRules.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;
using test::RaRec;
using test::SeRec;

std::string Line(std::string_view record) { return std::string(RecordLine(record)); }

std::string RaWithRunners(std::string_view date, std::string_view course, int race, int runners) {
  std::string ra = RaRec(date, course, race);
  test::PutNum(ra, 882, 2, runners);
  return ra;
}

// A store as a setup import leaves it: results race files, horse histories,
// no meetings but one.
class RebuildTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  Store store{dir.path()};

  void Result(const std::string& ra) {
    store.YearFolder(store_names::kSeir, ra.substr(11, 4), true);
    store.MergeByRaceKey(store.ResultsRaceFile(ra), ZeroRecordStamp(ra), false);
  }
  void Run(const std::string& se) {
    store.YearFolder(store_names::kSei, se.substr(30, 4), true);
    store.MergeByRaceKey(store.HorseHistoryFile(std::string(SeHorseId(se))), ZeroRecordStamp(se), false);
  }
  std::string RunnerLine(const std::string& base, int race, int horse) {
    const std::string file = ReadWholeFile(store.RunnerFile(base));
    return file.substr(static_cast<std::size_t>((race - 1) * 18 + horse - 1) * kSeLength, kSeLength - 2);
  }
};

TEST_F(RebuildTest, MeetingsAreMadeFromResultsAndHistoriesOnceAndOthersAreLeftAlone) {
  const std::string ra1 = RaWithRunners("20230105", "06", 1, 2), ra2 = RaWithRunners("20230105", "06", 2, 3);
  Result(ra1);
  Result(ra2);
  const std::string h1r1 = SeRec("20230105", "06", 1, 1, "2019000001"), h2r1 = SeRec("20230105", "06", 1, 2, "2019000002");
  const std::string h1r2 = SeRec("20230105", "06", 2, 3, "2019000001");
  Run(h1r1);
  Run(h2r1);
  Run(h1r2);
  Run(SeRec("20230105", "06", 3, 1, "2019000002"));  // a race the results lack: ignored
  Run(SeRec("20230106", "06", 1, 1, "2019000002"));  // a date without results: ignored
  Result(RaWithRunners("20230105", "30", 1, 2));     // a local racecourse: never a meeting
  Result(RaWithRunners("20230201", "08", 1, 1));     // outside the range at first
  Run(SeRec("20230201", "08", 1, 1, "2019000002"));
  Result(RaWithRunners("20230204", "09", 1, 1));  // no runner in any history
  // A meeting that has its race file already keeps it as it is.
  Result(RaWithRunners("20230112", "05", 1, 1));
  const std::string kept = MeetingBaseName(RaRec("20230112", "05", 1));
  WriteFileAtomically(store.RaceFile(kept), Line(RaRec("20230112", "05", 1, '2')) + "\r\n");

  RebuildOptions january;
  january.toDate = 20230131;
  RebuildResult r = RebuildMeetings(store, january);
  EXPECT_TRUE(r.error.empty()) << r.error;
  EXPECT_EQ(1, r.meetings);
  EXPECT_EQ(2, r.races);
  EXPECT_EQ(3, r.runners);
  EXPECT_EQ(1, r.racesMissingRunners);  // race 2 lacks horse numbers 1 and 2
  const std::string base = MeetingBaseName(ra1);
  EXPECT_EQ(Line(ZeroRecordStamp(ra1)) + "\r\n" + Line(ZeroRecordStamp(ra2)) + "\r\n",
            ReadWholeFile(store.RaceFile(base)));
  EXPECT_EQ(216 * kSeLength, ReadWholeFile(store.RunnerFile(base)).size());
  EXPECT_EQ(Line(ZeroRecordStamp(h1r1)), RunnerLine(base, 1, 1));
  EXPECT_EQ(Line(ZeroRecordStamp(h2r1)), RunnerLine(base, 1, 2));
  EXPECT_EQ(Line(ZeroRecordStamp(h1r2)), RunnerLine(base, 2, 3));
  EXPECT_EQ(std::string(kSeLength - 2, ' '), RunnerLine(base, 3, 1));
  EXPECT_EQ(Line(RaRec("20230112", "05", 1, '2')) + "\r\n", ReadWholeFile(store.RaceFile(kept)));
  EXPECT_FALSE(fs::exists(store.RunnerFile(kept)));
  EXPECT_FALSE(fs::exists(store.RaceFile(MeetingBaseName(RaRec("20230105", "30", 1)))));

  // Again: nothing new, nothing changed; then the whole range.
  const auto before = test::Snapshot(dir.path());
  EXPECT_EQ(0, RebuildMeetings(store, january).meetings);
  EXPECT_EQ(before, test::Snapshot(dir.path()));
  r = RebuildMeetings(store, {});
  EXPECT_EQ(2, r.meetings);
  EXPECT_EQ(1, r.racesMissingRunners);
  EXPECT_EQ(4u, store.MeetingNames().size());
  for (const std::string& made : {base, MeetingBaseName(RaRec("20230204", "09", 1))})
    EXPECT_EQ(0, test::Cli({"day", "--root", dir.path().string(), "--meeting", SjisToUtf8(made)}).code) << made;
  EXPECT_EQ(216 * kSeLength, ReadWholeFile(store.RunnerFile(MeetingBaseName(RaRec("20230204", "09", 1)))).size());
}

TEST_F(RebuildTest, AFileThatCannotBeWrittenIsNamedAndTheMeetingsWrittenBeforeItStay) {
  Result(RaWithRunners("20230105", "06", 1, 1));
  Result(RaWithRunners("20230106", "06", 1, 1));
  Run(SeRec("20230105", "06", 1, 1, "2019000001"));
  Run(SeRec("20230106", "06", 1, 1, "2019000001"));
  // A folder where the second meeting's race file belongs.
  const std::string second = MeetingBaseName(RaRec("20230106", "06", 1));
  fs::create_directories(store.RaceFile(second));
  const RebuildResult r = RebuildMeetings(store, {});
  EXPECT_EQ(1, r.meetings) << r.error;
  EXPECT_NE(std::string::npos, r.error.find(PathUtf8(store.RaceFile(second).filename()))) << r.error;
  EXPECT_TRUE(fs::is_regular_file(store.RaceFile(MeetingBaseName(RaRec("20230105", "06", 1)))));
  // The runner lines' temporary file is gone.
  for (const auto& entry : fs::directory_iterator(store.Folder(store_names::kData)))
    EXPECT_FALSE(IsStoreTempName(PathUtf8(entry.path().filename()))) << entry.path();
}

// A season of three weekends written as meeting files, and the same season
// as a setup download imported and rebuilt: the same analysis of every race
// and the same return report.
TEST(SetupRebuild, OneSeasonWrittenWeekByWeekAndRebuiltFromASetupGivesTheSameAnswers) {
  test::ScratchDir weekly, setup;
  DemoOptions options;
  options.weeks = 3;
  WriteDemoStore(weekly.path(), options);
  options.setup = true;
  WriteDemoStore(setup.path(), options);
  const fs::path feed = setup.path() / "feed";
  const DemoFeedSummary f = WriteDemoFeed(feed, options);
  EXPECT_EQ(1, f.setupFiles);
  EXPECT_GT(f.setupRaces, 100);
  const std::string w = weekly.path().string(), s = setup.path().string();
  ASSERT_EQ(0, test::Cli({"import", "--root", s, "--jvlink-feed", feed.string(), "--from", "20240101000000"}).code);
  const test::CliRun rebuilt = test::Cli({"rebuild-meetings", "--root", s, "--from", "20241102"});
  ASSERT_EQ(0, rebuilt.code) << rebuilt.err;
  EXPECT_NE(std::string::npos, rebuilt.out.find("開催データ作成: " + std::to_string(f.setupRaces / 12) + " 開催"))
      << rebuilt.out;

  const std::vector<std::string> season = {"--from", "20241102", "--to", "20241115", "--json"};
  std::vector<std::string> a = {"backtest", "--root", w}, b = {"backtest", "--root", s};
  a.insert(a.end(), season.begin(), season.end());
  b.insert(b.end(), season.begin(), season.end());
  const test::CliRun weeklyReturn = test::Cli(a), setupReturn = test::Cli(b);
  EXPECT_NE(std::string::npos, weeklyReturn.out.find("\"races\": " + std::to_string(f.setupRaces)));
  EXPECT_EQ(weeklyReturn.out, setupReturn.out);
  for (const std::string& m : Store(weekly.path(), false).MeetingNames()) {
    const std::string name = SjisToUtf8(m);
    if (name >= "2024年11月16日") continue;  // the demo weekend itself is not the season's
    EXPECT_EQ(test::Cli({"analyze", "--root", w, "--meeting", name, "--json"}).out,
              test::Cli({"analyze", "--root", s, "--meeting", name, "--json"}).out)
        << name;
  }
}

}  // namespace
}  // namespace furlong
