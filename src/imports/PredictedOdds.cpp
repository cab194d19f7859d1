#include "imports/PredictedOdds.h"

#include <array>
#include <stdexcept>
#include <system_error>

#include "imports/LzhArchive.h"
#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/Store.h"
#include "store/TextFormat.h"
#include "store/TextLines.h"

namespace furlong {

namespace fs = std::filesystem;

namespace {

constexpr int kOddsRaces = 12;

// The regular files of `folder` named `sjisName` regardless of letter case,
// the exact spelling first.
std::vector<fs::path> FilesNamed(const fs::path& folder, std::string_view sjisName) {
  return EntriesNamedIgnoringCase(folder, sjisName, EntryKind::RegularFile);
}

void DeleteFilesNamed(const fs::path& folder, std::string_view sjisName) {
  for (const fs::path& p : FilesNamed(folder, sjisName)) {
    std::error_code ec;
    fs::remove(p, ec);
    if (ec) throw StoreError(p, ec.message());
  }
}

std::string Blanks(std::size_t n) { return std::string(n, ' '); }

std::string ConvertKol(std::string_view field, std::size_t width, const std::string& star) {
  const std::string_view t = TrimSpaces(field);
  if (t == "*") return star;
  // "-" is no value; so is a blank or unreadable field.
  if (t.empty() || t[0] < '0' || t[0] > '9') return Blanks(width);
  return FormatFixed(static_cast<double>(ReadNumber(t)) / 10.0, static_cast<int>(width), 1);
}

const std::array<std::string, kHorsePairs>& HorsePairTexts() {
  static const std::array<std::string, kHorsePairs> texts = [] {
    std::array<std::string, kHorsePairs> t;
    int i = 0;
    for (int a = 1; a <= 17; ++a)
      for (int b = a + 1; b <= 18; ++b) t[i++] = FormatInt(a, 2) + "-" + FormatInt(b, 2);
    return t;
  }();
  return texts;
}

struct LineFiling {
  const Store& store;
  const OddsImportCallbacks& callbacks;
  OddsImportResult& result;

  void Skip(std::size_t lineNumber, const std::string& why) {
    ++result.skippedLines;
    if (callbacks.warning) callbacks.warning("odds line " + std::to_string(lineNumber) + " skipped: " + why);
  }

