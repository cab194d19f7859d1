#include "demo/DemoFeed.h"

#include <gtest/gtest.h>

#include "FeedTestSupport.h"
#include "jvlink/ResultsFetch.h"
#include "jvlink/ImportDriver.h"
#include "jvlink/JVLinkStandIn.h"
#include "store/DayLoading.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;

TEST(DemoFeedTest, TheNextWeekendImportsIntoTheDemoStoreAndItsResultsAreFetched) {
  test::ScratchDir dir;
  fs::path root = dir.path() / "root", feed = dir.path() / "feed";
  WriteDemoStore(root);
  DemoFeedSummary s = WriteDemoFeed(feed);
  ASSERT_FALSE(s.meetings.empty());
  EXPECT_EQ((std::vector<std::string>{"20241123", "20241124"}), s.dates);
  EXPECT_EQ("20241121180500", s.fileTimestamp);  // six meetings, a minute apart
  EXPECT_GT(s.resultRaces, 0);
  EXPECT_LT(s.resultRaces, s.races);

  Store store(root);
  TIniGT settings(root / "furlong.ini", TDefaultDir::ddNone);
  test::RecordingUi ui;
  JVLinkStandIn jv(feed);
  ASSERT_EQ(0, jv.JVInit(SoftwareId("Ver.1.33")));
  // The demo's settings start imports before the feed, whatever the date today.
  WriteDemoSettings(root / "furlong.ini", s);
  ImportSession session(jv, store, settings, ui, FixedClock({2030, 1, 1, 9, 0, 0}));
  ASSERT_TRUE(session.Start(session.LoadFromTime()));  // the cards have to be downloaded
  while (session.Poll()) {
  }
  ASSERT_EQ(ImportEnd::Finished, session.LastEnd());
  // Writing the demo's settings again keeps the from-time the store has reached.
  WriteDemoSettings(root / "furlong.ini", s);
  EXPECT_EQ("2024/11/21 18:05:00", settings.ReadString(kLastTimeSection, kLastTimeKey, ""));
  EXPECT_TRUE(ui.With("error:").empty());
  EXPECT_TRUE(ui.With("list:未作成").empty());

  auto names = store.MeetingNames();
  auto day = std::make_unique<DayTables>();
  for (const auto& m : s.meetings) {
    std::string sjis = Utf8ToSjis(m);
    ASSERT_NE(names.end(), std::find(names.begin(), names.end(), sjis)) << m;
    std::vector<std::string> warnings;
    DayLoadCallbacks cb;
    cb.warning = [&](const std::string& w) { warnings.push_back(w); };
    LoadMeetingDay(store, sjis, *day, cb);
    EXPECT_TRUE(warnings.empty()) << m << ": " << (warnings.empty() ? "" : warnings[0]);
    EXPECT_FALSE(fs::exists(store.PayoutFile(sjis))) << m;
  }

  int payouts = 0;
  for (const auto& date : s.dates) {
    auto r = FetchResults(jv, store, date, ui);
    EXPECT_EQ(0, r.openCode);
    EXPECT_TRUE(r.error.empty());
  }
  for (const auto& m : s.meetings) {
    RecordFile f;
    if (f.Open(store.PayoutFile(Utf8ToSjis(m)), kHrLength)) payouts += static_cast<int>(f.Count());
  }
  EXPECT_EQ(s.resultRaces, payouts);
}

}  // namespace
}  // namespace furlong
