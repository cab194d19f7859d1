#pragma once
// The predicted running-order diagram (予想展開図): for each corner, where
// the runners are expected to be, from their last run's development values.
#include <array>

#include "analysis/RaceAnalysisResult.h"
#include "analysis/RanksAndMarks.h"

namespace furlong {

// The picture position of a development value v at a corner whose largest
// value is m, for runner slot r of n: x = trunc(380 / m * v),
// y = trunc(155 / n * r), each product taken to 15 significant digits before
// truncating so that the largest value lands at exactly 380.
int DiagramX(double m, double v);
int DiagramY(int n, int r);

// Corners 1-4: every runner 0 .. n-1 whose development value of its last run
// at that corner is greater than 0, in runner order.
void DrawRunningOrderDiagram(const RaceRunners& runners, int n, std::array<DiagramCorner, 4>& corners);

}  // namespace furlong
