#pragma once
// Colours, fonts and painting helpers shared by the runner grids.
//
// The grid layouts were drawn for a 12-pixel fixed-pitch Japanese font on a
// 96-dpi desktop: point sizes map to pixel heights as such a desktop does
// (8 pt = 11 px, 9 pt = 12 px, 10 pt = 13 px, 11 pt = 15 px, 13 pt = 17 px)
// and the "text extent" of a line is the font's pixel height, so that the
// stated offsets and line steps keep their relative placement. Text is placed
// by the top-left corner of its em box, as the layouts assume.
//
// Every record text is Shift-JIS; the helpers taking std::string_view convert
// it to Unicode only here, when it is drawn.
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>

#include <optional>
#include <string_view>

#include "analysis/Colour.h"
#include "analysis/GridCellColours.h"

namespace furlong {

// ---- colours ----------------------------------------------------------------

// The named colours of the grids live in analysis/Colour.h (black, white, red,
// blue, green, maroon, navy, gray, silver, yellow, lime, orange, fuchsia, pink,
// light green, light yellow, light blue, info background); these are the ones
// only the grids use.
inline constexpr Rgb kButtonFace{240, 240, 240};     // fixed cells
inline constexpr Rgb kGridLine{192, 192, 192};       // grid lines between cells
inline constexpr Rgb kSelection{0, 120, 215};        // whole-row selection
// Detailed race card.
inline constexpr Rgb kDetailPaleYellow{248, 250, 148};
inline constexpr Rgb kDetailPalePink{254, 211, 248};
inline constexpr Rgb kDetailPaleGreen{165, 241, 156};
inline constexpr Rgb kDetailPaleCyan{227, 252, 253};
// Index table.
inline constexpr Rgb kCream{255, 255, 176};
inline constexpr Rgb kIndexPalePink{254, 211, 248};
inline constexpr Rgb kIndexPaleCyan{202, 255, 255};
inline constexpr Rgb kIndexPaleYellow{255, 255, 162};
inline constexpr Rgb kPurple{64, 0, 128};
// Signal table.
inline constexpr Rgb kLightOrange{255, 196, 136};
inline constexpr Rgb kSignalYellow{255, 255, 170};
inline constexpr Rgb kSignalCyan{170, 255, 255};
inline constexpr Rgb kEliminationBack{226, 226, 199};
inline constexpr Rgb kBestValueBack{255, 217, 255};
inline constexpr Rgb kResultBack{210, 255, 166};

inline QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// The frame colours (FrameColour) and the finishing-position backgrounds
// (FinishBackground) come from analysis/GridCellColours.h.

// Colour of a number printed on a frame colour: black on frames 1 and 5,
// white on all others (frame 0 included).
Rgb FrameTextColour(int frame);

// ---- fonts --------------------------------------------------------------------

// The fixed-pitch Japanese face used in place of the layouts' 12-pixel font.
inline constexpr const char* kGridFontFamily = "Noto Sans Mono CJK JP";

// Pixel height of a point size on a 96-dpi desktop (rounded as such a desktop does).
int PointsToPixels(int points);
// The grid face at a pixel height.
QFont PixelFont(int pixels, bool bold = false);
// The grid face at a point size of the layouts.
inline QFont PointFont(int points, bool bold = false) { return PixelFont(PointsToPixels(points), bold); }

// ---- one cell -------------------------------------------------------------------

// The drawing state of one cell, after the layouts' notation: L, T, R, B are
// the cell rectangle's left, top, right and bottom (R and B exclusive, so the
// horizontal grid line under the cell is row B); w is the grid line width;
// x0 = L + w + 1 and y0 = T + w + 1. Text is drawn in the current font and
// colour with its top-left corner at the given point; a text's extent height
// is the font's pixel height.
class CellCanvas {
 public:
  CellCanvas(QPainter& painter, const QRect& cell, int gridLineWidth = 1);

  QPainter& painter() { return p_; }
  QRect rect() const { return QRect(L, T, R - L, B - T); }

  // Font and colour, as a canvas keeps them between texts.
  void SetFont(const QFont& font);
  void SetPoints(int points, bool bold = false) { SetFont(PointFont(points, bold)); }
  void SetPixels(int pixels, bool bold = false) { SetFont(PixelFont(pixels, bold)); }
  void SetBold(bool bold);
  void SetColour(Rgb colour) { colour_ = colour; }
  Rgb Colour() const { return colour_; }
  const QFont& Font() const { return font_; }

  // Fills the whole cell.
  void Fill(Rgb colour);
  // Fills r (left, top, right, bottom exclusive) with `fill`, outlined in `outline`.
  void Rectangle(int left, int top, int right, int bottom, Rgb fill, Rgb outline);
  // Lines (end point excluded, as a canvas' LineTo).
  void Line(int x1, int y1, int x2, int y2, Rgb colour);
  // The black line from (L, B) to (R, B) closing every painted cell.
  void BottomLine() { Line(L, B, R, B, kBlack); }

  // Draws a Shift-JIS text / a Unicode text; returns its extent height.
  int Text(int x, int y, std::string_view sjis);
  int TextQ(int x, int y, const QString& text);
  int TextWidth(std::string_view sjis) const;
  int TextHeight() const { return pixels_; }

  const int L, T, R, B, w, x0, y0;

 private:
  QPainter& p_;
  QFont font_;
  int pixels_ = 12;
  int ascent_ = 11;
  Rgb colour_ = kBlack;
};

// ---- recurring cell elements ----------------------------------------------------

// Frame cell: filled with the frame colour (other numbers keep what the grid
// painted), `text` at `at` in the given bold font, black on frames 1 and 5,
// white on every other frame.
void PaintFrameCell(CellCanvas& c, int frame, std::string_view text, QPoint at, const QFont& font);

// Horse-number cell: info background, `text` in black at `at` in `font`.
void PaintHorseNumberCell(CellCanvas& c, std::string_view text, QPoint at, const QFont& font);

// Finishing-position background (1 pink, 2 light green, 3 light yellow, else white).
void PaintPlacingBackground(CellCanvas& c, int position);

}  // namespace furlong
