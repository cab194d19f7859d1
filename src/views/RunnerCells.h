#pragma once
// The cells that the race card and the detailed race card share: the frame,
// horse-number, horse-name and win-rate cells, painted from their texts
// (analysis/RaceCardTexts).
#include "analysis/RaceCardTexts.h"
#include "analysis/RunnerCellTexts.h"
#include "views/GridPainting.h"

namespace furlong {

// Draws one text of a race card in its colour; returns the line height.
inline int Put(CellCanvas& c, int x, int y, const CardText& t) {
  c.SetColour(CardColourRgb(t.colour));
  return c.Text(x, y, t.text);
}

// The 枠 cell (`frame` true) or the 馬 cell of the race cards: the number in
// 13-point bold at (x0, y0).
void PaintCardNumberCell(CellCanvas& c, bool frame, const RaceCardRunner& t);

// The horse-name cell of the race cards: finishing-position background, the
// sire with sex, age and coat, the horse symbol and name, the dam, and the
// prize money (two lines, or one 7-point line on the detailed card).
void PaintHorseNameCell(CellCanvas& c, const HorseNameTexts& t, bool detailed);

// The win-rate cell: win, top-two and top-three rates of the career placings;
// nothing but the white fill for a horse without starts.
void PaintWinRateCell(CellCanvas& c, const WinRateTexts& t);

}  // namespace furlong
