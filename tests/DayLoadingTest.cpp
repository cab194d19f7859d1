#include "store/DayLoading.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

#include "StoreTestSupport.h"
#include "store/HorseMasterConversion.h"
#include "store/Encoding.h"

using namespace furlong;
using namespace furlong::test;
namespace fs = std::filesystem;

namespace {

// A meeting on 2024-01-06 at Nakayama with `races` races of `runners` runners.
class MeetingFixture : public ::testing::Test {
 protected:
  ScratchDir dir;
  Store store{dir.path()};
  std::string meeting;
  std::unique_ptr<DayTables> day = std::make_unique<DayTables>();

  std::string Ra(std::string_view date, std::string_view course, int race, int runners, int distance = 1600) {
    std::string ra = RaceHead("RA", kRaLength, date, course, race);
    PutNum(ra, 882, 2, runners);
    PutNum(ra, 698, 4, distance);
    return ra;
  }
  std::string Se(std::string_view date, std::string_view course, int race, int horse, std::string_view id) {
    std::string se = RaceHead("SE", kSeLength, date, course, race);
    PutNum(se, 29, 2, horse);
    Put(se, 31, id);
    return se;
  }
  static std::string Id(int horse) { return "20201000" + std::string(horse < 10 ? "0" : "") + std::to_string(horse); }

  void MakeMeeting(int races, int runners) {
    for (int r = 1; r <= races; ++r) {
      std::string ra = Ra("20240106", "06", r, runners);
      meeting = MeetingBaseName(ra);
      store.MergeByRaceKey(store.RaceFile(meeting), ZeroRecordStamp(ra), true);
      for (int h = 1; h <= runners; ++h)
        store.PutRunnerSlot(store.RunnerFile(meeting), Se("20240106", "06", r, h, Id(h)), r, h);
    }
  }
  // A past run of horse `h` on `date` in race `race` at `course`, with its race record.
  void AddPastRun(int h, std::string_view date, std::string_view course, int race, bool withRace = true) {
    std::string se = Se(date, course, race, 3, Id(h));
    store.YearFolder("SEI", Id(h).substr(0, 4), true);
    store.MergeByRaceKey(store.HorseHistoryFile(Id(h)), ZeroRecordStamp(se), false);
    if (withRace) {
      std::string ra = Ra(date, course, race, 16, 1000 + race * 100);
      store.YearFolder("SEIR", ra.substr(11, 4), true);
      store.MergeByRaceKey(store.ResultsRaceFile(ra), ZeroRecordStamp(ra), false);
    }
  }
  void Load(DayLoadCallbacks cb = {}) { LoadMeetingDay(store, meeting, *day, cb); }
};

}  // namespace

TEST_F(MeetingFixture, FillsSlotsInOrderAndLeavesTheRestBlank) {
  MakeMeeting(11, 8);
  std::vector<int> handed;
  int lastDone = 0, total = 0;
  DayLoadCallbacks cb;
  cb.raceSlot = [&](int s) { handed.push_back(s); };
  cb.progress = [&](int done, int t) {
    EXPECT_EQ(done, lastDone + 1);
    lastDone = done;
    total = t;
  };
  Load(cb);
  EXPECT_EQ(lastDone, 24);
  EXPECT_EQ(total, 24);
  EXPECT_EQ(handed.size(), 12u);
  EXPECT_TRUE(day->hasRace[10]);
  EXPECT_FALSE(day->hasRace[11]);
  EXPECT_TRUE(day->RaceRecords[11].IsBlank());
  EXPECT_TRUE(day->PayoutRecords[11].IsBlank());
  EXPECT_EQ(FieldNumber(day->RunnerRecords[4][7], 29, 30), 8);
  EXPECT_TRUE(day->RunnerRecords[4][8].IsBlank());  // beyond the registered runners
}

