#include "jvlink/JVLinkStandIn.h"

#include <gtest/gtest.h>

#include <fstream>

#include "FeedTestSupport.h"
#include "jvlink/FeedWriter.h"
#include "jvlink/ImportTime.h"

namespace furlong {
namespace {

using test::RaRec;
using test::ScratchDir;
using test::SeRec;

// Reads until JVRead gives 0 or an error; every result in order, records as
// "R:<type>" (the record's first two bytes).
std::vector<std::string> ReadAll(JVLinkStandIn& jv, int limit = 1000) {
  std::vector<std::string> out;
  std::string rec, name;
  for (int i = 0; i < limit; ++i) {
    int r = jv.JVRead(rec, name);
    if (r > 0) {
      EXPECT_EQ(static_cast<std::size_t>(r), rec.size());
      out.push_back("R:" + rec.substr(0, 2));
    } else {
      out.push_back(std::to_string(r));
      if (r == 0 || r < -3) break;
    }
  }
  return out;
}

class StandInTest : public ::testing::Test {
 protected:
  ScratchDir dir;
  std::filesystem::path feed = dir.path() / "feed";
  int reads = -9, downloads = -9;
  std::string last = "x";

  JVLinkStandIn Ready() {
    JVLinkStandIn jv(feed);
    EXPECT_EQ(0, jv.JVInit(SoftwareId("Ver.1.33")));
    return jv;
  }
};

TEST_F(StandInTest, OpenSelectsFilesNewerThanTheFromTimeAndReportsCountsAndLastTimestamp) {
  WriteFeedFile(feed, "RACE", "20240301120000", {RaRec("20240302", "05", 1)});
  WriteFeedFile(feed, "RACE", "20240302120000", {RaRec("20240303", "05", 1)});
  WriteFeedFile(feed, "RACE", "20240303120000", {RaRec("20240304", "05", 1)}, true);
  WriteFeedFile(feed, "DIFF", "20240303130000", {RaRec("20240304", "05", 2)});  // another data id
  auto jv = Ready();
  ASSERT_EQ(0, jv.JVOpen("RACERCVN", "20240301120000", 2, reads, downloads, last));
  EXPECT_EQ(2, reads);  // the file at the from-time itself is not newer
  EXPECT_EQ(1, downloads);
  EXPECT_EQ("20240303120000", last);
  EXPECT_EQ(-202, jv.JVOpen("RACERCVN", "20240301120000", 2, reads, downloads, last));
  EXPECT_EQ(0, jv.JVClose());

  EXPECT_EQ(kJVOpenNoData, jv.JVOpen("RACERCVN", "20240303120000", 2, reads, downloads, last));
  EXPECT_EQ(0, reads);
  EXPECT_EQ(0, downloads);
  EXPECT_FALSE(jv.IsOpen());
}

TEST_F(StandInTest, ReadGivesRecordsThenMinusOneAfterEachFileThenZero) {
  WriteFeedFile(feed, "RACE", "20240301120000", {RaRec("20240302", "05", 1), SeRec("20240302", "05", 1, 1, "2019100001")});
  WriteFeedFile(feed, "RACE", "20240302120000", {});
  WriteFeedFile(feed, "RACE", "20240303120000", {RaRec("20240303", "05", 1)});
  auto jv = Ready();
  ASSERT_EQ(0, jv.JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
  EXPECT_EQ((std::vector<std::string>{"R:RA", "R:SE", "-1", "-1", "R:RA", "-1", "0"}), ReadAll(jv));
  std::string rec, name;
  EXPECT_EQ(0, jv.JVRead(rec, name));  // stays at the end
}

TEST_F(StandInTest, RecordsAreSplitAtCrLfOnlyAndKeepTheirBytes) {
  std::filesystem::create_directories(feed);
  std::ofstream(feed / "RACE20240301120000.jvd", std::ios::binary) << "RA\nin one\r\n\r\nSEtail";
  auto jv = Ready();
  ASSERT_EQ(0, jv.JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
  std::string rec, name;
  EXPECT_EQ(11, jv.JVRead(rec, name));
  EXPECT_EQ("RA\nin one\r\n", rec);
  EXPECT_EQ("RACE20240301120000.jvd", name);
  EXPECT_EQ(2, jv.JVRead(rec, name));
  EXPECT_EQ("\r\n", rec);
  EXPECT_EQ(6, jv.JVRead(rec, name));  // a last record without CR LF comes as it is
  EXPECT_EQ("SEtail", rec);
  EXPECT_EQ(-1, jv.JVRead(rec, name));
}

TEST_F(StandInTest, DownloadAdvancesPerStatusCallAndReadWaitsWithMinusThree) {
  WriteFeedFile(feed, "RACE", "20240301120000", {RaRec("20240302", "05", 1)}, true);
  WriteFeedFile(feed, "RACE", "20240302120000", {RaRec("20240303", "05", 1)}, true);
  auto jv = Ready();
  EXPECT_EQ(-203, jv.JVStatus());
  ASSERT_EQ(0, jv.JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
  EXPECT_EQ(2, downloads);
  std::string rec, name;
  EXPECT_EQ(-3, jv.JVRead(rec, name));  // a waiting read also moves the download on
  EXPECT_EQ(2, jv.JVStatus());
  EXPECT_EQ(2, jv.JVStatus());
  EXPECT_EQ((std::vector<std::string>{"R:RA", "-1", "R:RA", "-1", "0"}), ReadAll(jv));
}

TEST_F(StandInTest, CancelStopsTheDownloadAndFilesNotDownloadedCannotBeRead) {
  WriteFeedFile(feed, "RACE", "20240301120000", {RaRec("20240302", "05", 1)}, true);
  WriteFeedFile(feed, "RACE", "20240302120000", {RaRec("20240303", "05", 1)}, true);
  auto jv = Ready();
  ASSERT_EQ(0, jv.JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
  EXPECT_EQ(1, jv.JVStatus());
  EXPECT_EQ(0, jv.JVCancel());
  EXPECT_EQ(1, jv.JVStatus());
  EXPECT_EQ((std::vector<std::string>{"R:RA", "-1", "-502"}), ReadAll(jv));
}

TEST_F(StandInTest, CallsOutOfOrderGiveJVLinksErrors) {
  JVLinkStandIn jv(feed);
  std::string rec, name;
  EXPECT_EQ(-201, jv.JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
  EXPECT_EQ(-201, jv.JVRTOpen("0B12", "20240302"));
  EXPECT_EQ(-101, jv.JVInit(""));
  EXPECT_EQ(-103, jv.JVInit(" SA"));
  EXPECT_EQ(-102, jv.JVInit(std::string(64, 'S')));
  ASSERT_EQ(0, jv.JVInit("SA"));
  EXPECT_EQ(-203, jv.JVRead(rec, name));
  EXPECT_EQ(-111, jv.JVOpen("RAC", "20240101000000", 2, reads, downloads, last));
  EXPECT_EQ(-112, jv.JVOpen("RACE", "2024010100000", 2, reads, downloads, last));
  EXPECT_EQ(-112, jv.JVOpen("RACE", "20241301000000", 2, reads, downloads, last));
  EXPECT_EQ(-115, jv.JVOpen("RACE", "20240101000000", 9, reads, downloads, last));
  EXPECT_EQ(-114, jv.JVRTOpen("0B12", "2024033"));
  EXPECT_EQ(0, jv.JVClose());  // closing what is not open is fine
  EXPECT_EQ("0490", jv.Version());
}

TEST_F(StandInTest, InjectedResultsReplaceCallsAfterTheGivenNumberOfOrdinaryOnes) {
  WriteFeedFile(feed, "RACE", "20240301120000", {RaRec("20240302", "05", 1), RaRec("20240302", "05", 2)});
  auto jv = Ready();
  jv.InjectResult(JVOperation::Open, -504);
  EXPECT_EQ(-504, jv.JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
  EXPECT_FALSE(jv.IsOpen());
  ASSERT_EQ(0, jv.JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
  // -3 twice after the first record, then an error once: nothing is skipped.
  jv.InjectResult(JVOperation::Read, -3, 1, 2);
  jv.InjectResult(JVOperation::Read, -402);
  EXPECT_EQ((std::vector<std::string>{"R:RA", "-3", "-3", "-402"}), ReadAll(jv));
  EXPECT_EQ((std::vector<std::string>{"R:RA", "-1", "0"}), ReadAll(jv));
  jv.InjectResult(JVOperation::Close, -1, 0, -1);
  EXPECT_EQ(-1, jv.JVClose());
  EXPECT_EQ(-1, jv.JVClose());
  EXPECT_TRUE(jv.IsOpen());
  jv.ClearInjectedResults();
  EXPECT_EQ(0, jv.JVClose());
  EXPECT_EQ(7, jv.CallCount(JVOperation::Read));
}

TEST_F(StandInTest, FaultFileInjectsResultsForTheFrontEnds) {
  std::filesystem::create_directories(feed);
  std::ofstream(feed / "faults.txt") << "# operation code [skip [times]]\nJVOpen -504\nJVStatus -502 1\nBogus 1\n";
  auto jv = Ready();
  EXPECT_EQ(-504, jv.JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
  EXPECT_EQ(kJVOpenNoData, jv.JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
}

TEST_F(StandInTest, RealTimeOpenServesTheFilesOfThatKeyInNameOrder) {
  WriteRealTimeFile(feed, "0B12", "20240302", {RaRec("20240302", "05", 1)}, "2");
  WriteRealTimeFile(feed, "0B12", "20240302", {SeRec("20240302", "05", 1, 1, "2019100001")}, "1");
  WriteRealTimeFile(feed, "0B12", "202403021", {RaRec("20240302", "05", 9)});  // another key
  auto jv = Ready();
  EXPECT_EQ(kJVOpenNoData, jv.JVRTOpen("0B12", "20240309"));
  ASSERT_EQ(0, jv.JVRTOpen("0B12", "20240302"));
  EXPECT_EQ((std::vector<std::string>{"R:SE", "-1", "R:RA", "-1", "0"}), ReadAll(jv));
  EXPECT_EQ(-202, jv.JVRTOpen("0B12", "20240302"));
}

TEST(ImportTimeTest, SettingTimeParsesLenientlyAndRejectsWhatIsNoDateTime) {
  EXPECT_EQ((LocalDateTime{2024, 3, 1, 9, 5, 7}), ParseSettingTime("2024/03/01 09:05:07"));
  EXPECT_EQ((LocalDateTime{2024, 3, 1, 9, 5, 0}), ParseSettingTime(" 2024/3/1 9:05 "));
  EXPECT_EQ((LocalDateTime{2024, 2, 29, 0, 0, 0}), ParseSettingTime("2024/02/29"));
  for (auto bad : {"", "2023/02/29", "2024/13/01 00:00:00", "2024/01/01 24:00:00", "2024-01-01 00:00:00",
                   "2024/01/01 00:00:00x", "24/01/01"})
    EXPECT_FALSE(ParseSettingTime(bad)) << bad;
  EXPECT_EQ("2024/03/01 09:05:07", FormatSettingTime({2024, 3, 1, 9, 5, 7}));
  EXPECT_EQ((LocalDateTime{2024, 2, 26, 9, 5, 7}), AddDays({2024, 3, 1, 9, 5, 7}, -4));
  EXPECT_FALSE(ParseTimestamp("00000000000000"));
}

}  // namespace
}  // namespace furlong
