#pragma once
// The code tables of the records as data: each code with its text, written
// here in UTF-8 and converted to Shift-JIS once, on first use. The race
// header, the race cards, the analysis and the command line all look codes
// up here.
#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "store/Encoding.h"

namespace furlong {

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

// ---- Track codes (RA columns 706-707).
// 10 turf straight, 11-16 turf left-handed, 17-22 turf right-handed, 23 dirt
// left-handed, 24 dirt right-handed, 29 dirt straight, 51-59 jump. Codes up to
// 22 count as turf, codes from 23 as dirt or jump.
inline constexpr int kLastTurfTrackCode = 22;
inline constexpr int kFirstJumpTrackCode = 51;
constexpr bool CountsAsDirt(int track) { return track > kLastTurfTrackCode; }
// Turf with a turn (11-22) and dirt with a turn (23, 24): the race card's
// surface filters and colours.
constexpr bool IsTurnedTurf(int track) { return track >= 11 && track <= kLastTurfTrackCode; }
constexpr bool IsTurnedDirt(int track) { return track == 23 || track == 24; }
constexpr bool IsJumpTrackCode(int track) { return track >= kFirstJumpTrackCode && track <= 59; }
// The surface of a known track code: 10-22 turf, 23-29 dirt, 51-59 jump.
enum class Surface { kTurf, kDirt, kJump, kOther };
constexpr Surface SurfaceOf(int track) {
  if (track >= 10 && track <= kLastTurfTrackCode) return Surface::kTurf;
  if (track >= 23 && track <= 29) return Surface::kDirt;
  if (IsJumpTrackCode(track)) return Surface::kJump;
  return Surface::kOther;
}

// ---- Distance bands (RA columns 698-701, metres): short up to 1600, middle
// 1601-2200, long from 2201.
enum class DistanceBand { kShort = 0, kMiddle = 1, kLong = 2 };
constexpr DistanceBand DistanceBandOf(int metres) {
  return metres <= 1600 ? DistanceBand::kShort : metres <= 2200 ? DistanceBand::kMiddle : DistanceBand::kLong;
}

// ---- Race condition codes (RA columns 623-637).
inline constexpr int kConditionNewcomer = 701;  // 新馬
inline constexpr int kConditionUnraced = 702;   // 未出走
inline constexpr int kConditionMaiden = 703;    // 未勝利
inline constexpr int kConditionOpen = 999;      // オープン

// Code texts of the header (Shift-JIS); exposed for the views and the tests.
const std::string& WeekdayText(int code);              // 1 "土" .. 8 "金", else empty
const std::string& GradeText(std::string_view code);   // 5 columns: "G1   " .. , else 5 spaces
const std::string& RaceTypeText(int code);             // 16 columns, else 16 spaces
const std::string& RaceSymbolText(std::string_view code);  // one of 82 codes, else empty
const std::string& WeightRuleText(std::string_view code);  // "(ﾊﾝﾃﾞ)  " .., else empty
const std::string& TrackText(int code);                // "芝 直線" .., else empty
// Condition code text; ageColumn 2 gives no prefix, 3, 4 and 5 give "3歳",
// "4歳" and "5歳" before a class limit.
std::string ConditionText(int code, int ageColumn);
// "芝直", "芝左", "芝右", "ダ左", "ダ右", "ダ直" or "障害"; empty for any other code.
const std::string& TrackCourseText(int code);
// The race cards' class name of a condition code: 新馬, 未出走, 未勝利, ｵｰﾌﾟﾝ;
// empty for a class limit or any other code.
const std::string& ConditionClassName(int code);
// Weight rule code 1-4: ﾊﾝﾃﾞ, 別定, 馬齢, 定量; empty for any other code.
const std::string& WeightRuleShortName(int code);
// Going code 1-4: 良, 稍重, 重, 不良; " " for any other code.
const std::string& GoingText(int code);
// Coat colour code 1-11 as a 6-byte name; six spaces for any other code.
const std::string& CoatText(int code);

// ---- names of racecourses, sexes and horse marks, the class of a condition
// (Shift-JIS; the tables compare the input exactly).

// 4-byte racecourse or country name; four spaces for an unlisted code.
std::string_view CourseName(std::string_view code);
// 6-byte name: the JRA racecourse + two spaces, "地方  ", "海外  " or six spaces.
std::string_view CourseShortName(std::string_view code);
// "牡", "牝", "ｾﾝ" or empty.
std::string_view SexName(std::string_view code);
// "(抽)" ... or one full-width space.
std::string_view HorseMarkName(std::string_view code);
// The class text of a youngest-age condition code (RA columns 635-637) as
// the race card shows it: "新馬", "未出走", "未勝利", "ｵｰﾌﾟﾝ", a limit as "%4d"
// of the code times 100 followed by "下", or one space for a blank or zero code.
std::string ConditionClassText(std::string_view code);

}  // namespace furlong
