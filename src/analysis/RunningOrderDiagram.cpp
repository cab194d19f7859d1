#include "analysis/RunningOrderDiagram.h"

#include <cmath>

#include "store/TextFormat.h"

namespace furlong {

namespace {

// trunc of a non-negative product, taken to 15 significant digits first. Only
// a value just below a whole number can change, so the costly rounding is
// done for those alone.
int TruncPosition(double q) {
  if (!std::isfinite(q)) return 0;
  if (std::ceil(q) - q < 1e-6) q = To15Digits(q);
  return static_cast<int>(std::trunc(q));
}

}  // namespace

int DiagramX(double m, double v) { return TruncPosition(380.0 / m * v); }

int DiagramY(int n, int r) { return TruncPosition(155.0 / n * r); }

void DrawRunningOrderDiagram(const RaceRunners& runners, int n, std::array<DiagramCorner, 4>& corners) {
  if (n > kRunnerSlots) n = kRunnerSlots;
  for (int j = 0; j < 4; ++j) {
    DiagramCorner& c = corners[j];
    c.count = 0;
    double m = 0;
    for (int r = 0; r < n; ++r) {
      const double v = runners[r].PastDevelopment[0][j];
      if (v > 0 && v > m) m = v;
    }
    for (int r = 0; r < n; ++r) {
      const double v = runners[r].PastDevelopment[0][j];
      if (!(v > 0)) continue;
      c.numbers[c.count++] = DiagramNumber{r + 1, DiagramX(m, v), DiagramY(n, r)};
    }
  }
}

}  // namespace furlong
