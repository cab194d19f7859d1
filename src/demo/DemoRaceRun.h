#pragma once
// Running a race of the demo meetings or of the season's weekends: the
// draw, the riders and the weigh-in, the runners' chances, the betting, the
// finishing order, the positions at the corners, and each runner's time,
// last three furlongs and prize.
#include "demo/DemoWorld.h"

namespace furlong::demo {

// What a race may have out of the ordinary.
enum class Happening { None, DeadHeatFirst, DeadHeatThird, Scratched, PulledUp };

// Runs a race whose runs name their horses and nothing more yet. A race not
// yet run gets its draw, riders, weights and the forecaster's chances only.
void RunRace(World& w, Race& r, Happening happening);

}  // namespace furlong::demo
