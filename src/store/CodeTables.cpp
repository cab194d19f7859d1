#include "store/CodeTables.h"

#include <cstdint>
#include <span>
#include <unordered_map>
#include <vector>

#include "store/Record.h"
#include "store/SjisChars.h"
#include "store/TextFormat.h"

namespace furlong {
namespace {

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

constexpr CodeText<int> kTrackCourses[] = {
    {10, "芝直"}, {11, "芝左"}, {12, "芝左"}, {13, "芝左"}, {14, "芝左"}, {15, "芝左"}, {16, "芝左"},
    {17, "芝右"}, {18, "芝右"}, {19, "芝右"}, {20, "芝右"}, {21, "芝右"}, {22, "芝右"}, {23, "ダ左"},
    {24, "ダ右"}, {29, "ダ直"}, {51, "障害"}, {52, "障害"}, {53, "障害"}, {54, "障害"}, {55, "障害"},
    {56, "障害"}, {57, "障害"}, {58, "障害"}, {59, "障害"},
};

constexpr CodeText<int> kConditionClasses[] = {
    {kConditionNewcomer, "新馬"}, {kConditionUnraced, "未出走"}, {kConditionMaiden, "未勝利"}, {kConditionOpen, "ｵｰﾌﾟﾝ"},
};

// As the race header writes them.
constexpr CodeText<int> kConditionNames[] = {
    {kConditionNewcomer, "新馬"}, {kConditionUnraced, "未出走"}, {kConditionMaiden, "未勝利"}, {kConditionOpen, "オープン"},
};

constexpr CodeText<int> kWeightRuleNames[] = {
    {1, "ﾊﾝﾃﾞ"}, {2, "別定"}, {3, "馬齢"}, {4, "定量"},
};

constexpr CodeText<int> kGoings[] = {
    {1, "良"}, {2, "稍重"}, {3, "重"}, {4, "不良"},
};

constexpr CodeText<int> kCoats[] = {
    {1, "栗毛  "}, {2, "栃栗毛"}, {3, "鹿毛  "}, {4, "黒鹿毛"}, {5, "青鹿毛"},  {6, "青毛  "},
    {7, "芦毛  "}, {8, "栗粕毛"}, {9, "鹿粕毛"}, {10, "青粕毛"}, {11, "白毛  "},
};

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
  static const SjisCodeTable names(kConditionNames, "");
  return names.Find(code);
}

const std::string& TrackCourseText(int code) {
  static const SjisCodeTable table(kTrackCourses, "");
  return table.Find(code);
}

const std::string& ConditionClassName(int code) {
  static const SjisCodeTable table(kConditionClasses, "");
  return table.Find(code);
}

const std::string& WeightRuleShortName(int code) {
  static const SjisCodeTable table(kWeightRuleNames, "");
  return table.Find(code);
}

const std::string& GoingText(int code) {
  static const SjisCodeTable table(kGoings, " ");
  return table.Find(code);
}

const std::string& CoatText(int code) {
  static const SjisCodeTable table(kCoats, "      ");
  return table.Find(code);
}


// ---- racecourse, sex and horse-mark names, and the class text of a condition

namespace {

struct CodeName {
  std::string_view code;
  std::string_view name;  // UTF-8
};

struct NumberName {
  int number;
  std::string_view name;  // UTF-8
};

// Racecourse codes: JRA (01-10), local racecourses (30-61) and countries.
constexpr CodeName kCourseNames[] = {
    {"01", "札幌"}, {"02", "函館"}, {"03", "福島"}, {"04", "新潟"}, {"05", "東京"},
    {"06", "中山"}, {"07", "中京"}, {"08", "京都"}, {"09", "阪神"}, {"10", "小倉"},

    {"30", "門別"}, {"31", "北見"}, {"32", "岩見"}, {"33", "帯広"}, {"34", "旭川"},
    {"35", "盛岡"}, {"36", "水沢"}, {"37", "上山"}, {"38", "三条"}, {"39", "足利"},
    {"40", "宇都"}, {"41", "高崎"}, {"42", "浦和"}, {"43", "船橋"}, {"44", "大井"},
    {"45", "川崎"}, {"46", "金沢"}, {"47", "笠松"}, {"48", "名古"}, {"49", "紀三"},
    {"50", "園田"}, {"51", "姫路"}, {"52", "益田"}, {"53", "福山"}, {"54", "高知"},
    {"55", "佐賀"}, {"56", "荒尾"}, {"57", "中津"}, {"58", "札幌"}, {"59", "函館"},
    {"60", "新潟"}, {"61", "中京"},

    {"A0", "他外"}, {"A2", "日本"}, {"A4", "アメ"}, {"A6", "イギ"}, {"A8", "フラ"},
    {"B0", "イン"}, {"B2", "アイ"}, {"B4", "ニュ"}, {"B6", "オー"}, {"B8", "カナ"},
    {"C0", "イタ"}, {"C2", "ドイ"}, {"C4", "    "}, {"C5", "オマ"}, {"C6", "イラ"},
    {"C7", "ア首"}, {"C8", "シリ"},
    {"D0", "スウ"}, {"D2", "ハン"}, {"D4", "ポル"}, {"D6", "ロシ"}, {"D8", "ウル"},
    {"E0", "ペル"}, {"E2", "アル"}, {"E4", "ブラ"}, {"E6", "ベル"}, {"E8", "トル"},
    {"F0", "韓国"}, {"F1", "中国"}, {"F2", "チリ"}, {"F4", "    "}, {"F6", "    "},
    {"F8", "パナ"},
    {"G0", "香港"}, {"G2", "スペ"}, {"G4", "    "}, {"G6", "    "}, {"G8", "    "},
    {"H0", "西独"}, {"H2", "南ア"}, {"H4", "スイ"}, {"H6", "モナ"}, {"H8", "フィ"},
    {"I0", "プエ"}, {"I2", "コロ"}, {"I4", "チェ"}, {"I6", "チェ"}, {"I8", "スロ"},
    {"J0", "エク"}, {"J2", "ギリ"}, {"J4", "マレ"}, {"J6", "メキ"}, {"J8", "モロ"},
    {"K0", "パキ"}, {"K2", "ポー"}, {"K4", "パラ"}, {"K6", "サウ"}, {"K8", "キプ"},
    {"L0", "タイ"}, {"L2", "ウク"}, {"L4", "ベネ"}, {"L6", "ユー"}, {"L8", "デン"},
    {"M0", "シン"}, {"M2", "澳門"}, {"M4", "墺国"}, {"M6", "約  "}, {"M8", "華  "},
    {"N0", "東ド"}, {"N2", "バレ"},
};

// Country codes that the short name calls "海外". C5 is not among them.
constexpr std::string_view kOverseasCodes[] = {
    "A0", "A2", "A4", "A6", "A8", "B0", "B2", "B4", "B6", "B8", "C0", "C2", "C4", "C6",
    "C7", "C8", "D0", "D2", "D4", "D6", "D8", "E0", "E2", "E4", "E6", "E8", "F0", "F1",
    "F2", "F4", "F6", "F8", "G0", "G2", "G4", "G6", "G8", "H0", "H2", "H4", "H6", "H8",
    "I0", "I2", "I4", "I6", "I8", "J0", "J2", "J4", "J6", "J8", "K0", "K2", "K4", "K6",
    "K8", "L0", "L2", "L4", "L6", "L8", "M0", "M2", "M4", "M6", "M8", "N0", "N2",
};

constexpr int kFirstJraCourse = 1, kLastJraCourse = 10;
constexpr int kFirstLocalCourse = 30, kLastLocalCourse = 61;

constexpr NumberName kHorseMarks[] = {
    {1, "(抽)"},          {2, "[抽]"},          {3, "(父)"},         {4, "(市)"},
    {5, "(地)"},          {6, "(外)"},          {7, "(父)(抽)"},     {8, "(父)(市)"},
    {9, "(父)(地)"},      {10, "(市)(地)"},     {11, "(外)(地)"},    {12, "(父)(市)(地)"},
    {15, "(招)"},         {16, "(招)(外)"},     {17, "(招)(父)"},    {18, "(招)(市)"},
    {19, "(招)(父)(市)"}, {20, "(父)(外)"},     {21, "[地]"},        {22, "(外)[地]"},
    {23, "(父)[地]"},     {24, "(市)[地]"},     {25, "(父)(市)[地]"}, {26, "[外]"},
    {27, "(父)[外]"},     {31, "(特)"},         {40, "(父)(外)(地)"}, {41, "(父)(外)[地]"},
};


constexpr std::string_view kFourSpaces = "    ";
constexpr std::string_view kSixSpaces = "      ";

// A code table converted to Shift-JIS once. Keys view the static code literals.
using SjisTable = std::unordered_map<std::string_view, std::string>;

SjisTable MakeTable(std::span<const CodeName> entries) {
  SjisTable table;
  for (const auto& e : entries) table.emplace(e.code, Utf8ToSjis(e.name));
  return table;
}

std::string_view Lookup(const SjisTable& table, std::string_view code, std::string_view fallback) {
  auto it = table.find(code);
  return it == table.end() ? fallback : std::string_view(it->second);
}

const SjisTable& CourseNames() {
  static const SjisTable table = MakeTable(kCourseNames);
  return table;
}

// Two-digit code texts "01".."61" with static lifetime, used as table keys.
const std::vector<std::string>& TwoDigitCodes() {
  static const std::vector<std::string> codes = [] {
    std::vector<std::string> v;
    for (int n = 0; n < 100; ++n) v.push_back({static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10)});
    return v;
  }();
  return codes;
}

const SjisTable& CourseShortNames() {
  static const SjisTable table = [] {
    SjisTable t;
    const auto& codes = TwoDigitCodes();
    for (int n = kFirstJraCourse; n <= kLastJraCourse; ++n) {
      std::string_view code = codes[n];
      t.emplace(code, std::string(CourseName(code)) + "  ");
    }
    const std::string local = Utf8ToSjis("地方  ");
    for (int n = kFirstLocalCourse; n <= kLastLocalCourse; ++n) t.emplace(codes[n], local);
    const std::string overseas = Utf8ToSjis("海外  ");
    for (std::string_view code : kOverseasCodes) t.emplace(code, overseas);
    return t;
  }();
  return table;
}

}  // namespace

