#include "jvlink/ImportDriver.h"

#include <gtest/gtest.h>

#include <fstream>

#include "FeedTestSupport.h"
#include "jvlink/JVLinkStandIn.h"
#include "jvlink/JVResultMessage.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;
using test::RaRec;

const LocalDateTime kNow{2024, 3, 4, 9, 0, 0};
const LocalDateTime kFrom{2024, 3, 1, 0, 0, 0};

std::string U(std::string_view sjis) { return SjisToUtf8(sjis); }

// A JV-Link that reports another last file timestamp than the stand-in.
class TimestampOverride final : public JVLink {
 public:
  TimestampOverride(JVLink& inner, std::string timestamp) : inner_(inner), timestamp_(std::move(timestamp)) {}
  int JVInit(std::string_view id) override { return inner_.JVInit(id); }
  std::string Version() override { return inner_.Version(); }
  int JVSetUIProperties() override { return inner_.JVSetUIProperties(); }
  int JVOpen(std::string_view spec, std::string_view from, int option, int& reads, int& downloads,
             std::string& last) override {
    int r = inner_.JVOpen(spec, from, option, reads, downloads, last);
    last = timestamp_;
    return r;
  }
  int JVStatus() override { return inner_.JVStatus(); }
  int JVRead(std::string& rec, std::string& name, int size) override { return inner_.JVRead(rec, name, size); }
  int JVCancel() override { return inner_.JVCancel(); }
  int JVClose() override { return inner_.JVClose(); }
  int JVRTOpen(std::string_view spec, std::string_view key) override { return inner_.JVRTOpen(spec, key); }

 private:
  JVLink& inner_;
  std::string timestamp_;
};

class ImportDriverTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  fs::path root = dir.path() / "root";
  fs::path feed = dir.path() / "feed";
  Store store{root};
  TIniGT settings{root / "furlong.ini", TDefaultDir::ddNone};
  test::RecordingUi ui;
  JVLinkStandIn jv{feed};

  void SetUp() override { ASSERT_EQ(0, jv.JVInit(SoftwareId("Ver.1.33"))); }

  ImportSession Session(JVLink& link) { return ImportSession(link, store, settings, ui, FixedClock(kNow)); }

  void TwoFiles(bool download) {
    WriteFeedFile(feed, "RACE", "20240302180000", {RaRec("20240309", "05", 1, '2')}, download);
    WriteFeedFile(feed, "RACE", "20240303180000", {RaRec("20240309", "05", 2, '2')}, download);
  }

  std::string LastTime() { return settings.ReadString("JvDataGet", "LastTime", "(none)"); }
  // Polls like the window's timer until the session stops polling.
  int PollToEnd(ImportSession& s, int limit = 100) {
    int polls = 0;
    while (s.Poll() && ++polls < limit) {
    }
    return polls;
  }
};

TEST_F(ImportDriverTest, TheFromTimeComesFromLastTimeOrIsEightDaysAgo) {
  auto s = Session(jv);
  EXPECT_EQ((LocalDateTime{2024, 2, 25, 9, 0, 0}), s.LoadFromTime());
  settings.WriteString("JvDataGet", "LastTime", "\"2024/02/01 10:20:30\"");
  EXPECT_EQ((LocalDateTime{2024, 2, 1, 10, 20, 30}), s.LoadFromTime());
  settings.WriteString("JvDataGet", "LastTime", "2024/02/30 10:20:30");
  EXPECT_EQ((LocalDateTime{2024, 2, 25, 9, 0, 0}), s.LoadFromTime());
}

TEST_F(ImportDriverTest, NothingNewerIsReportedAndTheImportClosed) {
  for (bool injectZeroFiles : {false, true}) {
    ui.events.clear();
    if (injectZeroFiles) {
      TwoFiles(false);
      jv.InjectResult(JVOperation::Open, 0);  // opened, but with a read count of 0
    }
    auto s = Session(jv);
    EXPECT_FALSE(s.Start(kFrom));
    EXPECT_EQ(ImportEnd::NoData, s.LastEnd());
    EXPECT_EQ((std::vector<std::string>{"timer:off", "download:0", "read:0", "clear-list", "busy:on", "beep",
                                        "message:最新のデータがありません。", "busy:off", "beep"}),
              ui.events);
  }
  EXPECT_EQ(2, jv.CallCount(JVOperation::Close));
  EXPECT_EQ("(none)", LastTime());
}

