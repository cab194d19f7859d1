#pragma once
// The race analysis run (DatListClick): turns the raw records of one race
// slot of the loaded meeting into the runner analysis records and into what
// the window shows (RaceAnalysisResult). GUI-free: the window reads the
// result when the run has returned and redraws its pages and charts then.
#include <memory>

#include "analysis/Bets.h"
#include "analysis/RaceAnalysisResult.h"
#include "analysis/RanksAndMarks.h"
#include "analysis/RunnerAnalysis.h"
#include "store/DayTables.h"

namespace furlong {

class RaceAnalyzer {
 public:
  // The analyser reads `day`, which must outlive it.
  explicit RaceAnalyzer(const DayTables& day);
  RaceAnalyzer(const RaceAnalyzer&) = delete;
  RaceAnalyzer& operator=(const RaceAnalyzer&) = delete;

  // Analyses race slot `slot` (the slot of the chosen race-list item) and
  // returns what to show. A slot outside 0-11 does nothing. A race whose
  // first runner slot has no horse number is not analysed: the result has
  // analysed = false and the message, shown unless BatchAnalysis is set.
  const RaceAnalysisResult& DatListClick(int slot);

  // The result of the last run (also after a sort button was pressed).
  const RaceAnalysisResult& Result() const { return result_; }

  // Resets every runner analysis record (every text empty, every number 0).
  void IniBtnClick();

  // The race slot last analysed.
  int SelectedRace() const { return selectedRace_; }

  // Set while every race of a freshly loaded meeting is analysed: no
  // messages, the tab area stays hidden.
  bool BatchAnalysis() const { return batchAnalysis_; }
  void SetBatchAnalysis(bool on) { batchAnalysis_ = on; }

  RunnerAnalysisTable& Runners() { return *runners_; }
  const RunnerAnalysisTable& Runners() const { return *runners_; }

  // Sort buttons: pressing one releases the others, pressing the pressed
  // one releases it; the grid of the last result is sorted at once.
  VerificationSort VerificationSortButton() const { return verificationSort_; }
  PredictionSort PredictionSortButton() const { return predictionSort_; }
  void PressVerificationSort(VerificationSort button);  // SpeedButton2Click
  void PressPredictionSort(PredictionSort button);      // SpeedButton21Click

 private:
  void SortVerificationGrid();
  void SortPredictionGrid();

  const DayTables& day_;
  std::unique_ptr<RunnerAnalysisTable> runners_;
  int selectedRace_ = 0;
  bool batchAnalysis_ = false;
  VerificationSort verificationSort_ = VerificationSort::kHorseNumber;
  PredictionSort predictionSort_ = PredictionSort::kHorseNumber;
  BetPairs betPairs_;
  RaceAnalysisResult result_;
};

}  // namespace furlong
