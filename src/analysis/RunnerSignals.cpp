#include "analysis/RunnerSignals.h"

#include <vector>

#include "store/Encoding.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"

namespace furlong {

namespace {

// A field that holds only digits (and is not empty), as a number; -1 otherwise.
int DigitsOrMinusOne(std::string_view field) { return static_cast<int>(DigitsValue(field).value_or(-1)); }

// The days since the last run as a number; -1 when the text is blank.
int DaysValue(std::string_view days) {
  if (IsBlank(days)) return -1;
  return static_cast<int>(ParseStoredNumber(days));
}

// Seconds behind the winner in tenths when the difference starts with "+"
// and its three digits read; -1 otherwise.
int TenthsBehind(std::string_view se) {
  const std::string_view diff = se::TimeDifference(se);
  if (diff.size() < 4 || diff[0] != '+') return -1;
  return DigitsOrMinusOne(diff.substr(1, 3));
}

bool InDevelopmentRange(double v) { return v > 0 && v <= 1.99; }

}  // namespace

RunnerSignals ComputeSignals(std::string_view se, const std::array<SeRecord, kPastRuns>& past,
                             const RunnerAnalysis& analysis) {
  RunnerSignals s{};
  const std::string_view last = past[0].view();

  // S①
  const std::string_view lastJockey = TrimSpaces(se::JockeyCode(last));
  s[kJockeyChange] = !lastJockey.empty() && lastJockey != "00000" && TrimSpaces(se::JockeyCode(se)) != lastJockey;
  const int weight = FieldNumber(se, se::kWeightCarried), lastWeight = FieldNumber(last, se::kWeightCarried);
  s[kMoreWeight] = weight != 0 && lastWeight != 0 && weight > lastWeight;
  int blinkerRuns = 0;
  for (const SeRecord& run : past)
    if (se::Blinkers(run.view()) == "1") ++blinkerRuns;
  const bool blinkersToday = se::Blinkers(se) == "1";
  s[kFirstBlinkers] = blinkersToday && blinkerRuns == 0;
  s[kSecondBlinkers] = blinkersToday && blinkerRuns == 1;
  const int days = DaysValue(analysis.DaysSinceLastRun);
  s[kBackToBack] = days >= 0 && days <= 8;
  s[kAfterRest] = days >= 60;

  // S②
  const int p = FieldNumber(last, se::kFinishingPosition);
  s[kBeatenFavourite] = p >= 4 && se::WinPopularity(last) == "01";
  const int behind = TenthsBehind(last);
  s[kNarrowlyBeaten] = p >= 2 && behind >= 0 && behind <= 3;
  const auto corner3 = [&](int k) { return analysis.PastDevelopment[static_cast<std::size_t>(k)][2]; };
  s[kSwitchedToFront] = InDevelopmentRange(corner3(0)) && corner3(1) >= 7.0;
  s[kSwitchedEarlier] = p >= 4 && InDevelopmentRange(corner3(1)) && corner3(2) >= 7.0;
  const auto upFront = [](std::string_view pos) { return pos == "01" || pos == "02"; };
  // A last-3-furlong time that is not a number never counts as fast.
  const int last3f = DigitsOrMinusOne(se::Last3F(last));
  s[kFrontAndFast] = (upFront(se::Corner(last, 3)) || upFront(se::Corner(last, 2))) && last3f > 0 && last3f <= 358;
  std::vector<int> corners;
  for (std::size_t m = 0; m < 4; ++m) {
    const std::string_view pos = se::Corner(last, m);
    if (IsBlank(pos) || pos == "00") continue;
    corners.push_back(static_cast<int>(ReadNumber(pos)));
  }
  s[kCameAgain] = corners.size() >= 3 && corners[0] < corners[1] && corners[1] < corners[2] && corners[0] >= p &&
                  behind >= 0 && behind <= 14;
  return s;
}

std::string ResultSummaryText(const RunnerAnalysis& a) {
  const auto part = [](const std::string& text, const std::string& suffix, std::size_t width) {
    return IsBlank(text) ? std::string(width, ' ') : text + suffix;
  };
  return part(a.ResultFinishText, SJ("着 "), 5) + part(a.ResultPopularityText, SJ("人 "), 5) +
         part(a.ResultOddsText, SJ("倍 "), 8) + part(a.ResultTimeText, "", 6);
}

}  // namespace furlong