  void File(std::string_view meetingBaseName, int race, std::string_view record) {
    const fs::path path = store.OddsFile(meetingBaseName);
    FileOddsRecord(path, race, record);
    ++result.filedLines;
    for (const fs::path& p : result.oddsFiles)
      if (p == path) return;
    result.oddsFiles.push_back(path);
  }
};

// The race number of a source line when it is one of 1-12, else 0.
int RaceNumberOf(std::string_view field) {
  const int r = static_cast<int>(ReadNumber(field));
  return r >= 1 && r <= kOddsRaces ? r : 0;
}

std::string NoLinesMessage() { return SJ("予想オッズデータに取り込める行がありませんでした。"); }

void ConvertJrdbSource(const Store& store, const fs::path& source, std::string_view dateCode,
                 const OddsImportCallbacks& callbacks, OddsImportResult& result) {
  result.source = OddsSource::kJrdb;
  const std::string text = ReadWholeFile(source);
  LineFiling filing{store, callbacks, result};
  const bool datable = dateCode.size() == 6 && IsPathSafe(dateCode);
  const std::string yy(dateCode.substr(0, 2)), mm(dateCode.substr(2, 2)), dd(dateCode.substr(4, 2));
  std::size_t n = 0;
  for (std::string_view line : SplitLineViews(text)) {
    ++n;
    if (!datable) {
      filing.Skip(n, "the archive name carries no date (yymmdd after its first two characters)");
      continue;
    }
    if (line.size() < kJrdbLineLength) {
      filing.Skip(n, "shorter than " + std::to_string(kJrdbLineLength) + " bytes");
      continue;
    }
    const int race = RaceNumberOf(jrdb::RaceNumber(line));
    if (race == 0) {
      filing.Skip(n, "race number '" + SjisToUtf8(jrdb::RaceNumber(line)) + "' is outside 1-12");
      continue;
    }
    std::string meeting = "20" + yy + SJ("年") + mm + SJ("月") + dd + SJ("日");
    meeting += CourseName(jrdb::Course(line));
    filing.File(meeting, race, JrdbOddsRecord(line, dateCode));
  }
  std::error_code ec;
  fs::remove(source, ec);
  if (ec) throw StoreError(source, ec.message());
  if (result.filedLines == 0) {
    result.message = NoLinesMessage();
  } else {
    result.message = SJ("JRDB基準オッズデータを解凍し、20") + yy + SJ("年") + mm + SJ("月") + dd +
                     SJ("日のデータを保存しました。データを再読込すると反映されます。");
  }
}

void ConvertKolSource(const Store& store, const fs::path& source, bool yearFrom2005, const OddsImportCallbacks& callbacks,
                OddsImportResult& result) {
  const std::string text = ReadWholeFile(source);
  LineFiling filing{store, callbacks, result};
  const std::vector<std::string_view> lines = SplitLineViews(text);
  std::size_t n = 0;
  for (std::string_view line : lines) {
    ++n;
    if (line.size() < kKolLineLength) {
      filing.Skip(n, "shorter than " + std::to_string(kKolLineLength) + " bytes");
      continue;
    }
    const int race = RaceNumberOf(kol::RaceNumber(line));
    if (race == 0) {
      filing.Skip(n, "race number '" + SjisToUtf8(kol::RaceNumber(line)) + "' is outside 1-12");
      continue;
    }
    if (!IsPathSafe(kol::Date(line))) {
      filing.Skip(n, "race date '" + SjisToUtf8(kol::Date(line)) + "' is not made of digits");
      continue;
    }
    std::string meeting(kol::Year(line));
    meeting += SJ("年");
    meeting += kol::Month(line);
    meeting += SJ("月");
    meeting += kol::Day(line);
    meeting += SJ("日");
    meeting += KolCourseName(kol::Course(line)).substr(0, 4);
    filing.File(meeting, race, KolOddsRecord(line, yearFrom2005));
  }
  DeleteFilesNamed(source.parent_path(), "kol_ods.kd2");
  DeleteFilesNamed(source.parent_path(), "kol_ods.kd3");
  if (result.filedLines == 0) {
    result.message = NoLinesMessage();
  } else {
    const std::string_view first = lines.empty() ? std::string_view() : lines.front();
    result.message = SJ("KOL予想オッズデータを解凍し、") + std::string(kol::Year(first)) + SJ("年") +
                     std::string(kol::Month(first)) + SJ("月") + std::string(kol::Day(first)) +
                     SJ("日のデータを保存しました。データを再読込すると反映されます。");
  }
}

}  // namespace

// ---- settings ----------------------------------------------------------------

fs::path PredictedOddsFolder(const TIniGT& ini, const Store& store) {
  const std::string value = ini.ReadString(kOddsFolderSection, kOddsFolderKey, "");
  if (IsBlank(value)) return store.Folder(store_names::kYlzh);
  return SjisPath(value);
}

void SetPredictedOddsFolder(TIniGT& ini, const fs::path& folder) {
  ini.WriteString(kOddsFolderSection, kOddsFolderKey, PathNameToSjis(folder));
}

const std::string& PredictedOddsFilterText() {
  return SJ("KOL3ｵｯｽﾞ（kd3_jb*.lzh）,KOL2ｵｯｽﾞ（j*.lzh）,JRDBｵｯｽﾞ(OZ*.lzh)");
}

const std::string& PredictedOddsFolderPickerTitle() { return SJ("単勝予想配当ﾃﾞｰﾀﾌｫﾙﾀﾞの指定"); }

// ---- field rules ---------------------------------------------------------------

std::string HorsePairText(int index) {
  if (index < 1 || index > kHorsePairs) return {};
  return HorsePairTexts()[index - 1];
}

int BracketPairIndex(std::string_view pairText) {
  if (pairText.size() != 5 || pairText[2] != '-') return 0;
  const int a = static_cast<int>(ReadNumber(pairText.substr(0, 2)));
  const int b = static_cast<int>(ReadNumber(pairText.substr(3, 2)));
  if (a < 1 || b < a || b > 8) return 0;
  if (pairText != FormatInt(a, 2) + "-" + FormatInt(b, 2)) return 0;
  // Pairs before a-a: 8 + 7 + ... for the rows 1 .. a-1.
  int index = 0;
  for (int row = 1; row < a; ++row) index += 9 - row;
  return index + (b - a + 1);
}

std::string_view KolCourseName(std::string_view code) {
  static const std::array<std::string, 72> names = [] {
    static const char* const utf8[72] = {
        "京都", "阪神", "中京", "小倉", "東京", "中山", "福島", "新潟", "札幌", "函館",    // 00-09
        "大井", "川崎", "船橋", "浦和", "岩見", "旭川", "帯広", "野田", "北見", "笠松",    // 10-19
        "金沢", "荒尾", "宇都", "佐賀", "中津", "高崎", "高知", "足利", "上山", "水沢",    // 20-29
        "三条", "紀井", "益田", "盛岡", "名古", "札幌", "函館", "園田", "福山", "姫路",    // 30-39
        "中京", "新潟", "門別", "弥富", "小林", "西脇", "境町", "", "", "",              // 40-49
        "栗東", "美浦南", "美浦北", "白井", "道営", "岩手", "", "", "", "",              // 50-59
        "香港", "米国", "英国", "仏国", "愛国", "ＵＡＥ", "加国", "伊国", "独国", "豪州",  // 60-69
        "西独", "新国",                                                                  // 70-71
    };
    std::array<std::string, 72> t;
    for (int i = 0; i < 72; ++i) t[i] = PadRight(Utf8ToSjis(utf8[i]), 6);
    return t;
  }();
  static const std::string blanks(6, ' ');
  const auto n = code.size() == 2 ? DigitsValue(code) : std::nullopt;
  return n && *n < 72 ? std::string_view(names[*n]) : std::string_view(blanks);
}

std::string KolWinOdds(std::string_view field) {
  static const std::string star = "  50.0";
  return ConvertKol(field, 6, star);
}

std::string KolQuinellaOdds(std::string_view field) {
  static const std::string star = "  1000.0";
  return ConvertKol(field, 8, star);
}

std::string KolBracketAsQuinella(std::string_view field) {
  static const std::string star = "   100.0";
  return ConvertKol(field, 8, star);
}

namespace {

// The text left-aligned in the record's field (space-padded, never wider).
void PutField(std::string& record, FieldSpan f, std::string_view text) {
  std::string field = PadRight(text.substr(0, f.size()), f.size());
  record.replace(f.from - 1, f.size(), field);
}

}  // namespace

std::string JrdbOddsRecord(std::string_view line, std::string_view dateCode) {
  std::string r(kOddsLineLength, ' ');
  PutField(r, odds::kDate, "20" + std::string(dateCode.substr(0, 6)));
  PutField(r, odds::kCourse, jrdb::Course(line));
  PutField(r, odds::kMeetingNumber, "0" + std::string(jrdb::MeetingNumber(line)));
  PutField(r, odds::kDayNumber, "0" + std::string(jrdb::DayNumber(line)));
  PutField(r, odds::kRaceNumber, jrdb::RaceNumber(line));
  PutField(r, odds::kSource, "J");
  PutField(r, odds::kRunners, jrdb::Runners(line));
  // The odds right-aligned in the wider fields of the record.
  for (std::size_t h = 1; h <= 18; ++h) {
    PutField(r, odds::WinSpan(h), PadLeft(PadRight(Field(line, jrdb::WinSpan(h)), jrdb::kOddsWidth), odds::kOddsWidth));
    PutField(r, odds::PlaceSpan(h),
             PadLeft(PadRight(Field(line, jrdb::PlaceSpan(h)), jrdb::kOddsWidth), odds::kOddsWidth));
  }
  for (std::size_t q = 1; q <= kHorsePairs; ++q)
    PutField(r, odds::QuinellaSpan(q),
             PadLeft(PadRight(Field(line, jrdb::QuinellaSpan(q)), jrdb::kOddsWidth), odds::kPairOddsWidth));
  return r;
}

std::string KolOddsRecord(std::string_view line, bool yearFrom2005) {
  std::string r(kOddsLineLength, ' ');
  PutField(r, odds::kDate, kol::Date(line));
  PutField(r, odds::kCourse, kol::Course(line));
  PutField(r, odds::kMeetingNumber.Part(1, kol::kMeetingDayRace.size()), kol::MeetingDayRace(line));
  PutField(r, odds::kSource, "K");
  PutField(r, odds::kRunners, kol::Runners(line));
  for (std::size_t h = 1; h <= 18; ++h) PutField(r, odds::WinSpan(h), KolWinOdds(Field(line, kol::WinSpan(h))));
  // KOL has no place odds: those fields stay blank.
  if (FieldNumber(line, kol::kRunners) > 8 || yearFrom2005) {
    for (std::size_t q = 1; q <= kHorsePairs; ++q)
      PutField(r, odds::QuinellaSpan(q), KolQuinellaOdds(Field(line, kol::QuinellaSpan(q))));
  } else {
    // With 8 runners or fewer horse n runs in bracket n: the bracket odds
    // serve as quinella odds, and pairs with a horse above 8 have none.
    for (int index = 1; index <= kHorsePairs; ++index) {
      const int p = BracketPairIndex(HorsePairText(index));
      if (p == 0) continue;
      PutField(r, odds::QuinellaSpan(static_cast<std::size_t>(index)),
               KolBracketAsQuinella(Field(line, kol::BracketQuinellaSpan(static_cast<std::size_t>(p)))));
    }
  }
  return r;
}

void FileOddsRecord(const fs::path& oddsFile, int race, std::string_view record) {
  if (race < 1 || race > kOddsRaces) throw std::invalid_argument("predicted odds race number outside 1-12");
  std::vector<std::string> lines(kOddsRaces, Blanks(kOddsLineLength));
  std::string old;
  // An odds file that cannot be read is never replaced as if it were missing.
  if (ReadFileIfExists(oddsFile, old)) {
    // Read as the day loading does: fixed records of 1461 bytes.
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::size_t at = i * (kOddsLineLength + 2);
      if (at + kOddsLineLength > old.size()) break;
      lines[i] = old.substr(at, kOddsLineLength);
      for (char& c : lines[i])
        if (c == '\r' || c == '\n') c = ' ';
    }
  }
  std::string line(record.substr(0, kOddsLineLength));
  line.resize(kOddsLineLength, ' ');
  lines[race - 1] = std::move(line);
  WriteFileAtomically(oddsFile, JoinLinesCrLf(lines));
}

