#pragma once
// Ranking the runners of a race, eliminating the clearly weaker ones (消),
// writing the cell texts of the verification and prediction grids, the data
// sufficiency and the prediction marks ◎ ○ ▲ △4-△7.
//
// Every function works on the runner slots 0 .. n-1 of one race slot, where
// n is the race's registered runners, and on grid rows in runner order
// (row r + 1 belongs to runner slot r), as they stand before sorting.
#include <array>
#include <cstdint>
#include <string_view>

#include "analysis/RaceAnalysisResult.h"
#include "analysis/RunnerAnalysis.h"
#include "store/DayTables.h"

namespace furlong {

using RaceRunners = std::array<RunnerAnalysis, kRunnerSlots>;

// The value of a one-decimal stored text in tenths ("  60.5" -> 605,
// " -12" -> -120), rounded half away from zero on a second decimal.
// A blank or unreadable text gives 0.
std::int64_t ParseTenths(std::string_view text);

// Zeroes the ten rank fields of all 18 runner slots, then ranks the runners
// 0 .. n-1 on each figure: the largest value gets 1, equal values go to the
// lower horse number, a blank figure keeps 0.
void RankRunners(RaceRunners& runners, int n);

// Clears Mark and Eliminated of the runners 0 .. n-1, then eliminates (消)
// every runner whose last ability is 20.0 or more below that of the runner
// ranked third on it, unless it ranks 1-4 on the best or mean D index or leg
// power. Returns g, the third runner's last ability in tenths (0 without one).
std::int64_t EliminateRunners(RaceRunners& runners, int n);

// Writes rows 1 .. n of both grids (every column; columns without a text are
// emptied) from the day tables and the runners' records.
void FillGridCells(const DayTables& day, int slot, const RaceRunners& runners, int n,
                   RaceAnalysisResult& out);

// Share of the rows whose 軸指数 and 連指数 are both non-blank, in percent;
// sets out.dataSufficiency and its "%5.1f" text. 0 for a race without runners.
void SetDataSufficiency(int n, RaceAnalysisResult& out);

// Points of one rank for the 穴指数: 1 -> 4, 2 -> 3, 3 -> 2, 4 -> 1, else 0.
int LongshotPoints(std::int32_t rank);

// ◎ (largest 軸指数), ○ and ▲ (largest 連指数 of the others), the 穴指数 and
// △4-△7; writes Mark, LongshotIndex and the grid's 穴指数 and 印 columns.
void GiveMarks(RaceRunners& runners, int n, RaceAnalysisResult& out);

}  // namespace furlong
