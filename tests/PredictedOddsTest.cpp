#include "imports/PredictedOdds.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "StoreTestSupport.h"
#include "imports/LzhArchive.h"
#include "store/Encoding.h"
#include "store/Record.h"

namespace furlong {
namespace {

namespace fs = std::filesystem;

std::string S(const char* utf8) { return Utf8ToSjis(utf8); }

// ---- source lines -------------------------------------------------------------

void PutText(std::string& line, std::size_t col, std::string_view text) { line.replace(col - 1, text.size(), text); }

std::string Right(const std::string& s, std::size_t width) {
  return s.size() >= width ? s : std::string(width - s.size(), ' ') + s;
}

// A KOL line: win odds of horse i = 10 i + 3 tenths, bracket pair p = 100 + p,
// quinella pair q = 1000 + q (as the committed test archives hold them).
std::string KolLine(std::string code, int race, std::string date, int runners) {
  std::string l(kKolLineLength, ' ');
  PutText(l, 1, code);
  PutText(l, 7, "0102");
  PutText(l, 11, race < 10 ? "0" + std::to_string(race) : std::to_string(race));
  PutText(l, 13, date);
  PutText(l, 110, Right(std::to_string(runners), 2));
  for (int i = 1; i <= 18; ++i) PutText(l, 162 + 5 * (i - 1), Right(std::to_string(10 * i + 3), 5));
  for (int p = 1; p <= 36; ++p) PutText(l, 252 + 5 * (p - 1), Right(std::to_string(100 + p), 5));
  for (int q = 1; q <= 153; ++q) PutText(l, 432 + 7 * (q - 1), Right(std::to_string(1000 + q), 7));
  return l;
}

std::string JrdbLine(std::string code, std::string meetingDay, int race, int runners) {
  std::string l(kJrdbLineLength, ' ');
  PutText(l, 1, code);
  PutText(l, 3, "04");
  PutText(l, 5, meetingDay);
  PutText(l, 7, race < 10 ? "0" + std::to_string(race) : std::to_string(race));
  PutText(l, 9, Right(std::to_string(runners), 2));
  for (int i = 1; i <= 18; ++i) {
    PutText(l, 11 + 5 * (i - 1), Right(std::to_string(i) + ".5", 5));
    PutText(l, 101 + 5 * (i - 1), Right("1." + std::to_string(i % 10), 5));
  }
  for (int q = 1; q <= 153; ++q) PutText(l, 191 + 5 * (q - 1), Right(std::to_string(q) + ".5", 5));
  return l;
}

// The 1-based columns from..to of line `race` of an odds file.
std::string OddsField(const std::string& file, int race, std::size_t from, std::size_t to) {
  return std::string(Field(std::string_view(file).substr((race - 1) * kOddsLength, kOddsLength), from, to));
}

// Quinella field of pair index q (1-153) in a record.
std::size_t QuinellaColumn(int q) { return 236 + 8 * static_cast<std::size_t>(q - 1); }

void ExpectTwelveLines(const std::string& file) {
  ASSERT_EQ(file.size(), 12 * kOddsLength);
  for (int r = 0; r < 12; ++r) {
    std::string_view line = std::string_view(file).substr(r * kOddsLength, kOddsLength);
    EXPECT_EQ(line.substr(kOddsLineLength), "\r\n");
    EXPECT_EQ(line.substr(0, kOddsLineLength).find_first_of("\r\n"), std::string_view::npos);
  }
}

// ---- field rules --------------------------------------------------------------

TEST(PredictedOdds, PairTextsAndBracketIndicesFollowPairOrder) {
  EXPECT_EQ(HorsePairText(1), " 1- 2");
  EXPECT_EQ(HorsePairText(17), " 1-18");
  EXPECT_EQ(HorsePairText(18), " 2- 3");
  EXPECT_EQ(HorsePairText(153), "17-18");
  EXPECT_EQ(HorsePairText(0), "");
  EXPECT_EQ(HorsePairText(154), "");

  int expected = 0;
  for (int a = 1; a <= 8; ++a)
    for (int b = a; b <= 8; ++b) {
      std::string text = Right(std::to_string(a), 2) + "-" + Right(std::to_string(b), 2);
      EXPECT_EQ(BracketPairIndex(text), ++expected) << text;
    }
  EXPECT_EQ(expected, 36);
  EXPECT_EQ(BracketPairIndex(" 1- 9"), 0);
  EXPECT_EQ(BracketPairIndex(" 2- 1"), 0);
  EXPECT_EQ(BracketPairIndex("1-2"), 0);
  EXPECT_EQ(BracketPairIndex(" 0- 1"), 0);
}

TEST(PredictedOdds, KolCourseNamesAreSixBytes) {
  EXPECT_EQ(KolCourseName("00"), S("京都  "));
  EXPECT_EQ(KolCourseName("05"), S("中山  "));
  EXPECT_EQ(KolCourseName("35"), S("札幌  "));
  EXPECT_EQ(KolCourseName("51"), S("美浦南"));
  EXPECT_EQ(KolCourseName("65"), S("ＵＡＥ"));
  EXPECT_EQ(KolCourseName("71"), S("新国  "));
  for (const char* none : {"47", "56", "59", "72", "99", " 5", "5", "ab"}) EXPECT_EQ(KolCourseName(none), "      ");
}

TEST(PredictedOdds, KolFieldsConvertStarDashAndTenths) {
  EXPECT_EQ(KolWinOdds("    *"), "  50.0");
  EXPECT_EQ(KolWinOdds("    -"), "      ");
  EXPECT_EQ(KolWinOdds("  123"), "  12.3");
  EXPECT_EQ(KolWinOdds("    5"), "   0.5");
  EXPECT_EQ(KolWinOdds("99999"), "9999.9");
  EXPECT_EQ(KolWinOdds("     "), "      ");
  EXPECT_EQ(KolQuinellaOdds("      *"), "  1000.0");
  EXPECT_EQ(KolQuinellaOdds("      -"), "        ");
  EXPECT_EQ(KolQuinellaOdds("9999999"), "999999.9");
  EXPECT_EQ(KolQuinellaOdds("  12345"), "  1234.5");
  EXPECT_EQ(KolBracketAsQuinella("    *"), "   100.0");
  EXPECT_EQ(KolBracketAsQuinella("    -"), "        ");
  EXPECT_EQ(KolBracketAsQuinella("  102"), "    10.2");
}

TEST(PredictedOdds, JrdbRecordPadsMeetingAndDayAndCopiesTheOdds) {
  std::string rec = JrdbOddsRecord(JrdbLine("06", "1a", 1, 16), "040105");
  ASSERT_EQ(rec.size(), kOddsLineLength);
  EXPECT_EQ(rec.substr(0, 19), "2004010506010a01J16");
  EXPECT_EQ(Field(rec, 20, 25), "   1.5");      // horse 1 win
  EXPECT_EQ(Field(rec, 122, 127), "  18.5");    // horse 18 win
  EXPECT_EQ(Field(rec, 128, 133), "   1.1");    // horse 1 place
  EXPECT_EQ(Field(rec, 230, 235), "   1.8");    // horse 18 place
  EXPECT_EQ(Field(rec, 236, 243), "     1.5");  // pair 1-2
  EXPECT_EQ(Field(rec, 1452, 1459), "   153.5");  // pair 17-18
}

TEST(PredictedOdds, KolRecordKeyWinOddsAndQuinellaFromTheHorsePairs) {
  std::string line = KolLine("05", 3, "20040105", 16);
  PutText(line, 162 + 5 * 2, "    *");  // horse 3
  PutText(line, 162 + 5 * 3, "    -");  // horse 4
  std::string rec = KolOddsRecord(line, false);
  ASSERT_EQ(rec.size(), kOddsLineLength);
  EXPECT_EQ(rec.substr(0, 19), "2004010505010203K16");
  EXPECT_EQ(Field(rec, 20, 25), "   1.3");
  EXPECT_EQ(Field(rec, 32, 37), "  50.0");
  EXPECT_EQ(Field(rec, 38, 43), "      ");
  EXPECT_EQ(Field(rec, 122, 127), "  18.3");
  EXPECT_EQ(Field(rec, 128, 235), std::string(108, ' '));  // no place odds
  EXPECT_EQ(Field(rec, 236, 243), "   100.1");
  EXPECT_EQ(Field(rec, 1452, 1459), "   115.3");
}

TEST(PredictedOdds, SmallKolFieldsBefore2005TakeTheBracketOdds) {
  const std::string line = KolLine("05", 1, "20040105", 8);
  std::string before = KolOddsRecord(line, false);
  EXPECT_EQ(Field(before, QuinellaColumn(1), QuinellaColumn(1) + 7), "    10.2");    // 1-2: bracket 1-2 (column 257)
  EXPECT_EQ(Field(before, QuinellaColumn(7), QuinellaColumn(7) + 7), "    10.8");    // 1-8: bracket 1-8
  EXPECT_EQ(Field(before, QuinellaColumn(8), QuinellaColumn(8) + 7), "        ");    // 1-9: no bracket pair
  EXPECT_EQ(Field(before, QuinellaColumn(18), QuinellaColumn(18) + 7), "    11.0");  // 2-3: bracket 2-3 = 10
  EXPECT_EQ(Field(before, QuinellaColumn(153), QuinellaColumn(153) + 7), "        ");
  std::string star = line;
  PutText(star, 252 + 5, "    *");
  EXPECT_EQ(Field(KolOddsRecord(star, false), QuinellaColumn(1), QuinellaColumn(1) + 7), "   100.0");

  // From 2005 on, or with more than 8 runners, the horse pair fields.
  std::string from2005 = KolOddsRecord(line, true);
  EXPECT_EQ(Field(from2005, QuinellaColumn(1), QuinellaColumn(1) + 7), "   100.1");  // columns 432-438
  EXPECT_EQ(Field(from2005, QuinellaColumn(8), QuinellaColumn(8) + 7), "   100.8");
  std::string nine = KolOddsRecord(KolLine("05", 1, "20040105", 9), false);
  EXPECT_EQ(Field(nine, QuinellaColumn(1), QuinellaColumn(1) + 7), "   100.1");
}

// ---- filing -------------------------------------------------------------------

TEST(PredictedOdds, FilingKeepsTwelveLinesAndTheOtherRaces) {
  test::ScratchDir dir;
  const fs::path file = dir.path() / "odds.yoz";
  const std::string a(kOddsLineLength, 'a'), b(kOddsLineLength, 'b');
  for (int r = 1; r <= 6; ++r) FileOddsRecord(file, r, a);
  for (int r = 7; r <= 12; ++r) FileOddsRecord(file, r, b);
  std::string content = ReadWholeFile(file);
  ExpectTwelveLines(content);
  EXPECT_EQ(OddsField(content, 1, 1, kOddsLineLength), a);
  EXPECT_EQ(OddsField(content, 6, 1, kOddsLineLength), a);
  EXPECT_EQ(OddsField(content, 12, 1, kOddsLineLength), b);

  // A damaged file (too short, a stray line break) still gives 12 lines;
  // whole records are kept where they stand.
  std::string damaged = content.substr(0, 2 * kOddsLength + 100);
  damaged[kOddsLength + 5] = '\n';
  { std::ofstream(file, std::ios::binary | std::ios::trunc) << damaged; }
  FileOddsRecord(file, 5, b);
  content = ReadWholeFile(file);
  ExpectTwelveLines(content);
  EXPECT_EQ(OddsField(content, 1, 1, kOddsLineLength), a);
  EXPECT_EQ(OddsField(content, 2, 6, 6), " ");
  EXPECT_EQ(OddsField(content, 3, 1, kOddsLineLength), std::string(kOddsLineLength, ' '));
  EXPECT_EQ(OddsField(content, 5, 1, kOddsLineLength), b);
  EXPECT_THROW(FileOddsRecord(file, 13, b), std::invalid_argument);
}

// ---- the import ---------------------------------------------------------------

struct ImportFixture {
  test::ScratchDir dir;
  Store store{dir.path() / "root"};
  fs::path folder = dir.path() / "PAT for WIN";
  std::vector<std::string> messages, warnings;
  OddsImportCallbacks callbacks{[this](const std::string& m) { messages.push_back(m); },
                                [this](const std::string& w) { warnings.push_back(w); }};

