#include "analysis/HeaderTexts.h"

#include <algorithm>

#include "store/Encoding.h"
#include "store/KeibaFunc.h"
#include "store/Record.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"

namespace furlong {
namespace {

// A code and its text as written here (UTF-8).
template <typename Key>
struct CodeText {
  Key code;
  const char* text;
};

// A code table whose texts are converted to Shift-JIS once, on first use.
template <typename Key, std::size_t N>
class SjisCodeTable {
 public:
  SjisCodeTable(const CodeText<Key> (&entries)[N], const char* fallback)
      : fallback_(Utf8ToSjis(fallback)) {
    for (std::size_t i = 0; i < N; ++i) {
      codes_[i] = entries[i].code;
      texts_[i] = Utf8ToSjis(entries[i].text);
    }
  }
  const std::string& Find(Key code) const {
    for (std::size_t i = 0; i < N; ++i)
      if (codes_[i] == code) return texts_[i];
    return fallback_;
  }

 private:
  std::array<Key, N> codes_{};
  std::array<std::string, N> texts_;
  std::string fallback_;
};

constexpr CodeText<int> kWeekdays[] = {
    {1, "土"}, {2, "日"}, {3, "祝"}, {4, "月"}, {5, "火"}, {6, "水"}, {7, "木"}, {8, "金"},
};

constexpr CodeText<char> kGrades[] = {
    {'A', "G1   "}, {'B', "G2   "}, {'C', "G3   "}, {'D', "重賞 "},
    {'E', "特別 "}, {'F', "JG1  "}, {'G', "JG2  "}, {'H', "JG3  "},
};

constexpr CodeText<int> kRaceTypes[] = {
    {11, "ｻﾗ系2歳         "}, {12, "ｻﾗ系3歳         "}, {13, "ｻﾗ系3歳以上     "},
    {14, "ｻﾗ系4歳以上     "}, {18, "ｻﾗ系障害3歳以上 "}, {19, "ｻﾗ系障害4歳以上 "},
    {21, "ｱﾗ系2歳         "}, {22, "ｱﾗ系3歳         "}, {23, "ｱﾗ系4歳以上     "},
    {24, "ｱﾗ系4歳以上     "},
};

constexpr CodeText<char> kWeightRules[] = {
    {'1', "(ﾊﾝﾃﾞ)  "}, {'2', "(別定)  "}, {'3', "(馬齢)  "}, {'4', "(定量)  "},
};

constexpr CodeText<int> kTracks[] = {
    {10, "芝 直線"},
    {11, "芝 左回り"},
    {12, "芝 左回り(外回り)"},
    {13, "芝 左回り(内→外回り)"},
    {14, "芝 左回り(外→内回り)"},
    {15, "芝 左回り(内２周)"},
    {16, "芝 左回り(外２周)"},
    {17, "芝 右回り"},
    {18, "芝 右回り(外回り)"},
    {19, "芝 右回り(内→外回り)"},
    {20, "芝 右回り(外→内回り)"},
    {21, "芝 右回り(内２周)"},
    {22, "芝 右回り(外２周)"},
    {23, "ﾀﾞｰﾄ 左回り"},
    {24, "ﾀﾞｰﾄ 右回り"},
    {29, "ﾀﾞｰﾄ 直線"},
    {51, "障害 芝　襷"},
    {52, "障害 芝→ﾀﾞｰﾄ"},
    {53, "障害 芝　左"},
    {54, "障害 芝"},
    {55, "障害 芝　外回り"},
    {56, "障害 芝　外→内回り"},
    {57, "障害 芝　内→外回り"},
    {58, "障害 内２周"},
    {59, "障害 外２周"},
};

// Race symbol XYZ: one part per character.
constexpr CodeText<char> kSymbolFirst[] = {
    {'0', ""},
    {'A', "(混合)"},
    {'B', "(父)"},
    {'C', "(市)"},
    {'D', "(抽)"},
    {'E', "[抽]"},
    {'F', "(市)(抽)"},
    {'G', "(抽)関西配布馬"},
    {'H', "(抽)関東配布馬"},
    {'I', "[抽]関西配布馬"},
    {'J', "[抽]関東配布馬"},
    {'K', "(市)(抽)関西配布馬"},
    {'L', "(市)(抽)関東配布馬"},
    {'M', "九州産馬"},
    {'N', "(国際)"},
};
// "4" is "牡･牝" (half-width dot) after X "0", "牡・牝" otherwise.
constexpr CodeText<char> kSymbolSecond[] = {
    {'0', ""}, {'1', "牡"}, {'2', "牝"}, {'3', "牡・せん"}, {'4', "牡・牝"},
};
constexpr const char* kSymbolSecondAfterNone4 = "牡･牝";
// "2" is "・見習騎手" after X "A".
constexpr CodeText<char> kSymbolThird[] = {
    {'0', ""}, {'1', "(指定)"}, {'2', "見習騎手"}, {'3', "[指定]"}, {'4', "(特指)"},
};
constexpr const char* kSymbolThirdAfterMixed2 = "・見習騎手";

// The only symbol codes that have a text.
constexpr const char* kSymbolCodes[] = {
    "001", "002", "003", "004", "020", "021", "023", "024", "030", "031", "033", "034",
    "040", "041", "043", "044", "A00", "A01", "A02", "A03", "A04", "A10", "A11", "A13",
    "A14", "A20", "A21", "A23", "A24", "A30", "A31", "A33", "A34", "A40", "A41", "B00",
    "B01", "B03", "B04", "C00", "C01", "C03", "C04", "D00", "D01", "D03", "E00", "E01",
    "E03", "F00", "F01", "F03", "F04", "G00", "G01", "G03", "H00", "H01", "I00", "I01",
    "I03", "J00", "J01", "K00", "K01", "K03", "L00", "L01", "L03", "M00", "M01", "M03",
    "M04", "N00", "N01", "N03", "N20", "N21", "N30", "N31", "N40", "N41",
};
constexpr std::size_t kSymbolCodeCount = sizeof kSymbolCodes / sizeof kSymbolCodes[0];
static_assert(kSymbolCodeCount == 82);

template <std::size_t N>
const char* PartText(const CodeText<char> (&parts)[N], char c) {
  for (const auto& p : parts)
    if (p.code == c) return p.text;
  return "";
}

struct SymbolTable {
  std::array<std::string_view, kSymbolCodeCount> codes;
  std::array<std::string, kSymbolCodeCount> texts;
  std::string empty;

