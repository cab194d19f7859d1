#pragma once
// How fast the demo's races are run: the winner's time from the distance,
// the class, the going and the racecourse; the last three furlongs; the
// margins between finishers; the leader's furlong splits; and where runners
// lie at the corners. The random figures are drawn from the world's Rng.
#include <vector>

#include "demo/DemoWorld.h"

namespace furlong::demo {

// The winner's time in tenths of a second.
int WinnerTime(Rng& rng, const Race& r);

// The race's own last three furlongs (the last furlong for a jump race, as
// the data service records it), in tenths.
int RaceLastThree(Rng& rng, const Race& r);

// Tenths between successive finishers, accumulated: gaps[p - 1] is how far
// the horse finishing p-th was behind the winner.
std::vector<int> Gaps(Rng& rng, int n, bool jump);

// Furlong splits of the leader: the early part, then the last three furlongs.
std::vector<int> Laps(Rng& rng, const Race& r);

// Position of a runner at one corner, between where it raced early and
// where it finished; `t` is how far through the race the corner lies.
int CornerPosition(Rng& rng, double early, double finish, double t, int n);

// How far through the race each corner lies (first to fourth).
double CornerTime(const TrackDef& t, int corner);

// Where each running style (Horse::style) races early, as a share of the field.
inline constexpr double kStyleEarly[4] = {0.03, 0.22, 0.55, 0.85};

// A runner's own last three furlongs (last furlong over jumps): the race's,
// plus what it lost to the winner (`gap`), less how far it was behind at the
// fourth corner; kept within what horses actually run.
int RunnerLastThree(const Race& r, int gap, int behindAtFourth);

}  // namespace furlong::demo
