#include "views/GridPainting.h"

#include <QFontMetrics>

#include <array>
#include <cmath>
#include <optional>

#include "store/Encoding.h"
#include "store/Record.h"

namespace furlong {

Rgb FrameTextColour(int frame) { return frame == 1 || frame == 5 ? kBlack : kWhite; }

int PointsToPixels(int points) {
  // MulDiv(points, 96, 72), rounded half up.
  return (points * 96 + 36) / 72;
}

QFont PixelFont(int pixels, bool bold) {
  // The grids switch fonts for almost every text they draw: keep one font
  // object per size and weight, so that each keeps its resolved font engine.
  static std::array<std::array<std::optional<QFont>, 2>, 64> fonts;
  if (pixels < 1 || pixels >= static_cast<int>(fonts.size())) pixels = 12;
  std::optional<QFont>& cached = fonts[static_cast<std::size_t>(pixels)][bold ? 1 : 0];
  if (!cached) {
    QFont f(QString::fromLatin1(kGridFontFamily));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setStyleHint(QFont::TypeWriter);
    // Grayscale antialiasing keeps text colours clean on every background;
    // Japanese and Latin text of the grids needs no shaping.
    f.setStyleStrategy(QFont::StyleStrategy(QFont::PreferNoShaping | QFont::NoSubpixelAntialias));
    cached = f;
  }
  return *cached;
}

namespace {
// The top of the em box of a CJK face lies 0.88 em above the baseline.
int EmAscent(int pixels) { return static_cast<int>(std::lround(pixels * 0.88)); }
}  // namespace

CellCanvas::CellCanvas(QPainter& painter, const QRect& cell, int gridLineWidth)
    : L(cell.left()),
      T(cell.top()),
      R(cell.left() + cell.width()),
      B(cell.top() + cell.height()),
      w(gridLineWidth),
      x0(L + gridLineWidth + 1),
      y0(T + gridLineWidth + 1),
      p_(painter) {
  SetFont(painter.font());
}

void CellCanvas::SetFont(const QFont& font) {
  if (font.isCopyOf(font_)) return;
  font_ = font;
  pixels_ = font.pixelSize() > 0 ? font.pixelSize() : QFontMetrics(font).height();
  ascent_ = EmAscent(pixels_);
  p_.setFont(font_);
}

void CellCanvas::SetBold(bool bold) {
  if (font_.bold() != bold) SetFont(PixelFont(pixels_, bold));
}

void CellCanvas::Fill(Rgb colour) { p_.fillRect(rect(), ToQColor(colour)); }

void CellCanvas::Rectangle(int left, int top, int right, int bottom, Rgb fill, Rgb outline) {
  if (right <= left || bottom <= top) return;
  p_.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(outline));
  if (right - left > 2 && bottom - top > 2)
    p_.fillRect(QRect(left + 1, top + 1, right - left - 2, bottom - top - 2), ToQColor(fill));
}

void CellCanvas::Line(int x1, int y1, int x2, int y2, Rgb colour) {
  // As a canvas' MoveTo/LineTo: the end point is not drawn.
  if (y1 == y2) {
    if (x1 == x2) return;
    int from = x2 > x1 ? x1 : x2 + 1;
    int to = x2 > x1 ? x2 - 1 : x1;
    p_.fillRect(QRect(from, y1, to - from + 1, 1), ToQColor(colour));
  } else if (x1 == x2) {
    int from = y2 > y1 ? y1 : y2 + 1;
    int to = y2 > y1 ? y2 - 1 : y1;
    p_.fillRect(QRect(x1, from, 1, to - from + 1), ToQColor(colour));
  } else {
    p_.setPen(ToQColor(colour));
    p_.drawLine(x1, y1, x2, y2);
  }
}

int CellCanvas::Text(int x, int y, std::string_view sjis) {
  if (IsBlank(sjis)) return pixels_;  // nothing to see
  return TextQ(x, y, QString::fromUtf8(SjisToUtf8(sjis)));
}

int CellCanvas::TextQ(int x, int y, const QString& text) {
  if (!text.isEmpty()) {
    p_.setPen(ToQColor(colour_));
    p_.drawText(QPoint(x, y + ascent_), text);
  }
  return pixels_;
}

int CellCanvas::TextWidth(std::string_view sjis) const {
  return QFontMetrics(font_).horizontalAdvance(QString::fromUtf8(SjisToUtf8(sjis)));
}

void PaintFrameCell(CellCanvas& c, int frame, std::string_view text, QPoint at, const QFont& font) {
  if (auto colour = FrameColour(frame)) c.Fill(*colour);
  c.SetFont(font);
  c.SetColour(FrameTextColour(frame));
  c.Text(at.x(), at.y(), text);
}

void PaintHorseNumberCell(CellCanvas& c, std::string_view text, QPoint at, const QFont& font) {
  c.Fill(kInfoBackground);
  c.SetFont(font);
  c.SetColour(kBlack);
  c.Text(at.x(), at.y(), text);
}

void PaintPlacingBackground(CellCanvas& c, int position) { c.Fill(FinishBackground(position)); }

}  // namespace furlong
