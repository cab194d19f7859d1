#include "analysis/PastRunIndices.h"

#include "analysis/StandardTimes.h"
#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"

namespace furlong {
namespace {

const std::string kBlank4 = "    ";
const std::string kBlank5 = "     ";

// The signed time difference of an SE record in tenths of a second: a sign
// ("+" behind, "-" ahead) and the digits.
int TimeDifferenceTenths(std::string_view field) {
  std::string_view t = TrimSpaces(field);
  bool negative = false;
  if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
    negative = t[0] == '-';
    t.remove_prefix(1);
  }
  const int v = static_cast<int>(ReadNumber(t));
  return negative ? -v : v;
}

// The value of a stored text; a blank text counts 0.
double ValueOf(const std::string& text) { return IsBlank(text) ? 0.0 : ParseStoredNumber(text); }

void BlankTimeIndices(RunnerAnalysis& ra, int k) {
  ra.PastFront3F[k] = kBlank5;
  ra.PastAbility[k] = kBlank5;
  ra.PastClosing[k] = kBlank5;
  ra.PastTotal[k] = kBlank5;
  ra.PastDIndex[k] = kBlank4;
  ra.PastLegPower[k] = kBlank4;
}

// Weight carried less the penalty for the time lost to the winner, plus the
// class bonus; blank without a time difference and for local or overseas races.
void WeightValue(std::string_view run, std::string_view race, RunnerAnalysis& ra, int k) {
  std::string_view difference = se::TimeDifference(run);
  std::string_view trimmed = TrimSpaces(difference);
  if (trimmed.empty() || trimmed == "0000" || trimmed == "9999" || IsLocalOrOverseas(ra::Course(race))) {
    ra.PastWeightValue[k] = kBlank4;
    return;
  }
  const int t = TimeDifferenceTenths(difference);
  const int d = t < 1 ? 0 : (t >= 12 ? 12 : t);
  const double carried = FieldNumber(run, se::kWeightCarried);
  const double w = carried / 10 - (d / 10.0) / 0.2 + ClassBonus(race);
  ra.PastWeightValue[k] = FormatFixed(w, 4, 1);
}

// Front 3 furlongs, ability, closing value, leg power, D index and TOTAL.
void TimeIndices(std::string_view run, std::string_view race, RunnerAnalysis& ra, int k) {
  const int lastRaw = FieldNumber(run, se::kLast3F);
  const int timeRaw = FieldNumber(run, se::kRaceTime);
  const int distance = FieldNumber(race, ra::kDistance);
  // The front-3-furlong time divides by the distance less 600 m, so a race
  // of 600 m or less has no time-based figures either.
  if (lastRaw < 1 || timeRaw < 1 || distance <= 600) {
    BlankTimeIndices(ra, k);
    return;
  }
  const double time = FieldNumber(run, se::kRaceTimeMinutes) * 60 + FieldNumber(run, se::kRaceTimeSeconds) / 10.0;
  double last = lastRaw / 10.0;
  std::string_view track = ra::TrackCode(race);
  if (!track.empty() && track[0] == '5') last = last * 3;  // jump race
  const double dist = distance;

  ra.PastFront3F[k] = FormatFixed((time - last) * 600 / (dist - 600), 5, 1);
  const double front = ParseStoredNumber(ra.PastFront3F[k]);

  const StandardTimes standard =
      LookUpStandardTimes(CountsAsDirt(FieldNumber(race, ra::kTrackCode)), distance, FieldNumber(race, ra::kCourse));
  if (!standard.available) {
    ra.PastAbility[k] = kBlank5;
    ra.PastClosing[k] = kBlank5;
    ra.PastTotal[k] = kBlank5;
    ra.PastDIndex[k] = kBlank4;
    ra.PastLegPower[k] = kBlank4;
    return;
  }

  const double x = (front - standard.StdFront3F) * (last - standard.StdLast3F) / (dist / 200);
  ra.PastAbility[k] = FormatFixed(100 - x * 100 / 5, 5, 1);
  if (ParseStoredNumber(ra.PastAbility[k]) < 0) ra.PastAbility[k] = "  0.0";
  if (IsLocalOrOverseas(ra::Course(race))) ra.PastAbility[k] = kBlank5;

  ra.PastClosing[k] = FormatFixed(((front + last) / 2 + last) / 2, 5, 1);
  const double closing = ParseStoredNumber(ra.PastClosing[k]);
  ra.PastLegPower[k] = FormatFixed((1 - closing / standard.StdClosing) * 300 + 100, 4, 0);
  ra.PastDIndex[k] = FormatFixed((1 - front / (standard.StdFront3F + 2)) * 300 + 100, 4, 0);

  const double a = ValueOf(ra.PastAbility[k]);
  const double xi = ValueOf(ra.PastDIndex[k]);
  const double p = ValueOf(ra.PastLegPower[k]);
  const double w = ValueOf(ra.PastWeightValue[k]);
  ra.PastTotal[k] = FormatFixed((a + xi + p + 2 * w) / 4, 5, 1);
}

}  // namespace

