#include "jvlink/ResultsFetch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "FeedTestSupport.h"
#include "jvlink/JVLinkStandIn.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;
using test::HrRec;
using test::RaRec;
using test::SeRec;
using test::UmRec;

class ResultsFetchTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  fs::path root = dir.path() / "root";
  fs::path feed = dir.path() / "feed";
  Store store{root};
  test::RecordingUi ui;
  JVLinkStandIn jv{feed};

  void SetUp() override {
    ASSERT_EQ(0, jv.JVInit("SA"));
    // Two racecourses on the date; the records come in two parts.
    WriteRealTimeFile(feed, "0B12", "20240302",
                      {RaRec("20240302", "05", 11, '7'), SeRec("20240302", "05", 11, 3, "2019100001", '7'),
                       SeRec("20240302", "05", 11, 0, "2019100002", '7'), HrRec("20240302", "05", 11, '2'),
                       HrRec("20240302", "05", 0, '2')},
                      "1");
    WriteRealTimeFile(feed, "0B12", "20240302",
                      {RaRec("20240302", "09", 1, 'A'), UmRec("2019100001"), SeRec("20240302", "09", 1, 18, "2019100003", '0')},
                      "2");
  }
};

fs::path P(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

TEST_F(ResultsFetchTest, ResultsOfEveryRacecourseOfTheDateAreFiledWithoutKindOrDateConditions) {
  auto r = FetchResults(jv, store, "20240302", ui);
  EXPECT_EQ(0, r.openCode);
  EXPECT_EQ(0, r.readCode);
  EXPECT_EQ(8, r.records);
  EXPECT_EQ(5, r.filings);
  EXPECT_TRUE(r.error.empty());
  EXPECT_EQ((std::vector<std::string>{
                "作成済み:11R/2024年03月02日東京.jvRA",
                "作成済み:11R/03番/2024年03月02日東京.jvSEr",
                "作成済み:11R/2024年03月02日東京.jvHR",
                "作成済み:01R/2024年03月02日阪神.jvRA",
                "作成済み:01R/18番/2024年03月02日阪神.jvSEr",
            }),
            ui.Lines());
  auto files = test::Snapshot(root);
  EXPECT_EQ(5u, files.size());
  EXPECT_EQ(ZeroRecordStamp(RaRec("20240302", "09", 1, 'A')), files["Data/2024年03月02日阪神.jvRA"]);
  EXPECT_EQ(2, jv.CallCount(JVOperation::Close));  // closed, then once more
  EXPECT_FALSE(ui.Has("beep"));

  auto before = files;
  FetchResults(jv, store, "20240302", ui);
  EXPECT_EQ(before, test::Snapshot(root));
}

TEST_F(ResultsFetchTest, AFailedOpenReadsNothingButStillCloses) {
  for (int code : {-1, -504, -114}) {
    jv.InjectResult(JVOperation::RTOpen, code);
    auto r = FetchResults(jv, store, "20240302", ui);
    EXPECT_EQ(code, r.openCode);
    EXPECT_EQ(0, r.records);
  }
  EXPECT_EQ(-1, FetchResults(jv, store, "20240309", ui).openCode);  // not yet published
  EXPECT_EQ(0, jv.CallCount(JVOperation::Read));
  EXPECT_EQ(8, jv.CallCount(JVOperation::Close));
  EXPECT_TRUE(test::Snapshot(root).empty());
}

TEST_F(ResultsFetchTest, AReadErrorStopsAndKeepsWhatWasFiledWhileMinusTwoAndThreeReadOn) {
  jv.InjectResult(JVOperation::Read, -3, 1, 3);
  jv.InjectResult(JVOperation::Read, -2);
  jv.InjectResult(JVOperation::Read, -402);
  auto r = FetchResults(jv, store, "20240302", ui);
  EXPECT_EQ(-402, r.readCode);
  EXPECT_EQ(1, r.records);
  EXPECT_EQ(1u, test::Snapshot(root).size());
  EXPECT_FALSE(jv.IsOpen());
}

TEST_F(ResultsFetchTest, AStoreFailureClosesJVLinkBeforeItIsReported) {
  fs::remove_all(root / "Data");
  { std::ofstream(root / "Data") << "x"; }
  auto r = FetchResults(jv, store, "20240302", ui);
  EXPECT_FALSE(r.error.empty());
  EXPECT_EQ(1, jv.CallCount(JVOperation::Close));
  EXPECT_FALSE(jv.IsOpen());
}

TEST_F(ResultsFetchTest, FailingClosesAreBeeped) {
  jv.InjectResult(JVOperation::Close, -1, 0, 2);
  auto r = FetchResults(jv, store, "20240302", ui);
  EXPECT_EQ(-1, r.closeCode);
  EXPECT_EQ(2, std::count(ui.events.begin(), ui.events.end(), "beep"));
}

TEST_F(ResultsFetchTest, ACancelStopsTheReading) {
  std::atomic<bool> cancel{false};
  int turns = 0;
  ui.onProcessEvents = [&] {
    if (++turns == 3) cancel = true;  // the open, then one record
  };
  auto r = FetchResults(jv, store, "20240302", ui, &cancel);
  EXPECT_TRUE(r.cancelled);
  EXPECT_EQ(1, r.records);
  EXPECT_FALSE(jv.IsOpen());
}

}  // namespace
}  // namespace furlong
