// The demo's riders: see DemoRiders.h.
#include "demo/DemoRiders.h"

#include <algorithm>
#include <cmath>

namespace furlong::demo {

int RiderPoolIndex(const std::string& course, int date) {
  const std::vector<std::string> active = ActiveCourses(date);
  for (std::size_t i = 0; i < active.size() && i < 2; ++i)
    if (active[i] == course) return static_cast<int>(i);
  return 2;
}

std::vector<int> JockeyPool(const NameBook& names, const std::string& course, int date) {
  std::vector<int> east, west, pool;
  const auto& js = names.jockeys;
  for (int i = 0; i < kRegularJockeys; ++i) (js[static_cast<std::size_t>(i)].east ? east : west).push_back(i);
  auto take = [&](const std::vector<int>& from, std::size_t a, std::size_t b) {
    for (std::size_t i = a; i < b && i < from.size(); ++i) pool.push_back(from[i]);
  };
  const int index = RiderPoolIndex(course, date);
  if (index == 0) {
    take(east, 0, 19);
    pool.push_back(kRegularJockeys);
  } else if (index == 1) {
    take(west, 0, 19);
    pool.push_back(kRegularJockeys + 1);
  } else {
    take(east, 19, east.size());
    take(west, 19, west.size());
  }
  return pool;
}

int WeightCarried(World& world, const Race& r, const Horse& h, int jockey) {
  const int age = YearOf(r.date) - h.birthYear, month = MonthOf(r.date);
  const bool filly = h.sex == 2;
  int w;
  if (!IsJraCourse(r.course)) {
    w = filly ? 540 : 560;
  } else if (r.track.surface == Surface::Jump) {
    w = filly ? 580 : 600;
  } else {
    switch (r.raceType) {
      case 11: w = filly ? 550 : 560; break;
      case 12: w = filly ? 550 : 570; break;
      case 14: w = filly ? 560 : 580; break;
      default: w = (age == 3 ? (month <= 8 ? 560 : 570) : 580) - (filly ? 20 : 0); break;
    }
    if (r.weightRule == '2') w += 10 * static_cast<int>(world.rng.Weighted({45, 35, 17, 3}));
    if (r.weightRule == '1')
      w = 530 + static_cast<int>(std::lround(std::clamp(1.0 - h.quality + world.rng.Normal(0, 0.1), 0.0, 1.0) * 10)) * 5;
    const Jockey& j = world.names.jockeys[static_cast<std::size_t>(jockey)];
    if (!r.named && r.grade == ' ' && j.apprentice > 0) w -= 10 * j.apprentice;
  }
  return w;
}

}  // namespace furlong::demo