TEST_F(ImportDriverTest, EveryOpenErrorIsShownWithItsExplanationAndTheImportClosed) {
  TwoFiles(false);
  for (int code : {-504, -501, -431, -421, -413, -412, -411, -401, -305, -303, -302, -301, -211, -202, -201, -116,
                   -115, -114, -112, -111, -2, -9999}) {
    ui.events.clear();
    jv.InjectResult(JVOperation::Open, code);
    auto s = Session(jv);
    EXPECT_FALSE(s.Start(kFrom));
    EXPECT_EQ(ImportEnd::OpenFailed, s.LastEnd());
    auto errors = ui.With("error:");
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ("JVOpenエラー:" + U(JVResultMessage("JVOpen", code)), errors[0]);
    EXPECT_EQ("busy:off", ui.events[ui.events.size() - 2]);
  }
  EXPECT_EQ(0, jv.CallCount(JVOperation::Read));
  EXPECT_EQ("(none)", LastTime());
}

TEST_F(ImportDriverTest, AnImportWithoutDownloadReadsClosesAndStoresTheLastFileTimestamp) {
  TwoFiles(false);
  auto s = Session(jv);
  EXPECT_FALSE(s.Start(kFrom));
  EXPECT_EQ(ImportEnd::Finished, s.LastEnd());
  auto statuses = ui.With("status:");
  ASSERT_GE(statuses.size(), 3u);
  EXPECT_EQ("JVOpen正常:" + U(JVResultMessage("JVOpen", 0)), statuses[0]);
  EXPECT_EQ("ReadCount:2, DownloadCount:0", statuses[1]);
  EXPECT_EQ("データ読込み完了(2/2)", statuses.back());
  EXPECT_TRUE(ui.Has("download-range:100"));
  EXPECT_TRUE(ui.Has("download:100"));
  EXPECT_EQ(2u, ui.Lines().size());
  EXPECT_EQ("from:2024/03/03 18:00:00", ui.events.back());
  EXPECT_EQ("2024/03/03 18:00:00", LastTime());
  EXPECT_EQ(1, jv.CallCount(JVOperation::Close));
  EXPECT_FALSE(jv.IsOpen());
  // The next import starts after that file: nothing is newer.
  ui.events.clear();
  EXPECT_FALSE(s.Start(s.LoadFromTime()));
  EXPECT_EQ(ImportEnd::NoData, s.LastEnd());
}

TEST_F(ImportDriverTest, ABlankZeroOrMalformedLastFileTimestampIsNotStored) {
  TwoFiles(false);
  for (std::string stamp : {"00000000000000", "              ", "", "2024030318000"}) {
    TimestampOverride link(jv, stamp);
    auto s = Session(link);
    EXPECT_FALSE(s.Start(kFrom));
    EXPECT_EQ(ImportEnd::Finished, s.LastEnd());
    EXPECT_EQ("(none)", LastTime()) << stamp;
  }
}

TEST_F(ImportDriverTest, AnImportWithDownloadPollsToTheCountThenReadsAndStoresTheTimestampToo) {
  TwoFiles(true);
  auto s = Session(jv);
  ASSERT_TRUE(s.Start(kFrom));
  EXPECT_TRUE(s.Polling());
  EXPECT_TRUE(ui.Has("status:ダウンロード中・・・"));
  EXPECT_TRUE(ui.Has("download-range:2"));
  EXPECT_EQ("timer:on", ui.events.back());
  // A count above the announced one is not the end of the download.
  jv.InjectResult(JVOperation::Status, 3);
  EXPECT_TRUE(s.Poll());
  EXPECT_EQ(1, PollToEnd(s));
  EXPECT_TRUE(ui.Has("status:ダウンロード中．．．(1/2)"));
  EXPECT_TRUE(ui.Has("status:ダウンロード中．．．(2/2)"));
  EXPECT_EQ(ImportEnd::Finished, s.LastEnd());
  EXPECT_EQ(2u, ui.Lines().size());
  EXPECT_EQ("2024/03/03 18:00:00", LastTime());
  EXPECT_FALSE(s.Poll());
  EXPECT_EQ(1, jv.CallCount(JVOperation::Close));
}