std::string_view CourseName(std::string_view code) {
  return Lookup(CourseNames(), code, kFourSpaces);
}

std::string_view CourseShortName(std::string_view code) {
  return Lookup(CourseShortNames(), code, kSixSpaces);
}

std::string_view SexName(std::string_view code) {
  static constexpr CodeName kSexNames[] = {{"1", "牡"}, {"2", "牝"}, {"3", "ｾﾝ"}};
  static const SjisTable table = MakeTable(kSexNames);
  return Lookup(table, code, {});
}

std::string_view HorseMarkName(std::string_view code) {
  static const std::unordered_map<std::int64_t, std::string> table = [] {
    std::unordered_map<std::int64_t, std::string> t;
    for (const auto& e : kHorseMarks) t.emplace(e.number, Utf8ToSjis(e.name));
    return t;
  }();
  auto it = table.find(ReadNumber(code));
  return it == table.end() ? std::string_view(SJ("　")) : std::string_view(it->second);
}

std::string ConditionClassText(std::string_view code) {
  const std::string& name = ConditionClassName(static_cast<int>(ReadNumber(code)));
  if (!name.empty()) return name;
  if (IsBlank(code) || ReadNumber(code) == 0) return " ";
  return FormatInt(static_cast<int>(ReadNumber(code)) * 100, 4) + SJ("下");
}

}  // namespace furlong
