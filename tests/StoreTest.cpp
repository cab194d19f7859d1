#include "store/Store.h"

#include <gtest/gtest.h>

#include <fstream>

#include "StoreTestSupport.h"
#include "store/Encoding.h"

using namespace furlong;
using namespace furlong::test;
namespace fs = std::filesystem;

namespace {

std::vector<std::string> FileLines(const fs::path& p) {
  std::string content = ReadWholeFile(p);
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t pos; (pos = content.find("\r\n", start)) != std::string::npos; start = pos + 2)
    lines.push_back(content.substr(start, pos - start));
  EXPECT_EQ(start, content.size()) << "every line ends in CR LF";
  return lines;
}

std::string Ra(int race, char kind = '7', std::string_view created = "20240101") {
  return RaceHead("RA", kRaLength, "20240105", "06", race, kind, created);
}

}  // namespace

TEST(Store, CreatesItsFoldersAndReusesOnesInAnotherLetterCase) {
  ScratchDir dir;
  fs::create_directory(dir.path() / "DATA");
  Store store(dir.path());
  for (auto name : {"SEI", "SEIR", "UM2", "yLZH"}) EXPECT_TRUE(fs::is_directory(dir.path() / name)) << name;
  EXPECT_FALSE(fs::exists(dir.path() / "Data") && !fs::equivalent(dir.path() / "Data", dir.path() / "DATA"));
  // The same folder, whatever letter case its path is spelt in.
  EXPECT_TRUE(fs::equivalent(store.RaceFile(Utf8ToSjis("2004年01月05日中山")).parent_path(), dir.path() / "DATA"));
}

TEST(Store, MeetingBaseNameAndFileNames) {
  ScratchDir dir;
  Store store(dir.path());
  std::string ra = RaceHead("RA", kRaLength, "20040105", "06", 1);
  EXPECT_EQ(SjisToUtf8(MeetingBaseName(ra)), "2004年01月05日中山");
  std::string unknown = RaceHead("RA", kRaLength, "20040105", "99", 1);
  EXPECT_EQ(SjisToUtf8(MeetingBaseName(unknown)), "2004年01月05日    ");
  EXPECT_EQ(store.RaceFile(MeetingBaseName(ra)).filename().string(), "2004年01月05日中山.jvRA");
  EXPECT_EQ(store.DayOddsFile(MeetingBaseName(ra)).filename().string(), "2004年01月05日.yoz");
  EXPECT_EQ(store.ResultsRaceFile(ra), store.Folder("SEIR") / "2004" / "2004010506.jvSERA");
  EXPECT_EQ(store.HorseHistoryFile("2001104567"), store.Folder("SEI") / "2001" / "2001104567.jvSEI");
  EXPECT_EQ(store.HorseMasterFile("2001104567"), store.Folder("UM2") / "2001" / "2001104567.jvUM2");
}

TEST(Store, RefusesFieldsThatWouldNameAPathOutsideTheStore) {
  ScratchDir dir;
  Store store(dir.path());
  EXPECT_THROW(store.HorseHistoryFile("../../../x"), RefusedRecord);
  EXPECT_THROW(store.HorseMasterFile("2001 04567"), RefusedRecord);
  std::string ra = RaceHead("RA", kRaLength, "2004/105", "06", 1);
  EXPECT_THROW(store.ResultsRaceFile(ra), RefusedRecord);
  EXPECT_THROW(store.RaceFile("../x"), RefusedRecord);
  EXPECT_THROW(store.RaceFile(".."), RefusedRecord);
}

TEST(Store, ZeroRecordStampClearsKindAndCreationDateOnly) {
  std::string ra = Ra(1, '2', "20231231");
  std::string z = ZeroRecordStamp(ra);
  EXPECT_EQ(z.substr(0, 11), "RA000000000");
  EXPECT_EQ(z.substr(11), ra.substr(11));
}

TEST(Store, MergeByRaceKeyReplacesBySixteenByteKeyAndKeepsOrder) {
  ScratchDir dir;
  Store store(dir.path());
  fs::path file = store.Folder("Data") / "m.jvRA";
  std::string r3 = ZeroRecordStamp(Ra(3)), r1 = ZeroRecordStamp(Ra(1));
  store.MergeByRaceKey(file, r3, true);
  store.MergeByRaceKey(file, r1, true);
  store.MergeByRaceKey(file, r1, true);  // same record twice: one line
  auto lines = FileLines(file);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], r1.substr(0, kRaLength - 2));
  EXPECT_EQ(lines[1], r3.substr(0, kRaLength - 2));
  // Another kind or creation date with the same key replaces the line.
  std::string changed = Ra(1, '5', "20240104");
  Put(changed, 33, "NEWNAME");
  store.MergeByRaceKey(file, ZeroRecordStamp(changed), true);
  lines = FileLines(file);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].substr(32, 7), "NEWNAME");
}

TEST(Store, MergeDropsOneBlankFirstLineOfRaceFilesOnly) {
  ScratchDir dir;
  Store store(dir.path());
  fs::path race = store.Folder("Data") / "m.jvRA", pay = store.Folder("Data") / "m.jvHR";
  std::string r1 = ZeroRecordStamp(Ra(1));
  for (auto& p : {race, pay}) {
    std::ofstream(p, std::ios::binary) << "\r\n" << r1;
  }
  store.MergeByRaceKey(race, ZeroRecordStamp(Ra(2)), true);
  store.MergeByRaceKey(pay, ZeroRecordStamp(Ra(2)), false);
  EXPECT_EQ(FileLines(race).size(), 2u);
  auto payLines = FileLines(pay);
  ASSERT_EQ(payLines.size(), 3u);
  EXPECT_EQ(payLines[0], "");
}

