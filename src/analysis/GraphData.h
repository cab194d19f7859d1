#pragma once
// The range bars of the index graphs and the development graphs: per runner
// of the selected race, the lowest and highest value its past runs reached.
// Plain data; the chart pages draw it.
#include <string>
#include <vector>

#include "analysis/RunnerAnalysis.h"
#include "store/DayTables.h"

namespace furlong {

// One horizontal bar: row = horse number (runner slot + 1), from low to high.
struct RangeBar {
  int horse = 0;
  double low = 0;
  double high = 0;
};

enum class IndexGraphKind { kAbility, kDIndex, kLegPower };
// The "馬場選択" buttons of the index graphs: 全表示, 芝, ﾀﾞｰﾄ.
enum class SurfaceFilter { kAll, kTurf, kDirt };

enum class DevelopmentGraphKind { kLastRun, kLastFiveRuns };
// The "コース選択" buttons of the development graphs: 全表示, 左, 右. Only 全表示
// collects values; 左 and 右 leave both charts empty.
enum class CourseFilter { kAll, kLeft, kRight };

// Bars of one index graph for race slot `slot`: for each runner 1 .. N
// (registered runners), the range of the non-blank index texts of its past
// runs that pass the filter (turf: track code 1-22; dirt: above 22, jump
// races included). A runner without such a value has no bar.
std::vector<RangeBar> IndexGraphBars(const DayTables& day, const RunnerAnalysisTable& runners, int slot,
                                     IndexGraphKind kind, SurfaceFilter filter);

// Bars of one development graph: the last run's four corner values, or all
// twenty corner values of the last five runs; values of 0 or less are not
// values. Each value is taken at one decimal, as the chart shows it.
std::vector<RangeBar> DevelopmentGraphBars(const DayTables& day, const RunnerAnalysisTable& runners, int slot,
                                           DevelopmentGraphKind kind, CourseFilter filter);

// A value as the charts' marks show it ("#,##0.#"): thousands separated by
// commas, at most one decimal, none when it is zero (92.0 -> "92",
// 1234.56 -> "1,234.6", -3.5 -> "-3.5").
std::string FormatMarkValue(double value);

// "%2d番": the label of a runner's row.
std::string RunnerRowLabel(int horse);

}  // namespace furlong
