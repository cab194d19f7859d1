#include "analysis/RaceAnalysis.h"

#include "analysis/GridSort.h"
#include "analysis/HeaderTexts.h"
#include "analysis/PastRunIndices.h"
#include "analysis/RunnerSummaries.h"
#include "analysis/RunningOrderDiagram.h"
#include "store/Encoding.h"
#include "store/Record.h"
#include "store/RecordLayout.h"
#include "store/TextFormat.h"

namespace furlong {

RaceAnalyzer::RaceAnalyzer(const DayTables& day)
    : day_(day), runners_(std::make_unique<RunnerAnalysisTable>()) {}

void RaceAnalyzer::IniBtnClick() {
  for (auto& race : *runners_)
    for (auto& a : race) a.Reset();
}

const RaceAnalysisResult& RaceAnalyzer::DatListClick(int slot) {
  if (slot < 0 || slot >= kRaceSlots) return result_;
  RaceAnalysisResult& out = result_;
  out.slot = slot;

  // The grids and the tab area are hidden while they are refilled.
  out.gridsVisible = false;
  out.pageVisible = false;
  out.message.clear();
  out.messageShown = false;

  const std::string_view ra = day_.RaceRecords[slot].view();
  const int n = RegisteredRunners(ra);

  if (FieldNumber(day_.RunnerRecords[slot][0].view(), se::kHorseNumber) < 1) {
    out.analysed = false;
    out.message = ZeroSuppress(ra::RaceNumber(ra));
    out.message += SJ("レースは予想に必要なデータ量がありません。時間をおいて再取得してください。");
    out.messageShown = !batchAnalysis_;
    return out;
  }

  // Every cell below the header row emptied; n runner rows.
  for (auto& row : out.verificationRows)
    for (auto& cell : row) cell.clear();
  for (auto& row : out.predictionRows)
    for (auto& cell : row) cell.clear();
  out.runnerCount = n;
  out.rowCount = n + 1;
  out.resultPanel = ResultPanel{};

  out.gridsVisible = true;
  out.analysed = true;
  selectedRace_ = slot;

  RaceHeader header = MakeRaceHeader(day_, slot);
  out.headerLabels = std::move(header.labels);
  out.panelColour = header.panelColour;

  RaceRunners& runners = (*runners_)[slot];
  for (int r = 0; r < n; ++r) {
    RunnerSums sums{};
    ComputePastRunIndices(day_, slot, r, runners[r], sums);
    ComputeRunnerSummaries(day_, slot, r, sums, runners[r]);
  }

  DrawRunningOrderDiagram(runners, n, out.diagram);

  RankRunners(runners, n);
  EliminateRunners(runners, n);

  FillGridCells(day_, slot, runners, n, out);
  SetDataSufficiency(n, out);
  GiveMarks(runners, n, out);

  verificationSort_ = VerificationSort::kHorseNumber;
  SortVerificationGrid();

  MakeBetPairs(runners, n, betPairs_);
  SetBets(betPairs_, day_.Payouts[slot], n, out);
  FillResultPanel(day_.Payouts[slot], out.resultPanel);

  SortPredictionGrid();

  out.pageVisible = !batchAnalysis_;
  return out;
}

void RaceAnalyzer::SortVerificationGrid() {
  result_.verificationSort = verificationSort_;
  SortGridRows(result_.verificationRows, result_.runnerCount, VerificationSortKey(verificationSort_));
}

void RaceAnalyzer::SortPredictionGrid() {
  result_.predictionSort = predictionSort_;
  SortGridRows(result_.predictionRows, result_.runnerCount, PredictionSortKey(predictionSort_));
}

void RaceAnalyzer::PressVerificationSort(VerificationSort button) {
  verificationSort_ = PressSortButton(verificationSort_, button);
  SortVerificationGrid();
}

void RaceAnalyzer::PressPredictionSort(PredictionSort button) {
  predictionSort_ = PressSortButton(predictionSort_, button);
  SortPredictionGrid();
}

}  // namespace furlong