// ---- the import ----------------------------------------------------------------

OddsImportResult ImportPredictedOdds(const Store& store, const fs::path& archive, bool yearFrom2005,
                                     const OddsImportCallbacks& callbacks) {
  OddsImportResult result;
  const fs::path folder = archive.has_parent_path() ? archive.parent_path() : fs::path(".");
  const std::string archiveName = PathNameToSjis(archive.filename());
  const std::string dateCode(Field(archiveName, jrdb::kArchiveNameDate));
  const std::string jrdbName = "Oz" + dateCode + ".txt";

  // Only what this archive holds is found afterwards.
  for (std::string_view name : {std::string_view(jrdbName), std::string_view("kol_ods.kd2"),
                                std::string_view("kol_ods.kd3"), std::string_view("yosoodds.dat")})
    DeleteFilesNamed(folder, name);

  LzhExtraction extraction;
  try {
    extraction = ExtractLzhArchive(archive, folder);
  } catch (const LzhError& e) {
    if (callbacks.warning) callbacks.warning(SjisToUtf8(archiveName) + ": " + e.what());
  }
  for (const LzhRefusal& r : extraction.refused)
    if (callbacks.warning) callbacks.warning("member '" + SjisToUtf8(r.name) + "' not extracted: " + r.reason);
  result.extractedMembers = extraction.extracted;
  if (extraction.extracted == 0) {
    result.message = SJ("データが解凍できませんでした。");
    if (callbacks.message) callbacks.message(result.message);
    return result;
  }
  result.extracted = true;

  if (auto jrdb = FilesNamed(folder, jrdbName); !jrdb.empty()) {
    ConvertJrdbSource(store, jrdb.front(), dateCode, callbacks, result);
  } else if (auto kd2 = FilesNamed(folder, "kol_ods.kd2"); !kd2.empty()) {
    result.source = OddsSource::kKol2;
    ConvertKolSource(store, kd2.front(), yearFrom2005, callbacks, result);
  } else if (auto kd3 = FilesNamed(folder, "kol_ods.kd3"); !kd3.empty()) {
    result.source = OddsSource::kKol3;
    ConvertKolSource(store, kd3.front(), yearFrom2005, callbacks, result);
  } else {
    return result;  // none of the expected members: no message
  }
  if (callbacks.message && !result.message.empty()) callbacks.message(result.message);
  return result;
}

}  // namespace furlong
