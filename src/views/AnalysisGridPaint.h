#pragma once
// Cell painting shared by the two grids whose texts the race analysis writes
// (the verification grid and the prediction grid): the header row on the
// button face with its text centred, runner cells filled with their
// background and the text in black at the top of the cell, left-aligned in
// the horse-name column and centred elsewhere.
#include <QString>
#include <optional>
#include <vector>

#include "analysis/Colour.h"

class QPainter;
class QRect;
class QFont;

namespace furlong {

class PaintedGrid;

// The grid font of both grids: 13 pixels, bold.
QFont AnalysisGridFont();

// Columns, row height (header included), no fixed columns, one fixed row.
void SetUpAnalysisGrid(PaintedGrid& grid, const std::vector<int>& widths, int rowHeight);

// Paints one cell. `fill` empty keeps the colour the grid painted (the
// selection or white).
void PaintAnalysisGridCell(QPainter& painter, const QRect& rect, bool header, const QString& text,
                           std::optional<Rgb> fill, bool leftAligned);

}  // namespace furlong
