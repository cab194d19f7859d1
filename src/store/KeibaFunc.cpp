#include "store/KeibaFunc.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/RecordLayout.h"
#include "store/SjisChars.h"
#include "store/TextFormat.h"

namespace furlong {
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

constexpr std::string_view kCircledNumbers[] = {
    "①", "②", "③", "④", "⑤", "⑥", "⑦", "⑧", "⑨",
    "⑩", "⑪", "⑫", "⑬", "⑭", "⑮", "⑯", "⑰", "⑱",
};

constexpr std::string_view kFourSpaces = "    ";
constexpr std::string_view kFiveSpaces = "     ";
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

std::string_view CircledNumber(int n) {
  static const std::array<std::string, std::size(kCircledNumbers)> table = [] {
    std::array<std::string, std::size(kCircledNumbers)> t;
    for (std::size_t i = 0; i < t.size(); ++i) t[i] = Utf8ToSjis(kCircledNumbers[i]);
    return t;
  }();
  if (n < 1 || n > static_cast<int>(table.size())) return SJ("－");
  return table[n - 1];
}

std::string RemoveWideSpaces(std::string_view text) {
  const std::string& wideSpace = SJ("　");
  std::string out;
  out.reserve(text.size());
  // Step through whole characters so that a trail byte and the next lead byte
  // are never taken for a full-width space.
  for (std::size_t i = 0; i < text.size();) {
    std::size_t len = SjisCharLength(text, i);
    std::string_view ch = text.substr(i, len);
    if (ch != wideSpace) out.append(ch);
    i += len;
  }
  return out;
}

std::string ZeroSuppress(std::string_view text) {
  const int width = static_cast<int>(text.size());
  const std::int64_t v = ReadNumber(text);
  if (v == 0) return std::string(text.size(), ' ');
  return FormatInt(v, width);
}

std::string PrefixedCount(std::string_view prefix, std::string_view count) {
  if (count == "000") return SJ("ナシ");
  if (count == "999" || IsBlank(count)) return std::string(kFourSpaces);
  std::string out(prefix);
  out += ZeroSuppress(count);
  return out;
}

std::string FormatRaceTime(std::string_view time) {
  const std::string_view secondsAndTenth = Field(time, race_time::kSecondsAndTenths);
  const std::string_view whole = TrimSpaces(time);
  if (TrimSpaces(secondsAndTenth) == "999") return std::string(kFiveSpaces);
  if (whole == "9999" || whole == "0000") return std::string(kFiveSpaces);
  if (IsBlank(secondsAndTenth)) return std::string(kFiveSpaces);
  std::string out(Field(time, race_time::kMinutes));
  out += FormatInt(ReadNumber(Field(time, race_time::kSeconds)), 2);
  out += '.';
  out += Field(time, race_time::kTenths);
  return out;
}

std::string OverwriteAt(std::string_view s, std::string_view r, std::size_t p) {
  std::string out(s);
  // Delete: nothing happens for a position outside the text; the count is cut
  // at the end of the text.
  if (p >= 1 && p <= out.size()) out.erase(p - 1, r.size());
  // Insert: a position before the text inserts at its start, one after its
  // end appends.
  std::size_t at = p < 1 ? 0 : p - 1;
  if (at > out.size()) at = out.size();
  out.insert(at, r);
  return out;
}

std::string ConditionClassText(std::string_view code) {
  const std::string& name = ConditionClassName(static_cast<int>(ReadNumber(code)));
  if (!name.empty()) return name;
  if (IsBlank(code) || ReadNumber(code) == 0) return " ";
  return FormatInt(static_cast<int>(ReadNumber(code)) * 100, 4) + SJ("下");
}

}  // namespace furlong
