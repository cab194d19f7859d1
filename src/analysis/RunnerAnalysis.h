#pragma once
// The per-runner analysis record of every race slot and runner slot.
// Figures are stored as the right-aligned fixed-width Shift-JIS texts the
// grids show (blank forms included); a later step that reuses one parses the
// text back, so it sees the value as displayed.
#include <array>
#include <cstdint>
#include <string>

#include "store/DayTables.h"

namespace furlong {

using PastTexts = std::array<std::string, kPastRuns>;  // past run 0 (last) .. 4

struct RunnerAnalysis {
  PastTexts PastWeightValue;   // "%4.1f"; blank 4 spaces
  std::string TurfWeightValue;
  std::string DirtWeightValue;
  std::string BestWeightValue;  // blank 5 spaces
  PastTexts PastFront3F;        // "%5.1f"; blank 5 spaces
  PastTexts PastAbility;        // "%5.1f"; blank 5 spaces
  std::string AbilityAvg;
  std::string AbilityBest;
  std::int32_t AbilityAvgRank = 0;
  std::int32_t AbilityBestRank = 0;
  std::int32_t AbilityLastRank = 0;
  std::string TurfShort, TurfMiddle, TurfLong, DirtShort, DirtMiddle, DirtLong;
  PastTexts PastInterval;       // "%4.0f"; blank 4 spaces
  std::string DaysSinceLastRun; // "%4.0f"; blank 4 spaces
  PastTexts PastStyleValue;     // "%5.1f"; blank 5 spaces
  std::string StyleValue;
  std::string StyleValueRecent;
  std::array<std::array<double, 4>, kPastRuns> PastDevelopment{};  // corners 1-4
  PastTexts PastDIndex;         // "%4.0f"; blank 4 spaces
  std::string DIndexBest;
  std::string DIndexAvg;
  std::int32_t DIndexAvgRank = 0;
  std::int32_t DIndexBestRank = 0;
  std::int32_t DIndexLastRank = 0;
  PastTexts PastClosing;        // "%5.1f"; blank 5 spaces
  std::string LegPowerBest;
  std::string LegPowerAvg;
  std::int32_t LegPowerAvgRank = 0;
  std::int32_t LegPowerBestRank = 0;
  std::int32_t LegPowerLastRank = 0;
  PastTexts PastLegPower;       // "%4.0f"; blank 4 spaces
  PastTexts PastTotal;          // "%5.1f"; blank 5 spaces
  std::int32_t TotalLastRank = 0;
  std::string AvgDistanceText5;
  std::string AvgDistanceText2;
  std::string ResultFinishText;
  std::string ResultPopularityText;
  std::string ResultOddsText;
  std::string ResultTimeText;
  std::uint8_t Eliminated = 0;
  std::string Mark;             // "◎", "○", "▲", "△4".."△7", "消" or empty
  std::string WeightCarriedChange;
  std::int32_t LongshotIndex = 0;

  // Every text empty, every number zero.
  void Reset() { *this = RunnerAnalysis{}; }
};

using RunnerAnalysisTable = std::array<std::array<RunnerAnalysis, kRunnerSlots>, kRaceSlots>;

}  // namespace furlong
