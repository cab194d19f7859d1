#include "analysis/RunnerCellTexts.h"

#include <cmath>

#include "store/CodeTables.h"
#include "store/DayTables.h"
#include "store/Encoding.h"
#include "store/TextFormat.h"
#include "store/TextLines.h"

namespace furlong {

std::string DisplayName(std::string_view field) { return RemoveWideSpaces(TrimSpaces(field)); }

std::string RaceDateText(std::string_view ra) {
  std::string_view md = ra::MonthDay(ra);
  std::string out(ra::Year(ra));
  out += '.';
  out += md.substr(0, 2);
  out += '.';
  if (md.size() > 2) out += md.substr(2);
  return out;
}

std::string ClassText(std::string_view ra) {
  const std::string_view grade = ra::Grade(ra);
  std::string text;
  if (grade == "A") {
    text = "G1";
  } else if (grade == "B") {
    text = "G2";
  } else if (grade == "C") {
    text = "G3";
  } else {
    text = ConditionClassText(ra::ConditionYoungest(ra));
  }
  if (text == " ") {
    if (grade == "D") text = SJ("重賞");
    else if (grade == "E") text = SJ("特別");
  }
  return text;
}

std::string_view WeightRuleName(std::string_view ra, std::string_view other) {
  const std::string& name = WeightRuleShortName(FieldNumber(ra, ra::kWeightRule));
  return name.empty() ? other : std::string_view(name);
}

std::string_view GoingName(int code) { return GoingText(code); }

int GoingCode(std::string_view ra) {
  const int t = TrackCode(ra);
  if (!CountsAsDirt(t)) return FieldNumber(ra, ra::kTurfGoing);
  if (t <= 29) return FieldNumber(ra, ra::kDirtGoing);
  return 0;
}

std::string_view CoatName(int code) { return CoatText(code); }


std::string_view StyleLetter(std::string_view styleValue) {
  if (IsBlank(styleValue)) return " ";
  // Compared in tenths: the text holds one decimal.
  const long long tenths = std::llround(ParseStoredNumber(styleValue) * 10.0);
  if (tenths < 20) return SJ("逃");
  if (tenths < 51) return SJ("先");
  if (tenths < 80) return SJ("差");
  return SJ("追");
}

std::string LastThreeFurlongsText(std::string_view se, std::string_view ra) {
  const std::string_view field = se::Last3F(se);
  if (IsBlank(field) || TrimSpaces(field) == "999") return {};
  const int tenths = static_cast<int>(ReadNumber(field));
  if (tenths == 0) return {};
  double value = tenths / 10.0;
  if (IsJumpTrack(ra)) value *= 3;
  return FormatFixed(value, 4, 1);
}

PlacingCounts ReadPlacingCounts(std::string_view um, std::size_t from) {
  PlacingCounts counts{};
  for (std::size_t i = 0; i < counts.size(); ++i) counts[i] = FieldNumber(um, FieldSpan{from, from + um::kPlacingCount - 1}.Nth(i, um::kPlacingCount));
  return counts;
}

std::string CountsText(const PlacingCounts& counts) {
  std::string out;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    out += FormatInt(counts[i], 2);
    if (i + 1 < counts.size()) out += '-';
  }
  return out;
}

std::string_view PredictedWinOdds(std::string_view odds, int horse) {
  return horse >= 1 && horse <= kRunnerSlots ? odds::Win(odds, static_cast<std::size_t>(horse)) : std::string_view{};
}

std::string_view PredictedPlaceOdds(std::string_view odds, int horse) {
  return horse >= 1 && horse <= kRunnerSlots ? odds::Place(odds, static_cast<std::size_t>(horse)) : std::string_view{};
}

bool HasOdds(std::string_view field) { return ReadNumber(field) > 0; }

}  // namespace furlong
