#pragma once
// The cells that the race card and the detailed race card share: the
// horse-name and win-rate cells (their texts come from RunnerCellTexts).
#include <string_view>

#include "analysis/RunnerCellTexts.h"
#include "views/GridPainting.h"

namespace furlong {

// The horse-name cell of the race cards: finishing-position background, the
// sire with sex, age and coat, the horse symbol and name, the dam, and the
// prize money (two lines, or one 7-point line on the detailed card).
void PaintHorseNameCell(CellCanvas& c, std::string_view se, std::string_view um, bool detailed);

// The win-rate cell: win, top-two and top-three rates of the career placings;
// nothing but the white fill for a horse without starts.
void PaintWinRateCell(CellCanvas& c, std::string_view um);

}  // namespace furlong
