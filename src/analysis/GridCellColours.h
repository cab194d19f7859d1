#pragma once
// Background colours of the runner rows of the verification grid and the
// prediction grid. They follow from the cell texts the analysis writes: the
// frame colour from the frame number, the horse name's colour from the
// finishing position, a fixed colour per column otherwise.
#include <optional>
#include <string_view>

#include "analysis/Colour.h"
#include "analysis/RaceAnalysisResult.h"

namespace furlong {

// The frame colour of a frame number 1-8 (1 white, 2 gray, 3 red, 4 blue,
// 5 yellow, 6 lime, 7 orange, 8 fuchsia); none for any other number.
std::optional<Rgb> FrameColour(int frame);

// The horse-name background by the finishing position: 1 pink, 2 light
// green, 3 light yellow, anything else white.
Rgb FinishBackground(int finish);

// A cell text read as an integer; 0 when it is not one.
int CellInteger(std::string_view text);

// Background of a runner-row cell; none where the grid keeps its own colour
// (a frame cell whose text is not a frame number 1-8).
std::optional<Rgb> VerificationCellBackground(const VerificationRow& row, int column);
std::optional<Rgb> PredictionCellBackground(const PredictionRow& row, int column);

}  // namespace furlong
