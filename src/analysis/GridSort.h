#pragma once
// Sorting the runner rows of the verification grid and the prediction grid
// by the column of the pressed sort button.
#include <array>
#include <string_view>

#include "analysis/RaceAnalysisResult.h"

namespace furlong {

struct GridSortKey {
  int column = 0;
  bool descending = false;
};

// The column and order of a button; kNone sorts by the frame column ascending.
GridSortKey VerificationSortKey(VerificationSort button);
GridSortKey PredictionSortKey(PredictionSort button);

// The buttons of a group exclude one another: pressing one releases the
// others, pressing the pressed one releases it (all up).
VerificationSort PressSortButton(VerificationSort current, VerificationSort pressed);
PredictionSort PressSortButton(PredictionSort current, PredictionSort pressed);

// Ascending order of two cell texts: blank texts first (in byte order), then
// the texts that read as numbers by their values, then any other text (such
// as "―") in byte order (Shift-JIS bytes unsigned). Returns <0, 0 or >0.
int CompareCellTexts(std::string_view a, std::string_view b);

// Orders rows 0 .. count-1 (grid rows 1 .. count; the header row is not
// held here) by the sort column (descending reverses it), rows with equal
// texts there by the horse-number column ascending. Stable; rows move whole.
void SortGridRows(std::array<VerificationRow, kRunnerSlots>& rows, int count, GridSortKey key);
void SortGridRows(std::array<PredictionRow, kRunnerSlots>& rows, int count, GridSortKey key);

}  // namespace furlong