bool IsLocalOrOverseas(std::string_view courseCode) {
  std::string_view name = TrimSpaces(CourseShortName(courseCode));
  return name == SJ("地方") || name == SJ("海外");
}

double ClassBonus(std::string_view pastRace) {
  std::string_view grade = ra::Grade(pastRace);
  std::string_view condition = ra::ConditionYoungest(pastRace);
  double b;
  if (grade == "A") {
    b = 1.2;
  } else if (grade == "B") {
    b = 1.1;
  } else if (grade == "C") {
    b = 1.0;
  } else if (ReadNumber(condition) == kConditionOpen) {
    b = 0.8;
  } else if (ReadNumber(condition) == kConditionNewcomer) {
    b = 0.1;
  } else if (!condition.empty() && condition[0] == '7') {
    b = 0;
  } else {
    const auto v = ReadNumber(condition);
    b = v <= 5 ? 0.2 : v <= 9 ? 0.4 : v <= 16 ? 0.6 : 0;
  }
  if (grade == "E") b += 0.1;
  return b;
}

void ComputePastRunIndices(const DayTables& day, int slot, int runner, RunnerAnalysis& ra,
                           RunnerSums& sums) {
  sums = RunnerSums{};
  if (slot < 0 || slot >= kRaceSlots || runner < 0 || runner >= kRunnerSlots) return;
  const auto s = static_cast<std::size_t>(slot);
  const auto r = static_cast<std::size_t>(runner);
  const int n = RegisteredRunners(day.RaceRecords[s].view());

  for (int k = 0; k < kPastRuns; ++k) {
    std::string_view run = day.PastRunRecords[s][r][static_cast<std::size_t>(k)].view();
    std::string_view race = day.PastRaceRecords[s][r][static_cast<std::size_t>(k)].view();

    // No run: every figure in its blank form, development values untouched.
    std::string_view course = se::Course(run);
    if (course == "00" || IsBlank(course)) {
      ra.PastWeightValue[k] = kBlank4;
      ra.PastStyleValue[k] = kBlank5;
      BlankTimeIndices(ra, k);
      continue;
    }

    WeightValue(run, race, ra, k);
    TimeIndices(run, race, ra, k);

    // Running position: the first corner with a position, against the field size.
    int corners[4];
    for (int m = 0; m < 4; ++m) corners[m] = static_cast<int>(ReadNumber(se::Corner(run, static_cast<std::size_t>(m))));
    int p = 0;
    for (int m = 0; m < 4 && p == 0; ++m) p = corners[m];
    if (p != 0 && n > 0) {
      const double style = static_cast<double>(p) / n * 10;
      ra.PastStyleValue[k] = FormatFixed(style, 5, 1);
      sums.styleSum += style;
      ++sums.styleCount;
    } else {
      ra.PastStyleValue[k] = kBlank5;
    }

    // Development values per corner, relative to the D index.
    const double dIndex = ValueOf(ra.PastDIndex[k]);
    for (int m = 0; m < 4; ++m) {
      double value = 0;
      if (dIndex != 0 && n > 0) {
        const double v = static_cast<double>(corners[m]) / n * 10;
        value = v / dIndex * 100;
      }
      ra.PastDevelopment[k][m] = value;
    }

    std::string_view distance = ra::Distance(race);
    if (!IsBlank(distance)) {
      sums.distanceSum += ReadNumber(distance);
      ++sums.distanceCount;
    }
  }
}

}  // namespace furlong