  ImportFixture() { fs::create_directories(folder); }

  fs::path Copy(const char* name) {
    fs::path to = folder / name;
    fs::copy_file(fs::path(FURLONG_TEST_DATA) / "lzh" / name, to, fs::copy_options::overwrite_existing);
    return to;
  }
  fs::path Write(const char* name, const std::vector<LzhStoredFile>& files) {
    fs::path to = folder / name;
    std::ofstream(to, std::ios::binary | std::ios::trunc) << MakeStoredLzhArchive(files);
    return to;
  }
  std::string Odds(const char* meetingUtf8) { return ReadWholeFile(store.OddsFile(S(meetingUtf8))); }
  std::set<std::string> FolderNames() {
    std::set<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(e.path().filename().string());
    return names;
  }
};

TEST(PredictedOdds, Kol3ArchiveFilesEachRaceIntoItsMeetingsFile) {
  ImportFixture f;
  OddsImportResult r = ImportPredictedOdds(f.store, f.Copy("kd3_jb040105.lzh"), false, f.callbacks);
  EXPECT_TRUE(r.extracted);
  EXPECT_EQ(r.source, OddsSource::kKol3);
  EXPECT_EQ(r.filedLines, 3);
  EXPECT_EQ(r.skippedLines, 2);  // race 13 and a short line
  EXPECT_EQ(f.warnings.size(), 2u);
  ASSERT_EQ(r.oddsFiles.size(), 2u);  // two racecourses, two files
  EXPECT_EQ(r.oddsFiles[0], f.store.OddsFile(S("2004年01月05日中山")));
  EXPECT_EQ(r.oddsFiles[1], f.store.OddsFile(S("2004年01月05日東京")));
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(f.messages[0],
            S("KOL予想オッズデータを解凍し、2004年01月05日のデータを保存しました。データを再読込すると反映されます。"));
  // The extracted source is deleted, the archive stays.
  EXPECT_EQ(f.FolderNames(), (std::set<std::string>{"kd3_jb040105.lzh"}));

  std::string nakayama = f.Odds("2004年01月05日中山");
  ExpectTwelveLines(nakayama);
  EXPECT_EQ(OddsField(nakayama, 1, 1, 19), "2004010505010101K16");
  EXPECT_EQ(OddsField(nakayama, 1, 20, 43), "   1.3   2.3  50.0      ");
  EXPECT_EQ(OddsField(nakayama, 1, 236, 259), "   100.1  1000.0   100.3");
  EXPECT_EQ(OddsField(nakayama, 1, 260, 267), "        ");  // "-"
  // Race 2 has 8 runners and no 2005 meeting is selected: bracket odds.
  EXPECT_EQ(OddsField(nakayama, 2, 1, 19), "2004010505010102K 8");
  // 1-2 from bracket 1-2, 1-3 from bracket 1-3 ("*"), 1-9 none.
  EXPECT_EQ(OddsField(nakayama, 2, 236, 251), "    10.2   100.0");
  EXPECT_EQ(OddsField(nakayama, 2, QuinellaColumn(8), QuinellaColumn(8) + 7), "        ");
  EXPECT_EQ(OddsField(nakayama, 3, 1, kOddsLineLength), std::string(kOddsLineLength, ' '));
  EXPECT_EQ(OddsField(f.Odds("2004年01月05日東京"), 1, 1, 19), "2004010504020301K12");
}

TEST(PredictedOdds, Kol2ArchiveIsConvertedAndASelected2005MeetingKeepsHorsePairs) {
  ImportFixture f;
  OddsImportResult r = ImportPredictedOdds(f.store, f.Copy("j040105.lzh"), true, f.callbacks);
  EXPECT_EQ(r.source, OddsSource::kKol2);
  EXPECT_EQ(r.filedLines, 2);
  std::string odds = f.Odds("2004年01月05日中山");
  EXPECT_EQ(OddsField(odds, 1, 1, 19), "2004010505010101K10");
  EXPECT_EQ(OddsField(odds, 1, 74, 85), "  10.3      ");  // horse 10, and 11 ("-")
  EXPECT_EQ(OddsField(odds, 2, 236, 243), "   100.1");
}

TEST(PredictedOdds, JrdbArchiveNamesTheMeetingFromTheArchiveDate) {
  ImportFixture f;
  OddsImportResult r = ImportPredictedOdds(f.store, f.Copy("OZ040105.lzh"), false, f.callbacks);
  EXPECT_EQ(r.source, OddsSource::kJrdb);
  EXPECT_EQ(r.filedLines, 3);
  EXPECT_EQ(r.skippedLines, 2);  // race 0 and a short line
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(f.messages[0], S("JRDB基準オッズデータを解凍し、2004年01月05日のデータを保存しました。"
                             "データを再読込すると反映されます。"));
  EXPECT_EQ(f.FolderNames(), (std::set<std::string>{"OZ040105.lzh"}));
  std::string nakayama = f.Odds("2004年01月05日中山");
  ExpectTwelveLines(nakayama);
  EXPECT_EQ(OddsField(nakayama, 1, 1, 25), "2004010506010a01J16   1.5");
  EXPECT_EQ(OddsField(nakayama, 2, 1, 19), "2004010506010a02J12");
  EXPECT_EQ(OddsField(nakayama, 2, 122, 127), "      ");  // horse 18 of 12: blank as it stands
  EXPECT_EQ(OddsField(f.Odds("2004年01月05日東京"), 11, 1, 19), "2004010505020311J18");
}

TEST(PredictedOdds, ImportingTheSameArchiveTwiceGivesTheSameFile) {
  ImportFixture f;
  ImportPredictedOdds(f.store, f.Copy("OZ040105.lzh"), false, f.callbacks);
  std::string first = f.Odds("2004年01月05日中山");
  ImportPredictedOdds(f.store, f.Copy("OZ040105.lzh"), false, f.callbacks);
  EXPECT_EQ(f.Odds("2004年01月05日中山"), first);
}

TEST(PredictedOdds, StaleMembersAreDeletedBeforeExtraction) {
  ImportFixture f;
  // A KOL2 file left from an earlier archive would win over this KOL3 one.
  std::ofstream(f.folder / "KOL_ODS.KD2") << KolLine("05", 5, "20031231", 10) << "\r\n";
  std::ofstream(f.folder / "yosoodds.dat") << "old";
  std::ofstream(f.folder / "Oz3_jb04.txt") << "old";
  std::ofstream(f.folder / "other.txt") << "kept";
  OddsImportResult r = ImportPredictedOdds(f.store, f.Copy("kd3_jb040105.lzh"), false, f.callbacks);
  EXPECT_EQ(r.source, OddsSource::kKol3);
  EXPECT_EQ(f.FolderNames(), (std::set<std::string>{"kd3_jb040105.lzh", "other.txt"}));
  EXPECT_FALSE(fs::exists(f.store.OddsFile(S("2003年12月31日中山"))));
}

TEST(PredictedOdds, ASourceInAFolderOfTheArchiveIsFoundUnderItsBaseName) {
  ImportFixture f;
  OddsImportResult r = ImportPredictedOdds(f.store, f.Copy("folders.lzh"), false, f.callbacks);
  EXPECT_EQ(r.source, OddsSource::kKol3);
  EXPECT_EQ(r.filedLines, 3);
  EXPECT_EQ(f.FolderNames(), (std::set<std::string>{"folders.lzh", "readme.txt"}));
}

TEST(PredictedOdds, NothingExtractedGivesTheMessageAndNoExpectedMemberGivesNone) {
  for (const char* name : {"empty.lzh", "truncated.lzh", "corrupt.lzh"}) {
    SCOPED_TRACE(name);
    ImportFixture f;
    OddsImportResult r = ImportPredictedOdds(f.store, f.Copy(name), false, f.callbacks);
    EXPECT_FALSE(r.extracted);
    ASSERT_EQ(f.messages.size(), 1u);
    EXPECT_EQ(f.messages[0], S("データが解凍できませんでした。"));
    EXPECT_TRUE(r.oddsFiles.empty());
  }
  ImportFixture f;
  OddsImportResult r = ImportPredictedOdds(f.store, f.Copy("noexpected.lzh"), false, f.callbacks);
  EXPECT_TRUE(r.extracted);
  EXPECT_EQ(r.source, OddsSource::kNone);
  EXPECT_TRUE(f.messages.empty());
  EXPECT_TRUE(fs::is_empty(f.store.Folder("Data")));
}

TEST(PredictedOdds, UnsafeDatesAndUnusableSourcesAreNotFiled) {
  ImportFixture f;
  // A KOL race date that would form a path, and a source with no usable line.
  f.Write("kd3_jb0401.lzh",
          {{"kol_ods.kd3", KolLine("05", 1, "2004/1/5", 10) + "\r\n" + KolLine("05", 2, "20040105", 10) + "\r\n"}});
  OddsImportResult r = ImportPredictedOdds(f.store, f.folder / "kd3_jb0401.lzh", false, f.callbacks);
  EXPECT_EQ(r.filedLines, 1);
  EXPECT_EQ(r.skippedLines, 1);
  ASSERT_EQ(r.oddsFiles.size(), 1u);
  EXPECT_EQ(r.oddsFiles[0].parent_path(), f.store.Folder("Data"));

  f.messages.clear();
  f.Write("j0401.lzh", {{"kol_ods.kd2", "short line\r\n"}});
  r = ImportPredictedOdds(f.store, f.folder / "j0401.lzh", false, f.callbacks);
  EXPECT_EQ(r.filedLines, 0);
  ASSERT_EQ(f.messages.size(), 1u);
  EXPECT_EQ(f.messages[0], S("予想オッズデータに取り込める行がありませんでした。"));
}

TEST(PredictedOdds, TheArchiveFolderSettingDefaultsToTheStoresYlzhFolder) {
  ImportFixture f;
  TIniGT ini(f.dir.path() / "furlong.ini", TDefaultDir::ddNone);
  EXPECT_EQ(PredictedOddsFolder(ini, f.store), f.store.Folder("yLZH"));
  SetPredictedOddsFolder(ini, SjisPath(S("/tmp/PAT for WIN/予想")));
  EXPECT_EQ(ini.ReadString("Dir", "yoso", ""), S("/tmp/PAT for WIN/予想"));
  EXPECT_EQ(PredictedOddsFolder(ini, f.store), SjisPath(S("/tmp/PAT for WIN/予想")));
}

}  // namespace
}  // namespace furlong