TEST_F(MeetingFixture, PastRunsAreTheFiveLatestBeforeTheRaceDateNewestFirst) {
  MakeMeeting(1, 3);
  const char* dates[] = {"20230105", "20230305", "20230505", "20230705", "20230905", "20231105", "20240106", "20240203"};
  for (int i = 0; i < 8; ++i) AddPastRun(1, dates[i], "05", i + 1);
  AddPastRun(2, "20231201", "06", 1);
  AddPastRun(2, "20231224", "06", 2);
  AddPastRun(2, "20231228", "06", 3);
  Load();
  // Horse 1: the run on the race day itself and the later one do not count.
  EXPECT_EQ(RaceDate(day->PastRunRecords[0][0][0]), "20231105");
  EXPECT_EQ(RaceDate(day->PastRunRecords[0][0][4]), "20230305");
  // Horse 2: three runs fill k = 0..2 newest first.
  EXPECT_EQ(RaceDate(day->PastRunRecords[0][1][0]), "20231228");
  EXPECT_EQ(RaceDate(day->PastRunRecords[0][1][2]), "20231201");
  EXPECT_TRUE(day->PastRunRecords[0][1][3].IsBlank());
  // Horse 3 has no history at all.
  for (int k = 0; k < 5; ++k) EXPECT_TRUE(day->PastRunRecords[0][2][k].IsBlank());
  // The race record of each past run comes from its results race file.
  EXPECT_EQ(FieldNumber(day->PastRaceRecords[0][1][0], 698, 701), 1300);
  EXPECT_EQ(FieldNumber(day->PastRaceRecords[0][0][0], 26, 27), 6);
}

TEST_F(MeetingFixture, AMissingPastRaceOrUnsafeFieldsLeaveBlanksNotErrors) {
  MakeMeeting(1, 2);
  AddPastRun(1, "20231105", "44", 3, /*withRace=*/false);  // a local race without a results file
  // A runner whose horse id cannot name a file.
  std::string bad = Se("20240106", "06", 1, 2, "../../etc/");
  store.PutRunnerSlot(store.RunnerFile(meeting), bad, 1, 2);
  std::vector<std::string> warnings;
  DayLoadCallbacks cb;
  cb.warning = [&](const std::string& m) { warnings.push_back(m); };
  Load(cb);
  EXPECT_FALSE(day->PastRunRecords[0][0][0].IsBlank());
  EXPECT_TRUE(day->PastRaceRecords[0][0][0].IsBlank());
  EXPECT_FALSE(day->RunnerRecords[0][1].IsBlank());
  EXPECT_TRUE(day->HorseRecords[0][1].IsBlank());
  EXPECT_EQ(warnings.size(), 1u);
}

TEST_F(MeetingFixture, HistoryRecordsOfOtherHorsesAreSkipped) {
  MakeMeeting(1, 2);
  AddPastRun(1, "20231105", "05", 1);
  // Another horse's run filed into horse 1's history.
  std::string foreign = Se("20231201", "05", 2, 3, Id(2));
  store.MergeByRaceKey(store.HorseHistoryFile(Id(1)), ZeroRecordStamp(foreign), false);
  int warned = 0;
  DayLoadCallbacks cb;
  cb.warning = [&](const std::string&) { ++warned; };
  Load(cb);
  EXPECT_EQ(RaceDate(day->PastRunRecords[0][0][0]), "20231105");
  EXPECT_TRUE(day->PastRunRecords[0][0][1].IsBlank());
  EXPECT_EQ(warned, 1);
}

TEST_F(MeetingFixture, ShortOrTornFilesNeverShiftOrOverrunRecords) {
  MakeMeeting(2, 4);
  // Cut the runner file inside race 1's fourth record and add half a race record.
  fs::resize_file(store.RunnerFile(meeting), 3 * kSeLength + 100);
  std::ofstream(store.RaceFile(meeting), std::ios::binary | std::ios::app) << std::string(500, 'x');
  int warned = 0;
  DayLoadCallbacks cb;
  cb.warning = [&](const std::string&) { ++warned; };
  Load(cb);
  EXPECT_FALSE(day->RunnerRecords[0][2].IsBlank());
  EXPECT_TRUE(day->RunnerRecords[0][3].IsBlank());
  EXPECT_TRUE(day->RunnerRecords[1][0].IsBlank());
  EXPECT_TRUE(day->hasRace[1]);
  EXPECT_FALSE(day->hasRace[2]);
  EXPECT_EQ(warned, 1);
}