  SymbolTable() {
    for (std::size_t i = 0; i < kSymbolCodeCount; ++i) {
      std::string_view code = kSymbolCodes[i];
      char x = code[0], y = code[1], z = code[2];
      std::string utf8 = PartText(kSymbolFirst, x);
      utf8 += (y == '4' && x == '0') ? kSymbolSecondAfterNone4 : PartText(kSymbolSecond, y);
      utf8 += (z == '2' && x == 'A') ? kSymbolThirdAfterMixed2 : PartText(kSymbolThird, z);
      codes[i] = code;
      texts[i] = Utf8ToSjis(utf8);
    }
  }
};

// The combined condition text of the race type and the four age columns.
std::string CombinedCondition(std::string_view ra) {
  const int type = FieldNumber(ra, ra::kRaceType);
  const int c2 = FieldNumber(ra, ra::kCondition2yo);
  const int c3 = FieldNumber(ra, ra::kCondition3yo);
  const int c4 = FieldNumber(ra, ra::kCondition4yo);
  const int c5 = FieldNumber(ra, ra::kCondition5yoUp);
  const std::string& gap = SJ("  ");
  switch (type) {
    case 11:
    case 21:
      return ConditionText(c2, 2);
    case 12:
    case 22:
      return ConditionText(c3, 3);
    case 13:
    case 18:
    case 23:
      if (c3 >= 1 && c3 <= 100) return ConditionText(c3, 3) + gap + ConditionText(c4, 4) + gap + ConditionText(c5, 5);
      return ConditionText(c3, 3);
    case 14:
    case 19:
    case 24:
      if (c4 >= 1 && c4 <= 100) return ConditionText(c4, 4) + gap + ConditionText(c5, 5);
      return ConditionText(c4, 4);
    default:
      return {};
  }
}

}  // namespace

const std::string& WeekdayText(int code) {
  static const SjisCodeTable table(kWeekdays, "");
  return table.Find(code);
}

const std::string& GradeText(std::string_view code) {
  static const SjisCodeTable table(kGrades, "     ");
  static const std::string blank = "     ";
  return code.size() == 1 ? table.Find(code[0]) : blank;
}

const std::string& RaceTypeText(int code) {
  static const SjisCodeTable table(kRaceTypes, "                ");
  return table.Find(code);
}

const std::string& RaceSymbolText(std::string_view code) {
  static const SymbolTable table;
  for (std::size_t i = 0; i < kSymbolCodeCount; ++i)
    if (table.codes[i] == code) return table.texts[i];
  return table.empty;
}

const std::string& WeightRuleText(std::string_view code) {
  static const SjisCodeTable table(kWeightRules, "");
  static const std::string empty;
  return code.size() == 1 ? table.Find(code[0]) : empty;
}

const std::string& TrackText(int code) {
  static const SjisCodeTable table(kTracks, "");
  return table.Find(code);
}

std::string ConditionText(int code, int ageColumn) {
  std::string prefix;
  switch (ageColumn) {
    case 3: prefix = SJ("3歳"); break;
    case 4: prefix = SJ("4歳"); break;
    case 5: prefix = SJ("5歳"); break;
    default: break;
  }
  if (code >= 1 && code <= 99) return prefix + std::to_string(code * 100) + SJ("万下");
  if (code == 100) return prefix + SJ("1億下");
  if (code == 701) return SJ("新馬");
  if (code == 702) return SJ("未出走");
  if (code == 703) return SJ("未勝利");
  if (code == 999) return SJ("オープン");
  return {};
}

RaceHeader MakeRaceHeader(std::string_view ra) {
  RaceHeader header{{}, kTurfGreen};

  // Label1: date, weekday, racecourse, meeting, day, race and start time.
  std::string& l1 = header.labels[0];
  std::string_view monthDay = ra::MonthDay(ra);
  std::string_view start = ra::StartTime(ra);
  l1 += ra::Year(ra);
  l1 += SJ("年");
  l1 += monthDay.substr(0, 2);
  l1 += SJ("月");
  l1 += monthDay.substr(std::min<std::size_t>(2, monthDay.size()));
  l1 += SJ("日(");
  l1 += WeekdayText(FieldNumber(ra, ra::kWeekday));
  l1 += ")";
  l1 += CourseShortName(ra::Course(ra));
  l1 += ra::MeetingNumber(ra);
  l1 += SJ("回");
  l1 += ra::DayNumber(ra);
  l1 += SJ("日");
  l1 += ra::RaceNumber(ra);
  l1 += "R   ";
  l1 += start.substr(0, 2);
  l1 += ".";
  l1 += start.substr(std::min<std::size_t>(2, start.size()));
  l1 += SJ("発走  ");

  // Label2: edition of a graded race and the race name as stored.
  std::string& l2 = header.labels[1];
  const int edition = FieldNumber(ra, ra::kEdition);
  if (edition >= 1) {
    l2 += SJ("第");
    l2 += std::to_string(edition);
    l2 += SJ("回 ");
  }
  l2 += ra::RaceName(ra);

  // Label3: runners as the record holds them, distance, track, grade, type, symbol.
  std::string& l3 = header.labels[2];
  l3 += FormatInt(FieldNumber(ra, ra::kRegisteredRunners), 2);
  l3 += SJ("頭  ");
  l3 += FormatInt(FieldNumber(ra, ra::kDistance), 4);
  l3 += SJ("ﾒｰﾄﾙ ");
  const int track = FieldNumber(ra, ra::kTrackCode);
  l3 += TrackText(track);
  l3 += " ";
  l3 += GradeText(ra::Grade(ra));
  l3 += " ";
  l3 += RaceTypeText(FieldNumber(ra, ra::kRaceType));
  l3 += " ";
  l3 += RaceSymbolText(ra::RaceSymbol(ra));

  // Label4: weight rule and conditions.
  std::string& l4 = header.labels[3];
  l4 += WeightRuleText(ra::WeightRule(ra));
  l4 += " ";
  l4 += CombinedCondition(ra);

  header.panelColour = (track == 23 || track == 24) ? kDirtMaroon : kTurfGreen;
  return header;
}

RaceHeader MakeRaceHeader(const DayTables& day, int slot) {
  if (slot < 0 || slot >= kRaceSlots) return RaceHeader{{}, kTurfGreen};
  return MakeRaceHeader(day.RaceRecords[static_cast<std::size_t>(slot)].view());
}

}  // namespace furlong
