#include "views/RunnerCells.h"

#include <QPainter>

#include "store/Encoding.h"

namespace furlong {

void PaintCardNumberCell(CellCanvas& c, bool frame, const RaceCardRunner& t) {
  if (frame)
    PaintFrameCell(c, t.frameNumber, t.frame, {c.x0, c.y0}, PointFont(13, true));
  else
    PaintHorseNumberCell(c, t.horse, {c.x0, c.y0}, PointFont(13, true));
}

void PaintHorseNameCell(CellCanvas& c, const HorseNameTexts& t, bool detailed) {
  PaintPlacingBackground(c, t.finish);
  c.SetColour(kBlack);
  c.SetPoints(8);
  int y = c.y0;
  // The sire stops short of the sex, age and coat at R - 70.
  const int sexX = c.R - 70;
  c.painter().save();
  c.painter().setClipRect(QRect(c.L, c.T, sexX - 2 - c.L, c.B - c.T), Qt::IntersectClip);
  c.Text(c.x0, y, t.sire);
  c.painter().restore();
  y += c.Text(sexX, y, t.sexAgeCoat);

  c.Text(c.x0, y + 2, t.symbol);
  const int symbolWidth = c.TextWidth(t.symbol);
  c.SetPoints(11, true);
  y += c.Text(c.x0 + symbolWidth, y, t.name);

  c.SetPoints(8);
  y += c.Text(c.x0, y, t.dam);

  if (detailed) {
    c.SetPoints(7);
    c.Text(c.x0, y, t.mainPrize + "  " + t.totalPrize);
  } else {
    // Two 7-point lines with a pixel between them, clear of the row's bottom line.
    c.SetPoints(7);
    y += 1;
    y += c.Text(c.x0, y, "  " + t.mainPrize) + 1;
    c.Text(c.x0, y, "  " + t.totalPrize);
  }
}

void PaintWinRateCell(CellCanvas& c, const WinRateTexts& t) {
  c.Fill(kWhite);
  c.SetPoints(8);
  c.SetColour(kBlack);
  if (t.win.empty()) return;
  int y = c.T + 2;
  y += c.Text(c.x0, y, t.win) + 8;
  y += c.Text(c.x0, y, t.top2) + 10;
  c.Text(c.x0, y, t.top3);
}

}  // namespace furlong