TEST(Store, PutRunnerSlotMakesA216LineFileAndRefusesSlotsItLacks) {
  ScratchDir dir;
  Store store(dir.path());
  fs::path file = store.Folder("Data") / "m.jvSEr";
  std::string se = RaceHead("SE", kSeLength, "20240105", "06", 3, '2');
  PutNum(se, 29, 2, 5);
  store.PutRunnerSlot(file, se, 3, 5);
  auto lines = FileLines(file);
  ASSERT_EQ(lines.size(), 216u);
  EXPECT_EQ(lines[40], se.substr(0, kSeLength - 2));  // line 41 counted from 1
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (i != 40) {
      EXPECT_EQ(lines[i], std::string(553, ' ')) << i;
    }
  EXPECT_EQ(fs::file_size(file), 216u * kSeLength);
  EXPECT_THROW(store.PutRunnerSlot(file, se, 13, 1), RefusedRecord);
  EXPECT_THROW(store.PutRunnerSlot(file, se, 1, 19), RefusedRecord);
  EXPECT_THROW(store.PutRunnerSlot(file, se, 0, 1), RefusedRecord);
  EXPECT_EQ(FileLines(file).size(), 216u);
}

TEST(Store, PutRunnerSlotRestoresAShortRunnerFile) {
  ScratchDir dir;
  Store store(dir.path());
  fs::path file = store.Folder("Data") / "m.jvSEr";
  std::ofstream(file, std::ios::binary) << std::string(553, ' ') << "\r\n";
  std::string se = RaceHead("SE", kSeLength, "20240105", "06", 12, '2');
  store.PutRunnerSlot(file, se, 12, 18);
  auto lines = FileLines(file);
  ASSERT_EQ(lines.size(), 216u);
  EXPECT_EQ(lines[215], se.substr(0, kSeLength - 2));
}

TEST(Store, ReplaceWholeFileKeepsTheLastRecordOnlyAndCreatesTheYearFolder) {
  ScratchDir dir;
  Store store(dir.path());
  std::string um = BlankRecord("UM", kUmLength);
  Put(um, 12, "2001104567");
  fs::path file = store.HorseMasterFile("2001104567");
  store.ReplaceWholeFile(file, um);
  Put(um, 41, "X");
  store.ReplaceWholeFile(file, um);
  auto lines = FileLines(file);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0][40], 'X');
}

TEST(Store, AFailedRewriteLeavesTheOldFileAndNoTemporaryFile) {
  ScratchDir dir;
  Store store(dir.path());
  fs::path file = store.Folder("Data") / "m.jvRA";
  store.MergeByRaceKey(file, ZeroRecordStamp(Ra(1)), true);
  std::string before = ReadWholeFile(file);
  // A folder where the file should be: the rename cannot replace it.
  fs::path blocked = store.Folder("Data") / "blocked.jvRA";
  fs::create_directory(blocked);
  fs::create_directory(blocked / "inner");
  EXPECT_THROW(store.MergeByRaceKey(blocked, ZeroRecordStamp(Ra(1)), true), StoreError);
  // A path whose folder is a regular file cannot be written at all.
  EXPECT_THROW(store.MergeByRaceKey(file / "x", ZeroRecordStamp(Ra(1)), true), StoreError);
  EXPECT_EQ(ReadWholeFile(file), before);
  for (auto& e : fs::directory_iterator(store.Folder("Data")))
    EXPECT_EQ(e.path().string().find(".tmp"), std::string::npos) << e.path();
}

TEST(Store, StoreErrorsNameThePath) {
  try {
    ReadWholeFile("/nonexistent-folder/file.jvRA");
    FAIL();
  } catch (const StoreError& e) {
    EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/file.jvRA"), std::string::npos);
  }
}

TEST(Store, MeetingNamesComeFromRaceFilesInNameOrder) {
  ScratchDir dir;
  Store store(dir.path());
  for (auto date : {"20240106", "20240105"}) {
    for (auto course : {"06", "09"}) {
      std::string ra = RaceHead("RA", kRaLength, date, course, 1);
      store.MergeByRaceKey(store.RaceFile(MeetingBaseName(ra)), ZeroRecordStamp(ra), true);
    }
  }
  std::ofstream(store.Folder("Data") / "junk.txt") << "x";
  auto names = store.MeetingNames();
  ASSERT_EQ(names.size(), 4u);
  // Ascending Shift-JIS name order: the date first, then the racecourse
  // name's bytes (阪 0x8DE3 before 中 0x9286).
  EXPECT_EQ(SjisToUtf8(names[0]), "2024年01月05日阪神");
  EXPECT_EQ(SjisToUtf8(names[1]), "2024年01月05日中山");
  EXPECT_EQ(SjisToUtf8(names[3]), "2024年01月06日中山");
}

TEST(RecordFile, CountsWholeRecordsAndNeverReadsPastTheEnd) {
  ScratchDir dir;
  fs::path file = dir.path() / "f";
  std::ofstream(file, std::ios::binary) << std::string(555 * 2 + 100, 'x');
  RecordFile f;
  ASSERT_TRUE(f.Open(file, 555));
  EXPECT_EQ(f.Count(), 2u);
  std::string buf(555, ' ');
  EXPECT_TRUE(f.Read(1, buf.data()));
  EXPECT_FALSE(f.Read(2, buf.data()));
  RecordFile missing;
  EXPECT_FALSE(missing.Open(dir.path() / "none", 555));
}
