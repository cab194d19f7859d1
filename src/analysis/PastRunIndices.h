#pragma once
// Per-run figures of a runner's last five runs: weight value, front 3
// furlongs, ability, closing value, leg power, D index, TOTAL, running
// position and development values, stored as the texts the grids show.
#include <string_view>

#include "analysis/RunnerAnalysis.h"
#include "store/DayTables.h"

namespace furlong {

// What the past runs leave for the runner's summaries.
struct RunnerSums {
  double styleSum = 0;    // unrounded running-position values
  int styleCount = 0;
  long distanceSum = 0;   // past-race distances (non-blank fields)
  int distanceCount = 0;
};

// Fills PastWeightValue, PastFront3F, PastAbility, PastClosing, PastLegPower,
// PastDIndex, PastTotal, PastStyleValue and PastDevelopment of past runs 0-4
// of runner slot `runner` in race slot `slot`, and sets `sums` (started from
// zero) for that runner. The running-position values are scaled by the
// analysed race's registered runners.
void ComputePastRunIndices(const DayTables& day, int slot, int runner, RunnerAnalysis& ra,
                           RunnerSums& sums);

// The class bonus of a past race (its RA record): grade, then the youngest-age
// condition; a special race ("E") adds 0.1.
double ClassBonus(std::string_view pastRace);

// True when the racecourse code names a local or overseas racecourse.
bool IsLocalOrOverseas(std::string_view courseCode);

}  // namespace furlong
