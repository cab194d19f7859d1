#pragma once
// The twelve yes/no signals of the signal study table, from a runner's
// record in this race, its last five runs and its analysis record.
// S① compares this race with the last run; S② looks at how the last runs
// went. No widgets: the signal table paints what this returns.
#include <array>
#include <string>
#include <string_view>

#include "analysis/RunnerAnalysis.h"
#include "store/DayTables.h"

namespace furlong {

enum Signal : int {
  kJockeyChange = 0,    // 替
  kMoreWeight,          // 増
  kFirstBlinkers,       // Ｂ
  kSecondBlinkers,      // B2
  kBackToBack,          // 連
  kAfterRest,           // 休
  kBeatenFavourite,     // 人
  kNarrowlyBeaten,      // 差
  kSwitchedToFront,     // 転
  kSwitchedEarlier,     // 2転
  kFrontAndFast,        // 逃
  kCameAgain,           // Ｒ
  kSignalCount
};

using RunnerSignals = std::array<bool, kSignalCount>;

// `se`: the runner's record in this race; `past`: its runs, past[0] the last.
RunnerSignals ComputeSignals(std::string_view se, const std::array<SeRecord, kPastRuns>& past,
                             const RunnerAnalysis& analysis);

// The 成績 text: finishing position + "着 ", popularity + "人 ", odds + "倍 "
// and the time; a blank part is replaced by blanks of its width (5, 5, 8, 6).
std::string ResultSummaryText(const RunnerAnalysis& analysis);

}  // namespace furlong
