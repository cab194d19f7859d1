#include "analysis/GraphData.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"

namespace furlong {

namespace {

const PastTexts& IndexTexts(const RunnerAnalysis& a, IndexGraphKind kind) {
  switch (kind) {
    case IndexGraphKind::kAbility: return a.PastAbility;
    case IndexGraphKind::kDIndex: return a.PastDIndex;
    case IndexGraphKind::kLegPower: return a.PastLegPower;
  }
  return a.PastAbility;
}

bool PassesSurface(std::string_view pastRace, SurfaceFilter filter) {
  if (filter == SurfaceFilter::kAll) return true;
  const int track = FieldNumber(pastRace, ra::kTrackCode);
  if (filter == SurfaceFilter::kTurf) return track >= 1 && !CountsAsDirt(track);
  return CountsAsDirt(track);
}

int RunnerCount(const DayTables& day, int slot) { return RegisteredRunners(day.RaceRecords[slot].view()); }

}  // namespace

std::vector<RangeBar> IndexGraphBars(const DayTables& day, const RunnerAnalysisTable& runners, int slot,
                                     IndexGraphKind kind, SurfaceFilter filter) {
  std::vector<RangeBar> bars;
  if (slot < 0 || slot >= kRaceSlots) return bars;
  const int n = RunnerCount(day, slot);
  for (int r = 0; r < n; ++r) {
    const PastTexts& texts = IndexTexts(runners[slot][r], kind);
    bool any = false;
    RangeBar bar{r + 1, 0, 0};
    for (int k = 0; k < kPastRuns; ++k) {
      if (IsBlank(texts[k])) continue;
      if (!PassesSurface(day.PastRaceRecords[slot][r][k].view(), filter)) continue;
      const double v = ParseStoredNumber(texts[k]);
      if (!any) {
        bar.low = bar.high = v;
        any = true;
      } else {
        bar.low = std::min(bar.low, v);
        bar.high = std::max(bar.high, v);
      }
    }
    if (any) bars.push_back(bar);
  }
  return bars;
}

std::vector<RangeBar> DevelopmentGraphBars(const DayTables& day, const RunnerAnalysisTable& runners, int slot,
                                           DevelopmentGraphKind kind, CourseFilter filter) {
  std::vector<RangeBar> bars;
  if (slot < 0 || slot >= kRaceSlots || filter != CourseFilter::kAll) return bars;
  const int n = RunnerCount(day, slot);
  const int runs = kind == DevelopmentGraphKind::kLastRun ? 1 : kPastRuns;
  for (int r = 0; r < n; ++r) {
    const RunnerAnalysis& a = runners[slot][r];
    bool any = false;
    RangeBar bar{r + 1, 0, 0};
    for (int k = 0; k < runs; ++k)
      for (double v : a.PastDevelopment[k]) {
        if (!(v > 0)) continue;
        const double shown = ParseStoredNumber(FormatFixed(v, 7, 1));
        if (!any) {
          bar.low = bar.high = shown;
          any = true;
        } else {
          bar.low = std::min(bar.low, shown);
          bar.high = std::max(bar.high, shown);
        }
      }
    if (any) bars.push_back(bar);
  }
  return bars;
}

std::string FormatMarkValue(double value) {
  std::string text = FormatFixed(std::fabs(value), 1, 1);
  const bool negative = value < 0 && text != "0.0";
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, ".0") == 0) text.resize(text.size() - 2);
  const std::size_t dot = text.find('.');
  std::string digits = text.substr(0, dot);
  const std::string rest = dot == std::string::npos ? std::string() : text.substr(dot);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return (negative ? "-" : "") + grouped + rest;
}

std::string RunnerRowLabel(int horse) { return FormatInt(horse, 2) + SJ("番"); }

}  // namespace furlong
