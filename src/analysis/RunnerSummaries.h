#pragma once
// A runner's summaries of its five past runs: means and bests of the indices,
// bests per surface and distance band, running-style values, days since each
// run, the change of weight carried and the mean distances.
#include <optional>
#include <string_view>

#include "analysis/PastRunIndices.h"
#include "analysis/RunnerAnalysis.h"
#include "store/DayTables.h"

namespace furlong {

// Fills the summary texts of runner slot `runner` in race slot `slot` from
// its past-run texts (already computed) and the sums they left.
void ComputeRunnerSummaries(const DayTables& day, int slot, int runner, const RunnerSums& sums,
                            RunnerAnalysis& ra);

// Days from the date of RA/SE record `from` to that of `to` (columns 12-19);
// none when a year, month or day reads 0 or the date does not exist.
std::optional<long> DaysBetweenRaceDates(std::string_view from, std::string_view to);

}  // namespace furlong