TEST_F(MeetingFixture, MoreThan18RegisteredRunnersAreReadAs18) {
  MakeMeeting(1, 18);
  std::string ra = Ra("20240106", "06", 1, 20);
  store.MergeByRaceKey(store.RaceFile(meeting), ZeroRecordStamp(ra), true);
  Load();
  EXPECT_EQ(FieldNumber(day->RaceRecords[0], 882, 883), 20);
  EXPECT_EQ(RegisteredRunners(day->RaceRecords[0]), 18);
  EXPECT_FALSE(day->RunnerRecords[0][17].IsBlank());
  EXPECT_TRUE(day->RunnerRecords[1][0].IsBlank());  // race 2's slots were not read as race 1's
}

TEST_F(MeetingFixture, PayoutsLandInTheSlotOfTheirRaceAndAreSummarised) {
  MakeMeeting(3, 8);
  std::string hr3 = RaceHead("HR", kHrLength, "20240106", "06", 3);
  Put(hr3, 103, "05000000250" "02");
  Put(hr3, 142, "05000000120" "02");
  Put(hr3, 207, "36000001230" "04");
  Put(hr3, 246, "0105000004560" "012");
  Put(hr3, 294, "0105000000990" "010");
  std::string hr1 = RaceHead("HR", kHrLength, "20240106", "06", 1);
  Put(hr1, 103, "01000000110" "01");
  // Filed out of race order: the file is sorted, but each record still finds its slot.
  std::ofstream(store.PayoutFile(meeting), std::ios::binary) << hr3 << hr1;
  Load();
  EXPECT_TRUE(day->PayoutRecords[1].IsBlank());
  const RacePayouts& p = day->Payouts[2];
  EXPECT_EQ(p.win[0].horse, 5);
  EXPECT_EQ(p.win[0].amount, 250);
  EXPECT_EQ(p.win[0].popularity, 2);
  EXPECT_EQ(p.bracketQuinella[0].Pair(), " 3- 6");
  EXPECT_EQ(p.bracketQuinella[0].amount, 1230);
  EXPECT_EQ(p.quinella[0].Pair(), " 1- 5");
  EXPECT_EQ(p.quinella[0].popularity, 12);
  EXPECT_EQ(p.wide[0].amount, 990);
  EXPECT_EQ(p.wide[1].Pair(), "");  // an empty entry has no pair text
  EXPECT_EQ(day->Payouts[0].win[0].horse, 1);
}

TEST_F(MeetingFixture, TheMeetingsOwnOddsFileWinsOverTheDayFile) {
  MakeMeeting(2, 8);
  std::string a(kOddsLength, 'A'), b(kOddsLength, 'B');
  std::ofstream(store.OddsFile(meeting), std::ios::binary) << a << b;
  std::string dayRec(kOddsLength, ' ');
  Put(dayRec, 1, "20240106");
  Put(dayRec, 9, "06");
  Put(dayRec, 15, "02");
  std::ofstream(store.DayOddsFile(meeting), std::ios::binary) << dayRec;
  Load();
  EXPECT_EQ(day->PredictedOddsRecords[1].bytes[0], 'B');
  fs::remove(store.OddsFile(meeting));
  Load();
  EXPECT_TRUE(day->PredictedOddsRecords[0].IsBlank());
  EXPECT_EQ(Field(day->PredictedOddsRecords[1], 1, 8), "20240106");
}

TEST_F(MeetingFixture, AMissingHorseMasterIsConvertedFromTheLegacyFile) {
  MakeMeeting(1, 2);
  std::string legacy(kLegacyUmLength, ' ');
  Put(legacy, 1, "UM1");
  Put(legacy, 12, Id(1));
  Put(legacy, 205, "12345678");
  legacy[kLegacyUmLength - 2] = '\r';
  legacy[kLegacyUmLength - 1] = '\n';
  fs::create_directories(store.LegacyHorseMasterFile(Id(1)).parent_path());
  std::ofstream(store.LegacyHorseMasterFile(Id(1)), std::ios::binary) << legacy;
  Load();
  EXPECT_TRUE(fs::exists(store.HorseMasterFile(Id(1))));
  EXPECT_EQ(Field(day->HorseRecords[0][0], 12, 21), Id(1));
  EXPECT_EQ(Field(day->HorseRecords[0][0], 205, 216), "  12345678  ");
  EXPECT_TRUE(day->HorseRecords[0][1].IsBlank());  // no file at all
}

