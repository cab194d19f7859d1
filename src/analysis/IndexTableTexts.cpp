#include "analysis/IndexTableTexts.h"

#include "analysis/RunnerCellTexts.h"
#include "store/CodeTables.h"
#include "store/Encoding.h"
#include "store/RecordLayout.h"
#include "store/TextFormat.h"

namespace furlong {

std::string_view RankLetter(int rank) {
  switch (rank) {
    case 1: return "A";
    case 2: return "B";
    case 3: return "C";
    case 4: return "D";
    default: return " ";
  }
}

const char* SurfaceBoxName(SurfaceBox box) {
  switch (box) {
    case SurfaceBox::kTurf: return "turf";
    case SurfaceBox::kDirt: return "dirt";
    case SurfaceBox::kNone: break;
  }
  return "none";
}

IndexTableRow MakeIndexTableRow(const DayTables& day, const RunnerAnalysis& a, int slot, int runner) {
  const std::size_t s = static_cast<std::size_t>(slot), r = static_cast<std::size_t>(runner);
  const std::string_view se = day.RunnerRecords[s][r].view();
  IndexTableRow row;
  row.frameNumber = FieldNumber(se, se::kBracket);
  row.frame = FormatInt(row.frameNumber, 1);
  row.horse = FormatInt(FieldNumber(se, se::kHorseNumber), 2);
  row.finish = FieldNumber(se, se::kFinishingPosition);
  row.name = DisplayName(se::HorseName(se));
  const int meanRanks[3] = {a.AbilityAvgRank, a.DIndexAvgRank, a.LegPowerAvgRank};
  const int bestRanks[3] = {a.AbilityBestRank, a.DIndexBestRank, a.LegPowerBestRank};
  for (std::size_t i = 0; i < 3; ++i) {
    row.meanRank[i] = RankLetter(meanRanks[i]);
    row.bestRank[i] = RankLetter(bestRanks[i]);
  }
  row.mean = {a.AbilityAvg, a.DIndexAvg, a.LegPowerAvg};
  row.best = {a.AbilityBest, a.DIndexBest, a.LegPowerBest};
  for (std::size_t k = 0; k < static_cast<std::size_t>(kPastRuns); ++k) {
    const std::string_view pr = day.PastRaceRecords[s][r][k].view();
    IndexTablePastRun& run = row.past[k];
    const int t = TrackCode(pr);
    run.surface = "    ";
    if (t != 0 && !CountsAsDirt(t)) {
      run.surface = SJ(" 芝 ");
      run.box = SurfaceBox::kTurf;
    } else if (t != 0) {
      run.surface = t < kFirstJumpTrackCode ? SJ("ﾀﾞｰﾄ") : SJ("障害");
      run.box = SurfaceBox::kDirt;
    }
    const int distance = FieldNumber(pr, ra::kDistance);
    run.distance = distance == 0 ? std::string(" ") : FormatInt(distance, 4);
    run.ability = a.PastAbility[k];
    run.dIndex = a.PastDIndex[k];
    run.legPower = a.PastLegPower[k];
  }
  return row;
}

}  // namespace furlong
