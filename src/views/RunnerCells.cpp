#include "views/RunnerCells.h"

#include <QPainter>

#include <cmath>

#include "store/Encoding.h"
#include "store/KeibaFunc.h"
#include "store/TextFormat.h"
#include "store/RecordLayout.h"

namespace furlong {

namespace {

long long PrizeTotal(std::string_view um, std::initializer_list<FieldSpan> fields) {
  long long sum = 0;
  for (FieldSpan f : fields) sum += ReadNumber(Field(um, f));
  return sum;
}

}  // namespace

void PaintHorseNameCell(CellCanvas& c, std::string_view se, std::string_view um, bool detailed) {
  PaintPlacingBackground(c, FieldNumber(se, se::kFinishingPosition));
  c.SetColour(kBlack);
  c.SetPoints(8);
  int y = c.y0;
  // The sire stops short of the sex, age and coat at R - 70.
  const int sexX = c.R - 70;
  c.painter().save();
  c.painter().setClipRect(QRect(c.L, c.T, sexX - 2 - c.L, c.B - c.T), Qt::IntersectClip);
  c.Text(c.x0, y, SJ("[父]") + DisplayName(um::SireName(um)));
  c.painter().restore();
  std::string sex(SexName(se::Sex(se)));
  sex += ZeroSuppress(se::Age(se));
  sex += ' ';
  sex += CoatName(FieldNumber(se, se::kCoatColour));
  y += c.Text(sexX, y, sex);

  std::string symbol(HorseMarkName(se::HorseSymbol(se)));
  if (IsBlank(symbol)) symbol = "    ";
  c.Text(c.x0, y + 2, symbol);
  const int symbolWidth = c.TextWidth(symbol);
  c.SetPoints(11, true);
  y += c.Text(c.x0 + symbolWidth, y, DisplayName(se::HorseName(se)));

  c.SetPoints(8);
  y += c.Text(c.x0, y, SJ("[母]") + DisplayName(um::DamName(um)));

  const long long main = PrizeTotal(um, {um::kMainPrizeFlat, um::kMainPrizeJump});
  const long long total = PrizeTotal(um, {um::kMainPrizeFlat, um::kMainPrizeJump, um::kAddedPrizeFlat, um::kAddedPrizeJump,
                                              um::kEarnedPrizeFlat, um::kEarnedPrizeJump});
  if (detailed) {
    c.SetPoints(7);
    c.Text(c.x0, y, SJ("本賞金:") + FormatInt(main, 7) + SJ("千円") + SJ("  総賞金:") + FormatInt(total, 7) + SJ("千円"));
  } else {
    y += 3;
    y += c.Text(c.x0, y, SJ("  本賞金:") + FormatInt(main, 7) + SJ("千円"));
    c.Text(c.x0, y, SJ("  総賞金:") + FormatInt(total, 7) + SJ("千円"));
  }
}

void PaintWinRateCell(CellCanvas& c, std::string_view um) {
  c.Fill(kWhite);
  c.SetPoints(8);
  c.SetColour(kBlack);
  const PlacingCounts n = ReadPlacingCounts(um, um::kPlacingsAll.from);
  const int s = n[0] + n[1] + n[2] + n[3] + n[4] + n[5];
  if (s == 0) return;
  int y = c.T + 2;
  y += c.Text(c.x0, y, SJ("勝率　：") + FormatFixed(static_cast<double>(n[0]) / s * 100, 5, 1) + SJ("％")) + 8;
  y += c.Text(c.x0, y, SJ("連対率：") + FormatFixed(static_cast<double>(n[0] + n[1]) / s * 100, 5, 1) + SJ("％")) + 10;
  c.Text(c.x0, y, SJ("複勝率：") + FormatFixed(static_cast<double>(n[0] + n[1] + n[2]) / s * 100, 5, 1) + SJ("％"));
}

}  // namespace furlong