TEST(ResultTexts, SentinelsAndFormatsAndRacesNotYetRun) {
  std::string se = RaceHead("SE", kSeLength, "20240106", "06", 1);
  ResultTexts blank = MakeResultTexts(se);
  EXPECT_EQ(blank.finish, "  ");
  EXPECT_EQ(blank.popularity, "  ");
  EXPECT_EQ(blank.odds, "     ");
  EXPECT_EQ(blank.time, "      ");
  Put(se, 335, "00");
  Put(se, 364, "00");
  Put(se, 360, "0000");
  Put(se, 339, "0000");
  Put(se, 332, "0");
  ResultTexts notRun = MakeResultTexts(se);  // a card record before the race
  EXPECT_EQ(notRun.finish, "  ");
  EXPECT_EQ(notRun.popularity, "  ");
  EXPECT_EQ(notRun.odds, "     ");
  EXPECT_EQ(notRun.time, "      ");
  Put(se, 332, "1");  // scratched
  ResultTexts none = MakeResultTexts(se);
  EXPECT_EQ(SjisToUtf8(none.finish), "―");
  EXPECT_EQ(none.popularity, "--");
  EXPECT_EQ(none.odds, "-----");
  EXPECT_EQ(none.time, "------");
  Put(se, 335, "03");
  Put(se, 364, "11");
  Put(se, 360, "0123");
  Put(se, 339, "1234");
  ResultTexts r = MakeResultTexts(se);
  EXPECT_EQ(r.finish, " 3");
  EXPECT_EQ(r.popularity, "11");
  EXPECT_EQ(r.odds, " 12.3");
  EXPECT_EQ(r.time, "1.23.4");
}

TEST(HorseMasterConversion, WidensThreeFieldsAndCopiesTheRest) {
  std::string old(kLegacyUmLength - 2, ' ');
  for (std::size_t i = 0; i < old.size(); ++i) old[i] = static_cast<char>('!' + i % 90);
  Put(old, 205 + 44 * 13, "87654321");
  Put(old, 855, "123456");
  std::string out = ConvertLegacyHorseMasterRecord(old);
  ASSERT_EQ(out.size(), 1607u);
  EXPECT_EQ(out.substr(0, 204), old.substr(0, 204));
  EXPECT_EQ(out.substr(962), old.substr(930));  // old 931 -> new 963
  for (int i = 0; i < 14; ++i) {
    EXPECT_EQ(out.substr(204 + 46 * i, 2), "  ");
    EXPECT_EQ(out.substr(206 + 46 * i, 8), old.substr(204 + 44 * i, 8));
    EXPECT_EQ(out.substr(214 + 46 * i, 36), old.substr(212 + 44 * i, 36));  // name at 215 + 46i
  }
  EXPECT_EQ(out.substr(882, 8), "  123456");  // new 883-890
  EXPECT_EQ(out.substr(890, 2), "  ");
  EXPECT_EQ(out.substr(892, 70), old.substr(860, 70));
  EXPECT_EQ(out.substr(848, 34), old.substr(820, 34));
}

TEST(HorseMasterConversion, KeepsRecordOrderAndWritesNothingForAnEmptyFile) {
  ScratchDir dir;
  fs::path legacy = dir.path() / "a.jvUMA", master = dir.path() / "a.jvUM2";
  std::string r1(kLegacyUmLength, '1'), r2(kLegacyUmLength, '2');
  std::ofstream(legacy, std::ios::binary) << r1 << r2;
  EXPECT_EQ(ConvertHorseMaster(legacy, master), 2);
  std::string content = ReadWholeFile(master);
  ASSERT_EQ(content.size(), 2u * kUmLength);
  EXPECT_EQ(content[0], '1');
  EXPECT_EQ(content[kUmLength], '2');
  EXPECT_EQ(content.substr(kUmLength - 2, 2), "\r\n");
  std::ofstream(legacy, std::ios::binary | std::ios::trunc);
  fs::remove(master);
  EXPECT_EQ(ConvertHorseMaster(legacy, master), 0);
  EXPECT_FALSE(fs::exists(master));
  EXPECT_EQ(ConvertHorseMaster(dir.path() / "missing", master), 0);
}
