#include "analysis/RunnerSummaries.h"

#include <chrono>

#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"

namespace furlong {
namespace {

const std::string kBlank4 = "    ";
const std::string kBlank5 = "     ";
const std::string kBlank6 = "      ";

enum Band { kShort, kMiddle, kLong };

// The non-blank texts of one index over the five runs: their sum and count
// for the mean, and the text of the largest value for the best (values, not
// texts, are compared, so negative values order correctly).
class IndexStats {
 public:
  // Adds a text; returns false for a blank one.
  bool Add(const std::string& text) {
    if (IsBlank(text)) return false;
    Add(text, ParseStoredNumber(text));
    return true;
  }
  void Add(const std::string& text, double value) {
    sum_ += value;
    ++count_;
    if (best_ == nullptr || value > bestValue_) {
      best_ = &text;
      bestValue_ = value;
    }
  }
  bool HasBest() const { return best_ != nullptr; }
  double BestValue() const { return bestValue_; }
  const std::string& BestOr(const std::string& blank) const { return best_ ? *best_ : blank; }
  // "%5.1f" of the mean; 5 spaces when every text was blank.
  std::string MeanText() const { return count_ == 0 ? kBlank5 : FormatFixed(sum_ / count_, 5, 1); }

 private:
  double sum_ = 0;
  int count_ = 0;
  const std::string* best_ = nullptr;
  double bestValue_ = 0;
};

std::optional<long> DaysFromCivil(int year, int month, int day) {
  using namespace std::chrono;
  if (year == 0 || month == 0 || day == 0) return std::nullopt;
  const year_month_day date{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                            std::chrono::day{static_cast<unsigned>(day)}};
  if (!date.ok()) return std::nullopt;
  return static_cast<long>(sys_days{date}.time_since_epoch().count());
}

std::optional<long> DaysOf(std::string_view rec) {
  return DaysFromCivil(FieldNumber(rec, head::kYear), FieldNumber(rec, head::kMonth), FieldNumber(rec, head::kDay));
}

}  // namespace

std::optional<long> DaysBetweenRaceDates(std::string_view from, std::string_view to) {
  const auto a = DaysOf(from);
  const auto b = DaysOf(to);
  if (!a || !b) return std::nullopt;
  return *b - *a;
}

void ComputeRunnerSummaries(const DayTables& day, int slot, int runner, const RunnerSums& sums,
                            RunnerAnalysis& ra) {
  if (slot < 0 || slot >= kRaceSlots || runner < 0 || runner >= kRunnerSlots) return;
  const auto s = static_cast<std::size_t>(slot);
  const auto r = static_cast<std::size_t>(runner);
  const auto& pastRaces = day.PastRaceRecords[s][r];

  // Abilities: mean, best, and best per surface and distance band; weight
  // values: best overall (5 spaces when none) and per surface (empty when none).
  IndexStats ability, weight, turfWeight, dirtWeight, dIndex, legPower;
  IndexStats bands[2][3];  // [dirt][band]
  for (int k = 0; k < kPastRuns; ++k) {
    std::string_view race = pastRaces[static_cast<std::size_t>(k)].view();
    const bool dirt = CountsAsDirt(FieldNumber(race, ra::kTrackCode));
    const std::string& abilityText = ra.PastAbility[k];
    if (!IsBlank(abilityText)) {
      const double value = ParseStoredNumber(abilityText);
      ability.Add(abilityText, value);
      const int distance = FieldNumber(race, ra::kDistance);
      if (distance != 0) {
        const Band band = static_cast<Band>(DistanceBandOf(distance));
        bands[dirt][band].Add(abilityText, value);
      }
    }
    const std::string& weightText = ra.PastWeightValue[k];
    if (!IsBlank(weightText)) {
      const double value = ParseStoredNumber(weightText);
      weight.Add(weightText, value);
      (dirt ? dirtWeight : turfWeight).Add(weightText, value);
    }
    dIndex.Add(ra.PastDIndex[k]);
    legPower.Add(ra.PastLegPower[k]);
  }
  ra.AbilityAvg = ability.MeanText();
  ra.AbilityBest = ability.BestOr(kBlank5);
  ra.TurfShort = bands[0][kShort].BestOr(kBlank5);
  ra.TurfMiddle = bands[0][kMiddle].BestOr(kBlank5);
  ra.TurfLong = bands[0][kLong].BestOr(kBlank5);
  ra.DirtShort = bands[1][kShort].BestOr(kBlank5);
  ra.DirtMiddle = bands[1][kMiddle].BestOr(kBlank5);
  ra.DirtLong = bands[1][kLong].BestOr(kBlank5);

  static const std::string empty;
  ra.BestWeightValue = weight.BestOr(kBlank5);
  ra.TurfWeightValue = turfWeight.BestOr(empty);
  ra.DirtWeightValue = dirtWeight.BestOr(empty);

  // D index (best as stored) and leg power (best reformatted "%5.1f").
  ra.DIndexAvg = dIndex.MeanText();
  ra.DIndexBest = dIndex.BestOr(kBlank5);
  ra.LegPowerAvg = legPower.MeanText();
  ra.LegPowerBest = legPower.HasBest() ? FormatFixed(legPower.BestValue(), 5, 1) : kBlank5;

  // Running style: mean of the unrounded values, and of the last two runs as shown.
  ra.StyleValue = sums.styleCount == 0 ? kBlank5 : FormatFixed(sums.styleSum / sums.styleCount, 5, 1);
  if (!IsBlank(ra.PastStyleValue[0]) && !IsBlank(ra.PastStyleValue[1])) {
    ra.StyleValueRecent =
        FormatFixed((ParseStoredNumber(ra.PastStyleValue[0]) + ParseStoredNumber(ra.PastStyleValue[1])) * 0.5, 5, 1);
  } else {
    ra.StyleValueRecent = kBlank5;
  }

  // Change of weight carried since the last run, in tenths of a kilogram.
  const int last = FieldNumber(day.PastRunRecords[s][r][0].view(), se::kWeightCarried);
  const int now = FieldNumber(day.RunnerRecords[s][r].view(), se::kWeightCarried);
  if (last == 0 || now == 0) {
    ra.WeightCarriedChange = kBlank6;
  } else if (last == now) {
    ra.WeightCarriedChange = SJ("増減ﾅｼ");
  } else if (last < now) {
    ra.WeightCarriedChange = FormatFixed((now - last) / 10.0, 4, 1) + SJ("増");
  } else {
    ra.WeightCarriedChange = FormatFixed((last - now) / 10.0, 4, 1) + SJ("減");
  }

  // Days from each past race to this race.
  std::string_view thisRace = day.RaceRecords[s].view();
  for (int k = 0; k < kPastRuns; ++k) {
    const auto days = DaysBetweenRaceDates(pastRaces[static_cast<std::size_t>(k)].view(), thisRace);
    ra.PastInterval[k] = days ? FormatFixed(static_cast<double>(*days), 4, 0) : kBlank4;
  }
  ra.DaysSinceLastRun = ra.PastInterval[0];

  // Mean distances of the last five and the last two runs.
  if (sums.distanceCount != 0) {
    ra.AvgDistanceText5.assign(SJ("前5走平均距離："));
    ra.AvgDistanceText5 += FormatInt(sums.distanceSum / sums.distanceCount, 4);
  } else {
    ra.AvgDistanceText5 = kBlank4;
  }
  const int d0 = FieldNumber(pastRaces[0].view(), ra::kDistance);
  const int d1 = FieldNumber(pastRaces[1].view(), ra::kDistance);
  if (d0 != 0 && d1 != 0) {
    ra.AvgDistanceText2.assign(SJ("前2走平均距離："));
    ra.AvgDistanceText2 += FormatInt((d0 + d1) / 2, 4);
  } else {
    ra.AvgDistanceText2 = kBlank4;
  }
}

}  // namespace furlong