TEST_F(ImportDriverTest, EveryStatusErrorIsShownAndClosesTheImport) {
  TwoFiles(true);
  for (int code : {-502, -203, -201, -1, -9999}) {
    ui.events.clear();
    auto s = Session(jv);
    ASSERT_TRUE(s.Start(kFrom));
    jv.InjectResult(JVOperation::Status, code);
    EXPECT_FALSE(s.Poll());
    EXPECT_EQ(ImportEnd::StatusFailed, s.LastEnd());
    EXPECT_FALSE(jv.IsOpen());
    auto errors = ui.With("error:");
    ASSERT_EQ(1u, errors.size());
    EXPECT_EQ("JVStatusエラー:" + U(JVResultMessage("JVStatus", code)), errors[0]);
  }
  EXPECT_EQ(0, jv.CallCount(JVOperation::Read));
  EXPECT_EQ("(none)", LastTime());
}

TEST_F(ImportDriverTest, ACancelDuringTheDownloadClosesTheImportAtOnce) {
  TwoFiles(true);
  auto s = Session(jv);
  ASSERT_TRUE(s.Start(kFrom));
  ui.events.clear();
  s.Cancel();
  EXPECT_EQ((std::vector<std::string>{"timer:off", "beep", "message:JVCancel:キャンセルされました",
                                      "status:JVCancel:キャンセルされました", "busy:off", "beep"}),
            ui.events);
  EXPECT_EQ(ImportEnd::Cancelled, s.LastEnd());
  EXPECT_EQ(1, jv.CallCount(JVOperation::Cancel));
  EXPECT_FALSE(jv.IsOpen());
  EXPECT_FALSE(s.Poll());
  EXPECT_EQ("(none)", LastTime());
}

TEST_F(ImportDriverTest, ACancelDuringReadingStopsTheLoopKeepsWhatWasFiledAndLeavesTheFromTime) {
  TwoFiles(false);
  auto s = Session(jv);
  int turns = 0;
  ui.onProcessEvents = [&] {
    if (++turns == 3) s.Cancel();  // after the first file
  };
  EXPECT_FALSE(s.Start(kFrom));
  EXPECT_EQ(ImportEnd::Cancelled, s.LastEnd());
  EXPECT_EQ(2, jv.CallCount(JVOperation::Read));
  EXPECT_EQ(1, jv.CallCount(JVOperation::Close));
  EXPECT_EQ(1u, ui.Lines().size());
  EXPECT_EQ(kRaLength, ReadWholeFile(store.RaceFile(MeetingBaseName(RaRec("20240309", "05", 1)))).size());
  EXPECT_EQ("(none)", LastTime());
}

TEST_F(ImportDriverTest, AReadOrStoreFailureLeavesTheFromTimeForTheNextImport) {
  TwoFiles(false);
  jv.InjectResult(JVOperation::Read, -503, 2);
  auto s = Session(jv);
  EXPECT_FALSE(s.Start(kFrom));
  EXPECT_EQ(ImportEnd::ReadFailed, s.LastEnd());
  EXPECT_FALSE(jv.IsOpen());
  EXPECT_EQ("(none)", LastTime());

  fs::remove_all(root / "Data");
  { std::ofstream(root / "Data") << "x"; }
  EXPECT_FALSE(s.Start(kFrom));
  EXPECT_EQ(ImportEnd::StoreFailed, s.LastEnd());
  EXPECT_FALSE(jv.IsOpen());
  EXPECT_EQ("(none)", LastTime());
}

TEST_F(ImportDriverTest, ACloseErrorIsShownButTheImportStillCounts) {
  TwoFiles(false);
  jv.InjectResult(JVOperation::Close, -1);
  auto s = Session(jv);
  EXPECT_FALSE(s.Start(kFrom));
  EXPECT_EQ(ImportEnd::Finished, s.LastEnd());
  EXPECT_EQ((std::vector<std::string>{"JVCloseエラー:(-1)"}), ui.With("error:"));
  EXPECT_EQ("2024/03/03 18:00:00", LastTime());
}

TEST_F(ImportDriverTest, SettingsDialogErrorsAreShownWithTheirExplanation) {
  auto s = Session(jv);
  s.OpenSettingsDialog();
  EXPECT_TRUE(ui.events.empty());
  for (int code : {-100, -101}) {
    jv.InjectResult(JVOperation::SetUIProperties, code);
    s.OpenSettingsDialog();
    EXPECT_EQ("error:JVSetUIPropertiesエラー：" + U(JVResultMessage("JVSetUIProperties", code)), ui.events.back());
  }
}

}  // namespace
}  // namespace furlong
