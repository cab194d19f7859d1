#include "jvlink/JVResultMessage.h"
#include "jvlink/RecordFiling.h"

#include <gtest/gtest.h>

#include <atomic>
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

// Today is 2024-03-04, so the cut-off date is 2024-02-29.
const LocalDateTime kNow{2024, 3, 4, 9, 0, 0};
constexpr const char* kYesterday = "20240303";
constexpr const char* kTomorrow = "20240305";
constexpr const char* kNextWeek = "20240309";
constexpr const char* kTenDaysAgo = "20240223";

std::string U(std::string_view sjis) { return SjisToUtf8(sjis); }

class FilingTest : public ::testing::Test {
 protected:
  test::ScratchDir dir;
  fs::path root = dir.path() / "root";
  Store store{root};
  test::RecordingUi ui;
  std::atomic<bool> cancelled{false};
  int feeds = 0;

  // A feed of one JV-Link file per record list, opened and initialised.
  std::unique_ptr<JVLinkStandIn> Feed(const std::vector<std::vector<std::string>>& files) {
    fs::path feed = dir.path() / ("feed" + std::to_string(++feeds));
    int n = 0;
    for (auto& records : files) WriteFeedFile(feed, "RACE", "2024030" + std::to_string(++n) + "120000", records);
    auto jv = std::make_unique<JVLinkStandIn>(feed);
    jv->JVInit("SA");
    int reads, downloads;
    std::string last;
    EXPECT_EQ(0, jv->JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
    return jv;
  }

  ReadAndFileResult Import(JVLinkStandIn& jv, int readCount, bool batched = true) {
    BatchedStoreWriter batchedWriter;
    DirectStoreWriter direct(store);
    StoreWriter& writer = batched ? static_cast<StoreWriter&>(batchedWriter) : direct;
    return ReadAndFile(jv, store, writer, readCount, FixedClock(kNow), cancelled, ui);
  }

  ReadAndFileResult Import(const std::vector<std::string>& records, bool batched = true) {
    auto jv = Feed({records});
    return Import(*jv, 1, batched);
  }

  std::string Read(const fs::path& rel) { return ReadWholeFile(root / rel); }
  bool Exists(const fs::path& rel) { return fs::exists(root / rel); }
  std::map<std::string, std::string> Files() { return test::Snapshot(root); }
};

fs::path P(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string Line(const std::string& rec) { return rec.substr(0, rec.size() - 2); }

TEST_F(FilingTest, RaceRecordsGoToTheRaceFileOrTheResultsRaceFileByDataKindAndDate) {
  auto future = RaRec(kNextWeek, "05", 1, '2');
  auto old = RaRec(kTenDaysAgo, "05", 2, '7');
  auto recent = RaRec(kYesterday, "06", 3, '7');
  auto letter = RaRec(kYesterday, "06", 4, 'A');
  auto kindZero = RaRec(kYesterday, "06", 5, '0');
  auto raceZero = RaRec(kYesterday, "06", 0, 'B');
  auto r = Import({future, old, recent, letter, kindZero, raceZero});
  EXPECT_EQ(ReadEnd::Finished, r.end);
  EXPECT_EQ(6, r.records);
  EXPECT_EQ((std::vector<std::string>{
                "作成済み:01R/2024年03月09日東京.jvRA",
                "作成済み:02R/2024022305.jvSERA",
                "作成済み:03R/2024年03月03日中山.jvRA",
                "作成済み:03R/2024030306.jvSERA",
                "作成済み:04R/2024030306.jvSERA",
                "作成済み:00R/2024030306.jvSERA",
            }),
            ui.Lines());
  EXPECT_EQ(Line(ZeroRecordStamp(future)) + "\r\n", Read(P("Data/2024年03月09日東京.jvRA")));
  EXPECT_FALSE(Exists(P("Data/2024年02月23日東京.jvRA")));
  EXPECT_EQ(Line(ZeroRecordStamp(recent)) + "\r\n", Read(P("Data/2024年03月03日中山.jvRA")));
  EXPECT_EQ(Line(ZeroRecordStamp(raceZero)) + "\r\n" + Line(ZeroRecordStamp(recent)) + "\r\n" +
                Line(ZeroRecordStamp(letter)) + "\r\n",
            Read("SEIR/2024/2024030306.jvSERA"));
  EXPECT_EQ(Line(ZeroRecordStamp(old)) + "\r\n", Read("SEIR/2024/2024022305.jvSERA"));
}

TEST_F(FilingTest, RunnerRecordsGoToTheirSlotWithTheirStampAndResultsToTheHorseHistory) {
  auto card = SeRec(kTomorrow, "05", 3, 5, "2019100001", '0', "20240302");
  auto noHorse = SeRec(kYesterday, "05", 1, 0, "2019100002", '7');
  auto old = SeRec(kTenDaysAgo, "05", 1, 1, "2019100002", '7');
  auto oldKindZero = SeRec("20240229", "05", 1, 2, "2019100003", '0');  // on the cut-off date itself
  auto raceZero = SeRec(kTomorrow, "05", 0, 1, "2019100003", '2');
  Import({card, noHorse, old, oldKindZero, raceZero});
  EXPECT_EQ((std::vector<std::string>{
                "作成済み:03R/05番/2024年03月05日東京.jvSEr",
                "未作成:01R/00番/出走馬ファイルに該当する枠がありません",
                "作成済み:2024年03月03日東京01R/2019100002.jvSEI",
                "作成済み:2024年02月23日東京01R/2019100002.jvSEI",
            }),
            ui.Lines());
  std::string runners = Read(P("Data/2024年03月05日東京.jvSEr"));
  ASSERT_EQ(216u * kSeLength, runners.size());
  EXPECT_EQ(card, runners.substr(40 * kSeLength, kSeLength));  // line 41: race 3, horse 5, stamp kept
  EXPECT_EQ(std::string(kSeLength - 2, ' ') + "\r\n", runners.substr(0, kSeLength));
  EXPECT_EQ(Line(ZeroRecordStamp(old)) + "\r\n" + Line(ZeroRecordStamp(noHorse)) + "\r\n",
            Read("SEI/2019/2019100002.jvSEI"));
  EXPECT_FALSE(Exists(P("Data/2024年03月03日東京.jvSEr")));
  EXPECT_FALSE(Exists(P("Data/2024年02月29日東京.jvSEr")));
  EXPECT_FALSE(Exists("SEI/2019/2019100001.jvSEI"));
}

TEST_F(FilingTest, RunnerSlotsThatDoNotExistAreListedNotFiled) {
  Import({SeRec(kTomorrow, "05", 13, 1, "2019100001", '2'), SeRec(kTomorrow, "05", 12, 19, "2019100001", '2'),
          SeRec(kTomorrow, "05", 12, 18, "2019100001", '2')});
  EXPECT_EQ((std::vector<std::string>{
                "未作成:13R/01番/出走馬ファイルに該当する枠がありません",
                "未作成:12R/19番/出走馬ファイルに該当する枠がありません",
                "作成済み:12R/18番/2024年03月05日東京.jvSEr",
            }),
            ui.Lines());
}

TEST_F(FilingTest, PayoutsAndHorseMastersAreFiledWhateverTheirKindAndTheLastHorseMasterWins) {
  auto payout = HrRec(kTenDaysAgo, "08", 11, '1');
  auto first = UmRec("2019100001", '1', "20240101");
  auto second = UmRec("2019100001", '2', "20240301");
  Import({payout, HrRec(kTenDaysAgo, "08", 0), first, second});
  EXPECT_EQ((std::vector<std::string>{
                "作成済み:11R/2024年02月23日京都.jvHR",
                "作成済み:2019100001.jvUM2",
                "作成済み:2019100001.jvUM2",
            }),
            ui.Lines());
  EXPECT_EQ(Line(ZeroRecordStamp(payout)) + "\r\n", Read(P("Data/2024年02月23日京都.jvHR")));
  EXPECT_EQ(second, Read("UM2/2019/2019100001.jvUM2"));  // stamp as delivered
}

TEST_F(FilingTest, MalformedAndUnknownRecordsAreNotFiledAndMalformedOnesAreListed) {
  auto truncated = RaRec(kNextWeek, "05", 1, '2').substr(0, 1000) + "\r\n";
  auto overLong = SeRec(kTomorrow, "05", 1, 1, "2019100001", '2');
  overLong.insert(100, "XX");
  auto innerBreak = HrRec(kNextWeek, "05", 1);
  innerBreak[300] = '\n';
  auto noCrLf = UmRec("2019100001");
  noCrLf.replace(kUmLength - 2, 2, "  ");  // comes last in the file, so it stays one record
  auto other = RaRec(kNextWeek, "05", 1, '2');
  other.replace(0, 2, "H1");
  auto nonDigits = RaRec(kNextWeek, "05", 1, ' ');   // kind " " reads 0, and the race is too far off
  auto raceText = RaRec(kNextWeek, "05", 1, '2');
  test::Put(raceText, 26, "0A");                      // race number reads 0
  auto r = Import({truncated, overLong, innerBreak, other, nonDigits, raceText, "\r\n", noCrLf});
  EXPECT_EQ(ReadEnd::Finished, r.end);
  EXPECT_EQ((std::vector<std::string>{
                "未作成:RAレコードの長さが不正です(1002バイト)",
                "未作成:SEレコードの長さが不正です(557バイト)",
                "未作成:HRレコードの改行が不正です",
                "未作成:UMレコードの改行が不正です",
            }),
            ui.Lines());
  EXPECT_EQ((std::map<std::string, std::string>{}), Files());
}

TEST_F(FilingTest, FieldsThatWouldFormUnsafePathsKeepOnlyTheirOwnFilingsOut) {
  auto badCourse = RaRec(kYesterday, "0/", 1, '7');
  auto badHorse = SeRec(kYesterday, "05", 1, 1, "../../etc/", '7');
  auto badMaster = UmRec("2019\\00001");
  Import({badCourse, badHorse, badMaster});
  EXPECT_EQ((std::vector<std::string>{
                "未作成:レースファイル/ファイル名に使えない文字があります(202403030/)",
                "未作成:成績レースファイル/ファイル名に使えない文字があります(202403030/)",
                "作成済み:01R/01番/2024年03月03日東京.jvSEr",
                "未作成:競走馬成績ファイル/ファイル名に使えない文字があります(../../etc/)",
                "未作成:競走馬マスタファイル/ファイル名に使えない文字があります(2019\\00001)",
            }),
            ui.Lines());
  auto files = Files();
  ASSERT_EQ(1u, files.size());
  EXPECT_EQ("Data/2024年03月03日東京.jvSEr", files.begin()->first);
}

TEST_F(FilingTest, TheLoopReportsFilesReadAndItsEndInOrder) {
  auto jv = Feed({{RaRec(kNextWeek, "05", 1, '2')}, {}});
  jv->InjectResult(JVOperation::Read, -3, 1);
  jv->InjectResult(JVOperation::Read, -2);
  auto r = Import(*jv, 2);
  EXPECT_EQ(ReadEnd::Finished, r.end);
  EXPECT_EQ(2, r.filesRead);
  EXPECT_EQ((std::vector<std::string>{
                "status:データ読込み中．．．(0/2)", "read-range:2", "read:0",
                // Batched, a file is listed once it is on disk: at the
                // switch after the JV-Link file that brought it.
                "list:作成済み:01R/2024年03月09日東京.jvRA",
                "read:1", "status:データ読込み中．．．(1/2)",
                "read:2", "status:データ読込み中．．．(2/2)",
                "status:JVRead EndOfFile :0", "status:データ読込み完了(2/2)", "download:0", "read:0", "beep",
            }),
            ui.events);
}

TEST_F(FilingTest, EveryReadErrorStopsTheLoopWithItsMessageAndKeepsWhatWasFiled) {
  for (int code : {-201, -202, -203, -402, -403, -502, -503, -4, -999}) {
    ui.events.clear();
    auto jv = Feed({{RaRec(kNextWeek, "05", 1, '2'), RaRec(kNextWeek, "05", 2, '2')}});
    jv->InjectResult(JVOperation::Read, code, 1);
    auto r = Import(*jv, 1);
    EXPECT_EQ(ReadEnd::ReadError, r.end);
    EXPECT_EQ(code, r.code);
    EXPECT_EQ(2, jv->CallCount(JVOperation::Read));
    ASSERT_GE(ui.events.size(), 2u);
    EXPECT_EQ("beep", ui.events[ui.events.size() - 2]);
    EXPECT_EQ("error:JVReadエラー:" + U(JVResultMessage("JVRead", code)), ui.events.back()) << code;
    EXPECT_TRUE(Exists(P("Data/2024年03月09日東京.jvRA")));
  }
}

TEST_F(FilingTest, ACancelStopsBeforeTheNextReadAtAnyMomentAndWhatWasFiledStays) {
  std::vector<std::string> records;
  for (int race = 1; race <= 6; ++race) {
    records.push_back(RaRec(kYesterday, "05", race, '7'));
    records.push_back(SeRec(kYesterday, "05", race, 1, "201910000" + std::to_string(race), '7'));
  }
  for (int at = 1; at <= static_cast<int>(records.size()) + 2; ++at) {
    for (bool batched : {true, false}) {
      test::ScratchDir fresh;
      Store other(fresh.path());
      int turns = 0;
      cancelled = false;
      ui.onProcessEvents = [&] {
        if (++turns == at) cancelled = true;
      };
      auto jv = Feed({records});
      BatchedStoreWriter b;
      DirectStoreWriter d(other);
      auto r = ReadAndFile(*jv, other, batched ? static_cast<StoreWriter&>(b) : d, 1, FixedClock(kNow), cancelled,
                           ui);
      int expectedReads = std::min(at - 1, static_cast<int>(records.size()) + 2);
      EXPECT_EQ(expectedReads, jv->CallCount(JVOperation::Read)) << at;
      if (at <= static_cast<int>(records.size()) + 1) {
        EXPECT_EQ(ReadEnd::Cancelled, r.end) << at;
        EXPECT_EQ(at - 1, r.records + r.filesRead) << at;
      }
      // Every record read is in the store: a race file line per RA read.
      int ra = (std::min(at - 1, static_cast<int>(records.size())) + 1) / 2;
      if (ra > 0) {
        std::string races = ReadWholeFile(other.RaceFile(MeetingBaseName(records[0])));
        EXPECT_EQ(static_cast<std::size_t>(ra) * (kRaLength), races.size()) << at;
      }
    }
  }
  ui.onProcessEvents = nullptr;
}

TEST_F(FilingTest, AFileThatCannotBeWrittenEndsTheLoopAndTheOtherFilesAreWrittenWhole) {
  for (bool batched : {true, false}) {
    test::ScratchDir fresh;
    Store other(fresh.path());
    ui.events.clear();
    // "Data" becomes a regular file: nothing can be written below it.
    fs::remove_all(fresh.path() / "Data");
    { std::ofstream(fresh.path() / "Data") << "x"; }
    auto jv = Feed({{SeRec(kTenDaysAgo, "05", 1, 1, "2019100001", '7'), RaRec(kYesterday, "05", 1, '7'),
                     SeRec(kTenDaysAgo, "05", 1, 2, "2019100002", '7')}});
    BatchedStoreWriter b;
    DirectStoreWriter d(other);
    auto r = ReadAndFile(*jv, other, batched ? static_cast<StoreWriter&>(b) : d, 1, FixedClock(kNow), cancelled, ui);
    EXPECT_EQ(ReadEnd::StoreFailed, r.end);
    EXPECT_NE(std::string::npos, r.error.find("Data")) << r.error;
    EXPECT_EQ("beep", ui.events[ui.events.size() - 2]);
    EXPECT_EQ("error:", ui.events.back().substr(0, 6));
    auto files = test::Snapshot(fresh.path());
    EXPECT_EQ(1u, files.count("SEI/2019/2019100001.jvSEI"));
    for (auto& [name, bytes] : files) EXPECT_EQ(std::string::npos, name.find(".tmp")) << name;
    // Either way the writing stopped at the failing file: only the history
    // filed before it is written, and the list claims that file alone.
    EXPECT_EQ(2u, files.size());  // "Data" itself is one of them
    int claims = 0;
    for (auto& e : ui.events) {
      if (e.rfind("list:作成済み:", 0) != 0) continue;
      ++claims;
      EXPECT_NE(std::string::npos, e.find("2019100001.jvSEI")) << e;
    }
    EXPECT_EQ(1, claims);
  }
}

TEST_F(FilingTest, BatchedFilingWritesExactlyTheBytesOfFilingRecordByRecord) {
  test::SyntheticFeedSpec spec;
  spec.today = kNow;
  spec.firstDay = {2024, 2, 24, 0, 0, 0};  // results older and newer than the cut-off, then race cards
  spec.weekends = 3;
  spec.courses = 2;
  spec.races = 6;
  spec.horses = 120;  // horses run several times; masters come again
  fs::path feed = dir.path() / "synthetic";
  auto counts = test::WriteSyntheticFeed(feed, spec);
  // Things that make the merge order matter: redeliveries with other
  // stamps, a stored race file that starts with a blank line.
  WriteFeedFile(feed, "RACE", "20240310120000",
                {RaRec("20240302", "05", 3, '7', "20240305"), RaRec("20240309", "05", 1, '1', "20240305"),
                 UmRec("2017000000", '2', "20240310"), SeRec("20240309", "05", 1, 1, "2018000001", '1')});
  std::map<std::string, std::string> stores[2];
  for (int i = 0; i < 2; ++i) {
    test::ScratchDir fresh;
    Store other(fresh.path());
    WriteFileAtomically(other.RaceFile(MeetingBaseName(RaRec("20240309", "05", 1))),
                        std::string(kRaLength - 2, ' ') + "\r\n" + Line(RaRec("20240309", "05", 12, '1')) + "\r\n");
    JVLinkStandIn jv(feed);
    jv.JVInit("SA");
    int reads, downloads;
    std::string last;
    ASSERT_EQ(0, jv.JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
    BatchedStoreWriter b;
    DirectStoreWriter d(other);
    auto r = ReadAndFile(jv, other, i == 0 ? static_cast<StoreWriter&>(b) : d, reads, FixedClock(kNow), cancelled,
                         ui);
    ASSERT_EQ(ReadEnd::Finished, r.end);
    EXPECT_EQ(counts.records + 4, r.records);
    stores[i] = test::Snapshot(fresh.path());
  }
  EXPECT_GT(stores[0].size(), 100u);
  EXPECT_EQ(stores[1], stores[0]);
}

TEST_F(FilingTest, ImportingTheSameFeedTwiceGivesTheSameStore) {
  test::SyntheticFeedSpec spec;
  spec.today = kNow;
  spec.courses = 1;
  spec.races = 4;
  spec.horses = 30;
  fs::path feed = dir.path() / "twice";
  test::WriteSyntheticFeed(feed, spec);
  std::map<std::string, std::string> after[2];
  for (int i = 0; i < 2; ++i) {
    JVLinkStandIn jv(feed);
    jv.JVInit("SA");
    int reads, downloads;
    std::string last;
    ASSERT_EQ(0, jv.JVOpen("RACE", "20240101000000", 2, reads, downloads, last));
    ASSERT_EQ(ReadEnd::Finished, Import(jv, reads).end);
    after[i] = Files();
  }
  EXPECT_EQ(after[0], after[1]);
}

TEST_F(FilingTest, EachJVLinkFileIsWrittenAtItsSwitchAndAFileTouchedAgainIsReadBack) {
  // One horse runs in both files: its history is written after the first and
  // read back from the store for the second.
  auto jv = Feed({{RaRec(kTenDaysAgo, "05", 1), SeRec(kTenDaysAgo, "05", 1, 3, "2019100001")},
                  {SeRec("20240224", "05", 2, 4, "2019100001")}});
  ASSERT_EQ(ReadEnd::Finished, Import(*jv, 2).end);
  // The first file's two lines (results race file, horse history) reach the
  // ui before its switch is reported, the second file's line after it.
  std::vector<std::string> order;
  for (const std::string& e : ui.events)
    if (e.rfind("list:", 0) == 0 || e.rfind("read:", 0) == 0) order.push_back(e.rfind("read:", 0) == 0 ? e : "list");
  EXPECT_EQ((std::vector<std::string>{"read:0", "list", "list", "read:1", "list", "read:2", "read:0"}), order);
  const std::string history = ReadWholeFile(store.HorseHistoryFile("2019100001"));
  EXPECT_EQ(2 * kSeLength, history.size());

  BatchedStoreWriter writer;
  EXPECT_EQ(0u, writer.HeldBytes());
  writer.MergeByRaceKey(store.HorseHistoryFile("2019100001"), SeRec("20240302", "05", 1, 1, "2019100001"), false);
  EXPECT_GT(writer.HeldBytes(), 3 * (kSeLength - 2));
  writer.Flush();
  EXPECT_EQ(0u, writer.HeldBytes());
  EXPECT_EQ(3 * kSeLength, ReadWholeFile(store.HorseHistoryFile("2019100001")).size());
}

TEST(FilingCutoffTest, TheCutoffIsFourDaysBeforeTodayAcrossMonthAndYearEnds) {
  EXPECT_EQ(20240229, CutoffDate({2024, 3, 4, 0, 0, 0}));
  EXPECT_EQ(20231228, CutoffDate({2024, 1, 1, 23, 59, 59}));
}

}  // namespace
}  // namespace furlong
