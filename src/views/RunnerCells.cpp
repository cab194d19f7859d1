#include "views/RunnerCells.h"

#include <QPainter>

#include <cmath>

#include "store/Encoding.h"
#include "store/KeibaFunc.h"
#include "store/TextFormat.h"

namespace furlong {

std::string DisplayName(std::string_view field) { return RemoveWideSpaces(TrimSpaces(field)); }

std::string RaceDateText(std::string_view ra) {
  std::string_view md = Field(ra, 16, 19);
  std::string out(Field(ra, 12, 15));
  out += '.';
  out += md.substr(0, 2);
  out += '.';
  if (md.size() > 2) out += md.substr(2);
  return out;
}

std::string ClassText(std::string_view ra) {
  const std::string_view grade = Field(ra, 615, 615);
  std::string text;
  if (grade == "A") {
    text = "G1";
  } else if (grade == "B") {
    text = "G2";
  } else if (grade == "C") {
    text = "G3";
  } else {
    text = ConditionClassText(Field(ra, 635, 637));
  }
  if (text == " ") {
    if (grade == "D") text = SJ("重賞");
    else if (grade == "E") text = SJ("特別");
  }
  return text;
}

std::string_view WeightRuleName(std::string_view ra, std::string_view other) {
  switch (FieldNumber(ra, 622, 622)) {
    case 1: return SJ("ﾊﾝﾃﾞ");
    case 2: return SJ("別定");
    case 3: return SJ("馬齢");
    case 4: return SJ("定量");
    default: return other;
  }
}

std::string_view GoingName(int code) {
  switch (code) {
    case 1: return SJ("良");
    case 2: return SJ("稍重");
    case 3: return SJ("重");
    case 4: return SJ("不良");
    default: return " ";
  }
}

int GoingCode(std::string_view ra) {
  const int t = TrackCode(ra);
  if (t <= 22) return FieldNumber(ra, 889, 889);
  if (t <= 29) return FieldNumber(ra, 890, 890);
  return 0;
}

std::string_view CoatName(int code) {
  switch (code) {
    case 1: return SJ("栗毛  ");
    case 2: return SJ("栃栗毛");
    case 3: return SJ("鹿毛  ");
    case 4: return SJ("黒鹿毛");
    case 5: return SJ("青鹿毛");
    case 6: return SJ("青毛  ");
    case 7: return SJ("芦毛  ");
    case 8: return SJ("栗粕毛");
    case 9: return SJ("鹿粕毛");
    case 10: return SJ("青粕毛");
    case 11: return SJ("白毛  ");
    default: return "      ";
  }
}

std::string_view StyleLetter(std::string_view styleValue) {
  if (IsBlank(styleValue)) return " ";
  // Compared in tenths: the text holds one decimal.
  const long long tenths = std::llround(ParseStoredNumber(styleValue) * 10.0);
  if (tenths < 20) return SJ("逃");
  if (tenths < 51) return SJ("先");
  if (tenths < 80) return SJ("差");
  return SJ("追");
}

std::string LastThreeFurlongsText(std::string_view se, std::string_view ra) {
  const std::string_view field = Field(se, 391, 393);
  if (IsBlank(field) || TrimSpaces(field) == "999") return {};
  const int tenths = static_cast<int>(ReadNumber(field));
  if (tenths == 0) return {};
  double value = tenths / 10.0;
  if (IsJumpTrack(ra)) value *= 3;
  return FormatFixed(value, 4, 1);
}

PlacingCounts ReadPlacingCounts(std::string_view um, std::size_t from) {
  PlacingCounts counts{};
  for (std::size_t i = 0; i < counts.size(); ++i) counts[i] = FieldNumber(um, from + 3 * i, from + 3 * i + 2);
  return counts;
}

std::string CountsText(const PlacingCounts& counts) {
  std::string out;
  for (std::size_t i = 0; i < counts.size(); ++i) {
    out += FormatInt(counts[i], 2);
    if (i + 1 < counts.size()) out += '-';
  }
  return out;
}

std::string_view PredictedWinOdds(std::string_view odds, int horse) {
  const std::size_t from = 20 + 6 * static_cast<std::size_t>(horse - 1);
  return horse >= 1 && horse <= kRunnerSlots ? Field(odds, from, from + 5) : std::string_view{};
}

std::string_view PredictedPlaceOdds(std::string_view odds, int horse) {
  const std::size_t from = 128 + 6 * static_cast<std::size_t>(horse - 1);
  return horse >= 1 && horse <= kRunnerSlots ? Field(odds, from, from + 5) : std::string_view{};
}

bool HasOdds(std::string_view field) { return ReadNumber(field) > 0; }

namespace {

long long PrizeTotal(std::string_view um, std::initializer_list<std::size_t> columns) {
  long long sum = 0;
  for (std::size_t from : columns) sum += ReadNumber(Field(um, from, from + 8));
  return sum;
}

}  // namespace

void PaintHorseNameCell(CellCanvas& c, std::string_view se, std::string_view um, bool detailed) {
  PaintPlacingBackground(c, FieldNumber(se, 335, 336));
  c.SetColour(kBlack);
  c.SetPoints(8);
  int y = c.y0;
  // The sire stops short of the sex, age and coat at R - 70.
  const int sexX = c.R - 70;
  c.painter().save();
  c.painter().setClipRect(QRect(c.L, c.T, sexX - 2 - c.L, c.B - c.T), Qt::IntersectClip);
  c.Text(c.x0, y, SJ("[父]") + DisplayName(Field(um, 215, 250)));
  c.painter().restore();
  std::string sex(SexName(Field(se, 79, 79)));
  sex += ZeroSuppress(Field(se, 83, 84));
  sex += ' ';
  sex += CoatName(FieldNumber(se, 81, 82));
  y += c.Text(sexX, y, sex);

  std::string symbol(HorseMarkName(Field(se, 77, 78)));
  if (IsBlank(symbol)) symbol = "    ";
  c.Text(c.x0, y + 2, symbol);
  const int symbolWidth = c.TextWidth(symbol);
  c.SetPoints(11, true);
  y += c.Text(c.x0 + symbolWidth, y, DisplayName(Field(se, 41, 76)));

  c.SetPoints(8);
  y += c.Text(c.x0, y, SJ("[母]") + DisplayName(Field(um, 261, 296)));

  const long long main = PrizeTotal(um, {1053, 1062});
  const long long total = PrizeTotal(um, {1053, 1062, 1071, 1080, 1089, 1098});
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
  const PlacingCounts n = ReadPlacingCounts(um, 1107);
  const int s = n[0] + n[1] + n[2] + n[3] + n[4] + n[5];
  if (s == 0) return;
  int y = c.T + 2;
  y += c.Text(c.x0, y, SJ("勝率　：") + FormatFixed(static_cast<double>(n[0]) / s * 100, 5, 1) + SJ("％")) + 8;
  y += c.Text(c.x0, y, SJ("連対率：") + FormatFixed(static_cast<double>(n[0] + n[1]) / s * 100, 5, 1) + SJ("％")) + 10;
  c.Text(c.x0, y, SJ("複勝率：") + FormatFixed(static_cast<double>(n[0] + n[1] + n[2]) / s * 100, 5, 1) + SJ("％"));
}

}  // namespace furlong
