#pragma once
// The demo's riders: which jockeys ride at which racecourse of a race
// weekend, and the weight a runner carries with its rider.
#include <string>
#include <vector>

#include "demo/DemoWorld.h"

namespace furlong::demo {

// Which riders a racecourse of a race weekend gets: 0 for the first of the
// month's racecourses (Tokyo in November), 1 for the second (Kyoto), 2 for
// the third and any other.
int RiderPoolIndex(const std::string& course, int date);

// Jockeys riding at one of the racecourses of a weekend: the first takes
// nineteen Miho riders, the second nineteen Ritto riders, the third the rest.
std::vector<int> JockeyPool(const NameBook& names, const std::string& course, int date);

// The weight a horse carries in a race under a jockey, in tenths of a
// kilogram: by age, sex and the race's weight rule, less an apprentice's
// allowance in the races that give one.
int WeightCarried(World& world, const Race& r, const Horse& h, int jockey);

}  // namespace furlong::demo
